#include "engine/formats/strfunc.h"

#include <algorithm>
#include <cstdint>

#include "platform/text/text_lines.h"

namespace {

// р..я (0xE0..0xEF) gain 0x10, then А..Я and а..п (0x80..0xAF) gain 0x40: no
// byte is shifted twice.
char DosToWin(char byte) {
    auto c = static_cast<uint8_t>(byte);
    c = uint8_t(c + (c >= 0xE0 && c <= 0xEF ? 0x10 : 0));
    c = uint8_t(c + (c >= 0x80 && c <= 0xAF ? 0x40 : 0));
    return char(c);
}

}  // namespace

bool StartsWith(std::string_view text, std::string_view pattern) {
    return !pattern.empty() && text.starts_with(pattern);
}

std::string_view Copy(std::string_view text, std::ptrdiff_t start, std::ptrdiff_t count) {
    const std::ptrdiff_t size = std::ptrdiff_t(text.size());
    start = std::max<std::ptrdiff_t>(start, 1);
    if (start > size || count < 1) {
        return {};
    }
    return text.substr(size_t(start - 1), size_t(std::min(count, size - start + 1)));
}

bool SameText(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return platform::UpperCase1251(x) == platform::UpperCase1251(y);
    });
}

AnsiString SplitText(std::string_view text, std::vector<AnsiString>& list, char delimiter) {
    if (text.empty()) {
        return {};
    }
    AnsiString lines(text);
    std::replace(lines.begin(), lines.end(), delimiter, '\n');

    const std::string_view content(lines.data(), std::min(lines.find('\0'), lines.size()));
    list.clear();
    for (size_t pos = 0; pos < content.size();) {
        list.emplace_back(Trim(platform::NextLine(content, pos)));
    }
    return lines;
}

void DosToWin(std::span<char> line) {
    // In blocks of a fixed length, which the compiler turns into vector
    // instructions; then the rest.
    constexpr size_t kBlock = 16;
    size_t i = 0;
    for (; i + kBlock <= line.size(); i += kBlock) {
        for (size_t j = i; j < i + kBlock; ++j) {
            line[j] = DosToWin(line[j]);
        }
    }
    for (; i < line.size(); ++i) {
        line[i] = DosToWin(line[i]);
    }
}
