// The converter's configuration: the list of update types (TDL) with the
// automatic-start flag, one update type (TDD) that is also the list of its
// output fields, and one output field (TDF).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "config/item_list.h"
#include "config/store_load.h"
#include "config/store_save.h"
#include "platform/text/codepage.h"

class TDF : public Orv::Module::TItem<TDF, int> {
  public:
    TDF(const AnsiString& name, int32_t size, int32_t code, int32_t acode);

    std::u16string Name;
    int32_t Size;
    int32_t Code;   // numbered-code format: the item code; Moscow format: the start column
    int32_t ACode;  // numbered-code format: the code tried when Code finds nothing
};

class TDD : public Orv::Module::TItem<TDD, int>, public Orv::Module::TItemListCs<TDF> {
  public:
    TDD(const AnsiString& name, int32_t codec, const AnsiString& ident);

    using Orv::Module::TItemListCs<TDF>::Add;
    // Creates a field and appends it to this type's field list.
    TDF* Add(const AnsiString& name, int32_t size, int32_t code, int32_t acode);

    AnsiString Name;
    int32_t Codec;  // the transport format (config/transport_format.h), -1 none
    AnsiString Ident;
    AnsiString From;
    AnsiString To;
    AnsiString Mask;
    bool SpecProd = false;
    AnsiString Beg;
    AnsiString End;
    AnsiString Ceria;
    AnsiString KodObj;
    AnsiString TipZnak;
};

class TDL : public Orv::Module::TItemList<TDD> {
  public:
    using Orv::Module::TItemList<TDD>::Add;
    // Creates an update type and appends it.
    TDD* Add(const AnsiString& name, int32_t codec, const AnsiString& ident);

    // Appends the stored configuration of the per-user store (or of the store
    // file given; an empty path is the per-user store) and says what it found
    // wrong with the file. A file that could not be read whole is left as it
    // is: only a save replaces it. A store without the configuration key (a
    // missing file included) gets it written; a failure of that is said too.
    TStoreLoad Load();
    TStoreLoad Load(const std::filesystem::path& storeFile);

    // Replaces the stored configuration by this list. Throws
    // std::runtime_error when a value or the store file cannot be written;
    // a store file then keeps the previous configuration (the Windows
    // registry keeps what was written up to the failure). A file replaced
    // while it had unreadable lines is kept as a copy, which the result names.
    TStoreSave Save() const;
    TStoreSave Save(const std::filesystem::path& storeFile) const;

    bool AutoRun = false;
};
