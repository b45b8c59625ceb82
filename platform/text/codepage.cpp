#include "platform/text/codepage.h"

#include <array>
#include <cstdint>

namespace platform {
namespace {

// Unicode of the Windows-1251 bytes 0x80..0xFF (0x98, unassigned, maps to
// U+0098 as the system conversion does).
constexpr std::array<char16_t, 128> kHighHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021,  // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F,  // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F,  // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7,  // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,  // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7,  // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457,  // B8
    0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,  // C0
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F,  // C8
    0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,  // D0
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,  // D8
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437,  // E0
    0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D, 0x043E, 0x043F,  // E8
    0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,  // F0
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,  // F8
};

char16_t ToUnicode(unsigned char byte) {
    return byte < 0x80 ? char16_t(byte) : kHighHalf[byte - 0x80];
}

char FromUnicode(char32_t code) {
    if (code < 0x80) {
        return char(code);
    }
    if (code >= 0x0410 && code <= 0x044F) {  // А..я, the common case
        return char(code - 0x0410 + 0xC0);
    }
    for (size_t i = 0; i < kHighHalf.size(); ++i) {
        if (kHighHalf[i] == code) {
            return char(0x80 + i);
        }
    }
    return '?';
}

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one code point of UTF-8 at text[pos], advancing pos.
char32_t NextUtf8(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) {
        return lead;
    }
    int length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 1, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 2, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 3, code = lead & 0x07, minimum = 0x10000;
    } else {
        return kReplacement;
    }
    for (int i = 0; i < length; ++i) {
        if (pos >= text.size() || (static_cast<unsigned char>(text[pos]) & 0xC0) != 0x80) {
            return kReplacement;
        }
        code = (code << 6) | (static_cast<unsigned char>(text[pos++]) & 0x3F);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return (code < minimum || code > 0x10FFFF || surrogate) ? kReplacement : code;
}

// Decodes one code point of UTF-16 at text[pos], advancing pos.
char32_t NextUtf16(std::u16string_view text, size_t& pos) {
    const char16_t unit = text[pos++];
    if (unit >= 0xD800 && unit <= 0xDBFF && pos < text.size() && text[pos] >= 0xDC00 &&
        text[pos] <= 0xDFFF) {
        return 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[pos++] - 0xDC00);
    }
    return (unit >= 0xD800 && unit <= 0xDFFF) ? kReplacement : unit;
}

void AppendUtf8(std::string& out, char32_t code) {
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

void AppendUtf16(std::u16string& out, char32_t code) {
    if (code < 0x10000) {
        out += char16_t(code);
    } else {
        code -= 0x10000;
        out += char16_t(0xD800 + (code >> 10));
        out += char16_t(0xDC00 + (code & 0x3FF));
    }
}

// Upper case of the Windows-1251 letters outside ASCII, by byte.
constexpr std::array<uint8_t, 128> MakeUpperHighHalf() {
    std::array<uint8_t, 128> table{};
    for (int i = 0; i < 128; ++i) {
        table[i] = uint8_t(0x80 + i);
    }
    for (int lower = 0xE0; lower <= 0xFF; ++lower) {  // а..я
        table[lower - 0x80] = uint8_t(lower - 0x20);
    }
    // Pairs lower -> upper outside the main alphabet.
    constexpr std::array<std::array<uint8_t, 2>, 15> pairs = {{
        {0x90, 0x80},
        {0x83, 0x81},
        {0x9A, 0x8A},
        {0x9C, 0x8C},
        {0x9D, 0x8D},
        {0x9E, 0x8E},
        {0x9F, 0x8F},
        {0xA2, 0xA1},
        {0xBC, 0xA3},
        {0xB4, 0xA5},
        {0xB8, 0xA8},
        {0xBA, 0xAA},
        {0xBF, 0xAF},
        {0xB3, 0xB2},
        {0xBE, 0xBD},
    }};
    for (const auto& [lower, upper] : pairs) {
        table[lower - 0x80] = upper;
    }
    return table;
}

constexpr auto kUpperHighHalf = MakeUpperHighHalf();

char32_t Next1251(std::string_view text, size_t& pos) {
    return ToUnicode(static_cast<unsigned char>(text[pos++]));
}

void Append1251(AnsiString& out, char32_t code) {
    out += FromUnicode(code);
}

// Decodes every code point of the text with `next` and encodes it with `append`.
template <class Out, class Text, class Next, class Append>
Out Transcode(Text text, Next next, Append append) {
    Out out;
    out.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        append(out, next(text, pos));
    }
    return out;
}

}  // namespace

std::u16string Cp1251ToUtf16(std::string_view text) {
    return Transcode<std::u16string>(text, Next1251, AppendUtf16);
}

AnsiString Utf16ToCp1251(std::u16string_view text) {
    return Transcode<AnsiString>(text, NextUtf16, Append1251);
}

std::string Cp1251ToUtf8(std::string_view text) {
    return Transcode<std::string>(text, Next1251, AppendUtf8);
}

AnsiString Utf8ToCp1251(std::string_view text) {
    return Transcode<AnsiString>(text, NextUtf8, Append1251);
}

std::u16string Utf8ToUtf16(std::string_view text) {
    return Transcode<std::u16string>(text, NextUtf8, AppendUtf16);
}

std::string Utf16ToUtf8(std::u16string_view text) {
    return Transcode<std::string>(text, NextUtf16, AppendUtf8);
}

char UpperCase1251(char c) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 'a' && byte <= 'z') {
        return char(byte - 32);
    }
    return byte < 0x80 ? c : char(kUpperHighHalf[byte - 0x80]);
}

AnsiString UpperCase1251(std::string_view text) {
    AnsiString upper(text);
    for (char& c : upper) {
        c = UpperCase1251(c);
    }
    return upper;
}

}  // namespace platform
