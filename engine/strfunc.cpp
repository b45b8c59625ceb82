#include "engine/strfunc.h"

#include <algorithm>
#include <array>
#include <cstdarg>
#include <cstdint>
#include <cstdio>
#include <stdexcept>

#include "platform/text_lines.h"

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

std::ptrdiff_t Pos(std::string_view pattern, std::string_view text) {
    if (pattern.empty()) {
        return 0;
    }
    const size_t found = text.find(pattern);
    return found == std::string_view::npos ? 0 : std::ptrdiff_t(found) + 1;
}

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

AnsiString Format(const char* format, ...) {
    // Most results (the item tags) fit the stack buffer: one pass, no extra allocation.
    std::array<char, 64> buffer;
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    if (length < 0) {
        va_end(again);
        throw std::runtime_error(std::string("cannot format \"") + format + "\"");
    }
    if (size_t(length) < buffer.size()) {
        va_end(again);
        return AnsiString(buffer.data(), size_t(length));
    }
    AnsiString text(size_t(length), '\0');
    std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
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
