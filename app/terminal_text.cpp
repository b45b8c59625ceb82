#include "app/terminal_text.h"

#include <cstdarg>
#include <cstdio>
#include <stdexcept>

#include "platform/system/console.h"

namespace {

void AppendEscaped(std::string& out, unsigned char byte) {
    char escaped[5];
    std::snprintf(escaped, sizeof escaped, "\\x%02x", byte);
    out += escaped;
}

}  // namespace

std::string TerminalSafe(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (size_t i = 0; i < utf8.size(); ++i) {
        const auto byte = static_cast<unsigned char>(utf8[i]);
        // U+0080..U+009F are two bytes in UTF-8: C2 followed by 80..9F.
        const bool c1 = byte == 0xC2 && i + 1 < utf8.size() &&
                        (static_cast<unsigned char>(utf8[i + 1]) & 0xE0) == 0x80;
        if (byte < 0x20 || byte == 0x7F) {
            AppendEscaped(out, byte);
        } else if (c1) {
            AppendEscaped(out, byte);
            AppendEscaped(out, static_cast<unsigned char>(utf8[++i]));
        } else {
            out += char(byte);
        }
    }
    return out;
}

void ConsolePrint(std::FILE* stream, std::string_view utf8) {
    std::fputs(platform::ConsoleText(utf8).c_str(), stream);
}

void ConsolePrintf(std::FILE* stream, const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length < 0) {
        va_end(again);
        throw std::runtime_error(std::string("cannot format \"") + format + "\"");
    }
    std::string text(size_t(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, again);
    va_end(again);
    text.pop_back();
    ConsolePrint(stream, text);
}
