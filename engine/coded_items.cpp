#include "engine/coded_items.h"

#include <cstring>

TCodedItems::Code TCodedItems::MakeCode(int32_t number) {
    char padded[16];
    char plain[16];
    std::snprintf(padded, sizeof padded, "%02d", number);
    std::snprintf(plain, sizeof plain, "%d", number);
    return {number, padded, plain};
}

TCodedItems::TCodedItems() {
    firstPadded_.fill(kNone);
    firstPlain_.fill(kNone);
}

void TCodedItems::Parse(std::string_view line) {
    for (const int32_t number : touched_) {
        firstPadded_[number] = kNone;
        firstPlain_[number] = kNone;
    }
    touched_.clear();
    items_.clear();
    const char* const end = line.data() + line.size();
    const char* slash = static_cast<const char*>(std::memchr(line.data(), '/', line.size()));
    while (slash != nullptr) {
        const char* text = slash + 1;
        const char* cursor = text;
        while (cursor != end && *cursor != '=' && *cursor != '/') {
            ++cursor;
        }
        if (cursor == end) {
            break;
        }
        if (*cursor == '/') {
            slash = cursor;  // a "/" without "=" before the next "/": no tag here
            continue;
        }
        const char* value = cursor + 1;
        const char* next = static_cast<const char*>(std::memchr(value, '/', size_t(end - value)));
        const char* valueEnd = next != nullptr ? next : end;
        const auto index = uint32_t(items_.size());
        const std::string_view tag(text, size_t(cursor - text));
        items_.push_back({tag, std::string_view(value, size_t(valueEnd - value))});
        Index(tag, index);
        slash = next;
    }
}

// Notes the item under the number its tag text writes, in the forms it has.
void TCodedItems::Index(std::string_view tag, uint32_t index) {
    if (tag.empty() || tag.size() > 3) {
        return;  // numbers of four digits and more are looked up by text
    }
    int32_t number = 0;
    for (const char c : tag) {
        if (c < '0' || c > '9') {
            return;
        }
        number = number * 10 + (c - '0');
    }
    const bool plain = tag.size() == 1 || tag[0] != '0';
    const bool padded = number < 10 ? (tag.size() == 2 && tag[0] == '0') : plain;
    bool noted = false;
    if (padded && firstPadded_[number] == kNone) {
        firstPadded_[number] = index;
        noted = true;
    }
    if (plain && firstPlain_[number] == kNone) {
        firstPlain_[number] = index;
        noted = true;
    }
    if (noted) {
        touched_.push_back(number);
    }
}

uint32_t TCodedItems::Find(std::string_view text) const {
    for (uint32_t i = 0; i < items_.size(); ++i) {
        if (items_[i].Text == text) {
            return i;
        }
    }
    return kNone;
}

std::string_view TCodedItems::Value(const Code& code) const {
    const bool indexed = code.Number >= 0 && code.Number < kIndexed;
    const uint32_t plain = indexed ? firstPlain_[code.Number] : Find(code.Plain);
    const uint32_t padded = indexed ? firstPadded_[code.Number] : Find(code.Padded);
    const uint32_t item = plain != kNone ? plain : padded;
    return item != kNone ? items_[item].Value : std::string_view();
}
