// Bytes shown readably in test names and failure messages: ASCII as it is,
// everything else (Windows-1251 letters, control bytes) as \xNN.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

inline std::string Printable(std::string_view bytes) {
    std::string shown = "\"";
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '\\' && c != '"') {
            shown += c;
        } else {
            char escaped[5];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
            shown += escaped;
        }
    }
    return shown + "\"";
}
