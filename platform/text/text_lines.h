// The line-break rule shared by every reader of text: a line ends at CR, LF or
// the pair CR LF.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform {

// The line of `text` that starts at `pos`, without its break; moves `pos` past
// the break. Reading while pos < text.size() gives no empty line for a break
// at the very end.
template <typename Char>
std::basic_string_view<Char> NextLine(std::basic_string_view<Char> text, std::size_t& pos) {
    constexpr Char kBreaks[] = {Char('\r'), Char('\n'), Char('\0')};
    std::size_t end = text.find_first_of(kBreaks, pos);
    if (end == std::basic_string_view<Char>::npos) {
        end = text.size();
    }
    const std::basic_string_view<Char> line = text.substr(pos, end - pos);
    pos = end;
    if (pos < text.size() && text[pos] == Char('\r')) {
        ++pos;
    }
    if (pos < text.size() && text[pos] == Char('\n')) {  // alone or after CR
        ++pos;
    }
    return line;
}

}  // namespace platform
