// The inverse of the Moscow-region unscrambling, for making test fixtures:
// turns a Windows-1251 record into the DOS-866 bytes of a scrambled line that
// the decoder turns back into the record.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

#include "engine/formats/moscow_scramble.h"

namespace moscow_scrambler {

// The DOS-866 byte that the DOS-to-Windows conversion turns into `win`.
// Windows 0x80..0xAF comes from no DOS byte; 0, CR and LF cannot stand in a
// line (0 reads as 127, CR and LF end the line): all of them throw.
inline char WinToDos(uint8_t win) {
    if (win == 0 || win == '\r' || win == '\n' || (win >= 0x80 && win <= 0xAF)) {
        throw std::invalid_argument("no DOS-866 byte of a line gives the scrambled byte " +
                                    std::to_string(win));
    }
    if (win >= 0xF0) {  // р..я
        return char(win - 0x10);
    }
    if (win >= 0xC0) {  // А..Я, а..п
        return char(win - 0x40);
    }
    return char(win);
}

// The scrambled line of `record`, padded with blanks to whole blocks of eight
// (the decoder trims them off again). Throws std::invalid_argument when a
// scrambled byte cannot be written (WinToDos); another record, or other
// constants, then have to be chosen.
inline std::string Scramble(std::string_view record, const TMoscowConstants& constants = {}) {
    // Output i of a block comes from its byte kSource[i]: the odd positions, then the even.
    static constexpr std::array<size_t, 8> kSource = {0, 2, 4, 6, 1, 3, 5, 7};
    std::string text(record);
    text.resize((text.size() + 7) / 8 * 8, ' ');
    if (text.empty()) {
        return text;
    }
    // The key comes from the first scrambled byte as the decoder sees it.
    const int key = constants.LineKey(char(uint8_t(text[0]) + constants.Shift));
    std::string line(text.size(), '\0');
    for (size_t block = 0; block < text.size(); block += 8) {
        for (size_t i = 0; i < 8; ++i) {
            const int added = i == 0 ? constants.Shift : key + constants.Positions[i - 1];
            line[block + kSource[i]] = WinToDos(uint8_t(uint8_t(text[block + i]) + added));
        }
    }
    return line;
}

}  // namespace moscow_scrambler
