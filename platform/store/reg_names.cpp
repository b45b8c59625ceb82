#include "platform/store/reg_names.h"

namespace platform {
namespace {

bool IsHighSurrogate(char16_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

// In the ranges where upper and lower case alternate, the upper case letter of
// a pair is the one at an even (upperEven) or odd offset.
bool IsLowerOfPair(char16_t unit, bool upperEven) {
    return (unit % 2 == 0) != upperEven;
}

}  // namespace

char16_t RegistryUpperCase(char16_t unit) {
    if ((unit >= u'a' && unit <= u'z') || (unit >= 0x00E0 && unit <= 0x00FE && unit != 0x00F7) ||
        (unit >= 0x0430 && unit <= 0x044F)) {  // а..я
        return char16_t(unit - 0x20);
    }
    if (unit == 0x00FF) {  // ÿ
        return 0x0178;
    }
    if (unit >= 0x0450 && unit <= 0x045F) {  // ѐ..џ, ё among them
        return char16_t(unit - 0x50);
    }
    if (unit == 0x04CF) {  // ӏ
        return 0x04C0;
    }
    struct PairRange {
        char16_t first, last;
        bool upperEven;
    };
    static constexpr PairRange kPairs[] = {
        {0x0100, 0x012F, true}, {0x0132, 0x0137, true},  {0x0139, 0x0148, false},
        {0x014A, 0x0177, true}, {0x0179, 0x017E, false}, {0x0460, 0x0481, true},
        {0x048A, 0x04BF, true}, {0x04C1, 0x04CE, false}, {0x04D0, 0x052F, true},
    };
    for (const auto& range : kPairs) {
        if (unit >= range.first && unit <= range.last) {
            return IsLowerOfPair(unit, range.upperEven) ? char16_t(unit - 1) : unit;
        }
    }
    return unit;
}

std::u16string RegistryNameKey(std::u16string_view name) {
    std::u16string key(name);
    for (auto& unit : key) {
        unit = RegistryUpperCase(unit);
    }
    return key;
}

bool FitsOnOneLine(std::u16string_view text) {
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        if (unit == 0 || unit == u'\n' || unit == u'\r' || IsLowSurrogate(unit)) {
            return false;
        }
        if (IsHighSurrogate(unit)) {
            if (i + 1 == text.size() || !IsLowSurrogate(text[i + 1])) {
                return false;
            }
            ++i;
        }
    }
    return true;
}

std::optional<std::vector<std::u16string>> SplitKeyPath(std::u16string_view path) {
    if (path.starts_with(u'\\')) {
        path.remove_prefix(1);
    }
    std::vector<std::u16string> names;
    if (path.empty()) {
        return names;
    }
    for (;;) {
        const size_t end = path.find(u'\\');
        const auto name = path.substr(0, end);
        if (name.empty() || name.size() > kMaxKeyNameLength || !FitsOnOneLine(name)) {
            return std::nullopt;
        }
        names.emplace_back(name);
        if (names.size() > kMaxKeyDepth) {
            return std::nullopt;
        }
        if (end == std::u16string_view::npos) {
            return names;
        }
        path.remove_prefix(end + 1);
    }
}

bool IsValidValueName(std::u16string_view name) {
    return name.size() <= kMaxValueNameLength && FitsOnOneLine(name);
}

}  // namespace platform
