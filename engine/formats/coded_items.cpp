#include "engine/formats/coded_items.h"

#include <cstring>

TCodedItems::Code TCodedItems::MakeCode(int32_t number) {
    char padded[16];
    char plain[16];
    std::snprintf(padded, sizeof padded, "%02d", number);
    std::snprintf(plain, sizeof plain, "%d", number);
    return {number, padded, plain, TextKey(padded), TextKey(plain)};
}

inline int32_t TCodedItems::TextKey(std::string_view text) {
    if (text.empty() || text.size() > 3) {
        return -1;
    }
    int32_t number = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return -1;
        }
        number = number * 10 + (c - '0');
    }
    constexpr int32_t kFirstOfLength[] = {0, 0, 10, 110};
    return kFirstOfLength[text.size()] + number;
}

void TCodedItems::Parse(std::string_view line) {
    items_.clear();
    if (++line_ == 0) {  // the count went round: no note may look current
        first_.fill({});
        line_ = 1;
    }
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
        const std::string_view tag(text, size_t(cursor - text));
        if (const int32_t key = TextKey(tag); key >= 0 && first_[size_t(key)].Line != line_) {
            first_[size_t(key)] = {line_, uint32_t(items_.size())};
        }
        items_.push_back({tag, std::string_view(value, size_t(valueEnd - value))});
        slash = next;
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

inline uint32_t TCodedItems::FirstItem(int32_t key, std::string_view text) const {
    if (key < 0) {
        return Find(text);
    }
    const auto& first = first_[size_t(key)];
    return first.Line == line_ ? first.Item : kNone;
}

std::string_view TCodedItems::Value(const Code& code) const {
    const uint32_t plain = FirstItem(code.PlainKey, code.Plain);
    const uint32_t item = plain != kNone ? plain : FirstItem(code.PaddedKey, code.Padded);
    return item != kNone ? items_[item].Value : std::string_view();
}
