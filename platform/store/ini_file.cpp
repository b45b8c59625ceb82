#include "platform/store/ini_file.h"

#include <algorithm>
#include <memory>

#include "platform/text/codepage.h"
#include "platform/text/text_lines.h"

namespace platform {
namespace {

std::u16string DecodeUtf16Le(std::string_view bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i) {
        const auto low = static_cast<unsigned char>(bytes[2 * i]);
        const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = char16_t(low | (high << 8));
    }
    return text;
}

std::u16string DecodeText(std::string_view bytes) {
    constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (bytes.starts_with(kUtf16LeBom)) {
        return DecodeUtf16Le(bytes.substr(kUtf16LeBom.size()));
    }
    if (bytes.starts_with(kUtf8Bom)) {
        return Utf8ToUtf16(bytes.substr(kUtf8Bom.size()));
    }
    // Text that is valid UTF-8 survives the round trip unchanged; any invalid
    // sequence would come back as U+FFFD and differ.
    std::u16string text = Utf8ToUtf16(bytes);
    return Utf16ToUtf8(text) == bytes ? text : Cp1251ToUtf16(bytes);
}

std::u16string_view TrimBlanks(std::u16string_view text) {
    const auto first = text.find_first_not_of(u" \t");
    if (first == std::u16string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(u" \t") - first + 1);
}

std::u16string_view Unquote(std::u16string_view value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Section and key names compare by the one case rule of the system, that of
// Windows-1251: a character outside that code page compares as it is.
bool IniNamesEqual(std::u16string_view a, std::u16string_view b) {
    const auto upper = [](char16_t c) {
        const AnsiString narrow = Utf16ToCp1251(std::u16string_view(&c, 1));
        if (narrow[0] == '?' && c != u'?') {
            return c;
        }
        return Cp1251ToUtf16(std::string(1, UpperCase1251(narrow[0])))[0];
    };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&upper](char16_t x, char16_t y) { return upper(x) == upper(y); });
}

// The look-up in decoded text.
std::u16string FindValue(std::u16string_view text, std::u16string_view section,
                         std::u16string_view key, std::u16string_view defaultValue) {
    bool inSection = false;
    for (size_t pos = 0; pos < text.size();) {
        const std::u16string_view line = TrimBlanks(NextLine(text, pos));
        if (line.empty() || line.front() == u';') {
            continue;
        }
        if (line.front() == u'[') {
            const std::u16string_view name =
                line.substr(1, line.find(u']') - 1);  // no ']': to the end
            inSection = IniNamesEqual(TrimBlanks(name), section);
            continue;
        }
        const size_t equals = line.find(u'=');
        if (inSection && equals != std::u16string_view::npos &&
            IniNamesEqual(TrimBlanks(line.substr(0, equals)), key)) {
            return std::u16string(
                Unquote(TrimBlanks(line.substr(equals + 1))).substr(0, kIniValueLimit));
        }
    }
    return std::u16string(defaultValue);
}

}  // namespace

IniText::IniText(std::string_view bytes)
    : IniText([text = std::make_shared<const std::u16string>(DecodeText(bytes))](
                  std::u16string_view section, std::u16string_view key,
                  std::u16string_view defaultValue) {
          return FindValue(*text, section, key, defaultValue);
      }) {}

std::u16string IniText::ReadString(std::u16string_view section, std::u16string_view key,
                                   std::u16string_view defaultValue) const {
    return lookup_(section, key, defaultValue);
}

}  // namespace platform
