// Intrusive owning lists: the links live in the items, so an item belongs to
// at most one list. Items keep the order in which they were appended.
#pragma once

#include <cstdint>

#include "config/critical_section.h"

namespace Orv::Module {

// List node.
template <class T, class K = int>
class TItem {
  public:
    T* Prev = nullptr;
    T* Next = nullptr;
    // Carries no configuration and is never stored. The type editor writes the
    // transport format chosen, perhaps not yet saved, into a field's Key just
    // before it opens the field editor, which captions the code by it: the only
    // way the one dialog tells the other.
    int32_t Key = 0;

    TItem() = default;
    TItem(const TItem&) = delete;
    TItem& operator=(const TItem&) = delete;
    virtual ~TItem() = default;

    // Part of every list node as the system's lists have it; nothing calls
    // them, since the two editors write and read Key itself.
    virtual bool HasKey(int32_t key) const { return Key == key; }
    virtual void SetKey(int32_t key) { Key = key; }
};

template <class T>
class TItemList {
  public:
    bool Owns = true;
    int32_t Count = 0;
    T* First = nullptr;
    T* Last = nullptr;

    TItemList() = default;
    TItemList(const TItemList&) = delete;
    TItemList& operator=(const TItemList&) = delete;
    virtual ~TItemList() {
        if (Owns) {
            Clear(true);
        }
    }

    // Appends an item and takes it over; a null item is returned unchanged.
    T* Add(T* item) {
        if (item == nullptr) {
            return nullptr;
        }
        item->Prev = Last;
        item->Next = nullptr;
        if (Last != nullptr) {
            Last->Next = item;
        }
        if (First == nullptr) {
            First = item;
        }
        Last = item;
        ++Count;
        return item;
    }

    // Unlinks an item of this list and hands it back to the caller. The item
    // keeps its old links; nobody follows them after the removal.
    T* Remove(T* item) {
        if (item == First) {
            First = item->Next;
        }
        if (item == Last) {
            Last = item->Prev;
        }
        if (item->Prev != nullptr) {
            item->Prev->Next = item->Next;
        }
        if (item->Next != nullptr) {
            item->Next->Prev = item->Prev;
        }
        --Count;
        return item;
    }

    // Destroys every item, from the last one when fromLast is set.
    void Clear(bool fromLast) {
        while (T* item = fromLast ? Last : First) {
            delete Remove(item);
        }
    }
};

// A list with a critical section of its own (never entered: no list is shared
// between threads).
template <class T>
class TItemListCs : public TItemList<T>, public Orv::TCriticalSection {};

}  // namespace Orv::Module
