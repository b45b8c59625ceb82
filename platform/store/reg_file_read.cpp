// Reading the store file: ParseRegFile.
#include "platform/store/reg_file_format.h"

#include <algorithm>
#include <optional>

#include "platform/store/internal/reg_file_lines.h"
#include "platform/store/reg_names.h"
#include "platform/text/codepage.h"

namespace platform {
namespace {

bool IsBlank(char16_t unit) {
    return unit == u' ' || unit == u'\t';
}

std::u16string_view Trim(std::u16string_view text) {
    while (!text.empty() && IsBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

bool StartsWithNoCase(std::u16string_view text, std::u16string_view upperPrefix) {
    return text.size() >= upperPrefix.size() &&
           std::equal(
               upperPrefix.begin(), upperPrefix.end(), text.begin(),
               [](char16_t upper, char16_t unit) { return RegistryUpperCase(unit) == upper; });
}

std::optional<uint32_t> ParseHexNumber(std::u16string_view digits, size_t maxDigits) {
    if (digits.empty() || digits.size() > maxDigits) {
        return std::nullopt;
    }
    uint32_t number = 0;
    for (const char16_t unit : digits) {
        const char16_t upper = RegistryUpperCase(unit);
        uint32_t digit = 0;
        if (upper >= u'0' && upper <= u'9') {
            digit = upper - u'0';
        } else if (upper >= u'A' && upper <= u'F') {
            digit = upper - u'A' + 10;
        } else {
            return std::nullopt;
        }
        number = number << 4 | digit;
    }
    return number;
}

// A quoted string at text[pos] with \\ and \" escaped; pos ends after it.
std::optional<std::u16string> ParseQuoted(std::u16string_view text, size_t& pos) {
    if (pos >= text.size() || text[pos] != u'"') {
        return std::nullopt;
    }
    std::u16string result;
    for (++pos; pos < text.size(); ++pos) {
        char16_t unit = text[pos];
        if (unit == u'"') {
            ++pos;
            return result;
        }
        if (unit == u'\\') {
            if (++pos == text.size() || (text[pos] != u'\\' && text[pos] != u'"')) {
                return std::nullopt;
            }
            unit = text[pos];
        }
        result += unit;
    }
    return std::nullopt;
}

// "01,ab,ff" (empty for no bytes).
std::optional<std::vector<uint8_t>> ParseHexBytes(std::u16string_view list) {
    std::vector<uint8_t> bytes;
    list = Trim(list);
    while (!list.empty()) {
        const size_t comma = list.find(u',');
        const auto byte = ParseHexNumber(Trim(list.substr(0, comma)), 2);
        if (!byte) {
            return std::nullopt;
        }
        bytes.push_back(uint8_t(*byte));
        if (comma == std::u16string_view::npos) {
            break;
        }
        list.remove_prefix(comma + 1);
        if (Trim(list).empty()) {
            return std::nullopt;
        }
    }
    return bytes;
}

// Text stored as UTF-16LE bytes; the terminating NUL is dropped.
std::optional<std::u16string> TextFromBytes(const std::vector<uint8_t>& bytes) {
    if (bytes.size() % 2 != 0) {
        return std::nullopt;
    }
    std::u16string text;
    for (size_t i = 0; i < bytes.size(); i += 2) {
        text += char16_t(bytes[i] | bytes[i + 1] << 8);
    }
    if (text.ends_with(u'\0')) {
        text.pop_back();
    }
    return text;
}

std::optional<RegValue> ParseHexData(std::u16string_view data) {
    uint32_t type = uint32_t(RegType::Binary);
    if (data.starts_with(u'(')) {
        const size_t close = data.find(u')');
        if (close == std::u16string_view::npos) {
            return std::nullopt;
        }
        const auto number = ParseHexNumber(data.substr(1, close - 1), 8);
        if (!number) {
            return std::nullopt;
        }
        type = *number;
        data.remove_prefix(close + 1);
    }
    if (!data.starts_with(u':')) {
        return std::nullopt;
    }
    auto bytes = ParseHexBytes(data.substr(1));
    if (!bytes) {
        return std::nullopt;
    }
    RegValue value;
    value.type = type;
    if (type == uint32_t(RegType::String) || type == uint32_t(RegType::ExpandString)) {
        auto text = TextFromBytes(*bytes);
        if (!text) {
            return std::nullopt;
        }
        value.text = std::move(*text);
    } else if (type == uint32_t(RegType::DWord)) {
        if (bytes->size() != 4) {
            return std::nullopt;
        }
        value.dword =
            (*bytes)[0] | (*bytes)[1] << 8 | (*bytes)[2] << 16 | uint32_t((*bytes)[3]) << 24;
    } else {
        value.bytes = std::move(*bytes);
    }
    return value;
}

std::optional<RegValue> ParseData(std::u16string_view data) {
    RegValue value;
    if (data.starts_with(u'"')) {
        size_t pos = 0;
        auto text = ParseQuoted(data, pos);
        if (!text || pos != data.size()) {
            return std::nullopt;
        }
        value.type = uint32_t(RegType::String);
        value.text = std::move(*text);
        return value;
    }
    if (StartsWithNoCase(data, u"DWORD:")) {
        const auto number = ParseHexNumber(data.substr(6), 8);
        if (!number) {
            return std::nullopt;
        }
        value.type = uint32_t(RegType::DWord);
        value.dword = *number;
        return value;
    }
    if (StartsWithNoCase(data, u"HEX")) {
        return ParseHexData(data.substr(3));
    }
    return std::nullopt;  // also "-", which deletes a value on import
}

// "name"=data or @=data.
std::optional<RegFileValue> ParseValueLine(std::u16string_view line) {
    RegFileValue value;
    size_t pos = 0;
    if (line.starts_with(u'@')) {
        pos = 1;
    } else if (auto name = ParseQuoted(line, pos)) {
        value.name = std::move(*name);
    } else {
        return std::nullopt;
    }
    const auto rest = Trim(line.substr(pos));
    if (!rest.starts_with(u'=') || !IsValidValueName(value.name)) {
        return std::nullopt;
    }
    auto data = ParseData(Trim(rest.substr(1)));
    if (!data) {
        return std::nullopt;
    }
    value.value = std::move(*data);
    return value;
}

// [HKEY_CURRENT_USER\A\B]; null for another root, a key to delete ("[-...]")
// or a path that cannot name a key.
std::optional<std::vector<std::u16string>> ParseKeyLine(std::u16string_view line) {
    if (!line.ends_with(u']')) {
        return std::nullopt;
    }
    const auto inner = line.substr(1, line.size() - 2);
    const auto root = inner.substr(0, inner.find(u'\\'));
    if (RegistryNameKey(root) != kRegFileRoot) {
        return std::nullopt;
    }
    return SplitKeyPath(inner.substr(root.size()));
}

class Parser {
  public:
    explicit Parser(std::vector<RegFileLine> lines) : lines_(std::move(lines)) {}

    RegFileContents Run(bool strayByte) {
        bool headerSeen = false;
        while (next_ < lines_.size()) {
            const int number = int(next_) + 1;
            const auto line = NextLogicalLine();
            if (!line) {
                contents_.skippedLines.push_back({number, std::nullopt});
                continue;
            }
            const auto text = Trim(*line);
            if (text.empty() || text.starts_with(u';')) {
                continue;
            }
            if (!headerSeen && Utf16ToUtf8(text) == kRegFileHeader) {
                headerSeen = true;
                continue;
            }
            headerSeen = true;
            if (!Accept(text)) {
                contents_.skippedLines.push_back({number, std::u16string(text)});
            }
        }
        if (strayByte) {
            contents_.skippedLines.push_back({int(lines_.size()), std::nullopt});
        }
        return std::move(contents_);
    }

  private:
    // One line, joined with the lines that continue it: a value line ending
    // in "\" goes on in the next line unless that one starts a key.
    RegFileLine NextLogicalLine() {
        const RegFileLine& first = lines_[next_++];
        if (!first || !IsValueLine(Trim(*first))) {
            return first;
        }
        std::u16string line(Trim(*first));
        while (line.ends_with(u'\\') && next_ < lines_.size() &&
               !(lines_[next_] && Trim(*lines_[next_]).starts_with(u'['))) {
            const RegFileLine& continuation = lines_[next_++];
            if (!continuation) {
                return std::nullopt;
            }
            line.pop_back();
            line += Trim(*continuation);
        }
        return line;
    }

    static bool IsValueLine(std::u16string_view text) {
        return text.starts_with(u'"') || text.starts_with(u'@');
    }

    // Takes one trimmed line into the contents; false when it cannot.
    bool Accept(std::u16string_view text) {
        if (text.starts_with(u'[')) {
            auto path = ParseKeyLine(text);
            inStoreKey_ = path.has_value();
            if (path) {
                contents_.keys.push_back({std::move(*path), {}});
            }
            return inStoreKey_;
        }
        if (!inStoreKey_) {
            return false;
        }
        auto value = ParseValueLine(text);
        if (value) {
            contents_.keys.back().values.push_back(std::move(*value));
        }
        return value.has_value();
    }

    std::vector<RegFileLine> lines_;
    size_t next_ = 0;
    bool inStoreKey_ = false;
    RegFileContents contents_;
};

}  // namespace

RegFileContents ParseRegFile(std::string_view bytes) {
    auto split = SplitRegFileLines(bytes);
    return Parser(std::move(split.lines)).Run(split.strayByte);
}

}  // namespace platform
