// The descrambling of the Moscow-region format. A line is handled in blocks
// of eight bytes; a block yields its bytes at the odd positions, then those at
// the even positions. The first character of a block is its byte less Shift;
// each of the seven others is its byte less the line key and the constant of
// its output position. Every subtraction wraps around modulo 256.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform/store/ini_file.h"

struct TMoscowConstants {
    uint8_t Shift = 0x0F;
    std::array<uint8_t, 7> Positions = {0x02, 0x07, 0x04, 0x0B, 0x01, 0x09, 0x06};  // outputs 2..8
    int KeyDivisor = 5;
    int KeyOffset = 4;
    int KeyBound = 3;

    // The key of a line: its first byte as a signed number, modulo the
    // divisor (the remainder takes the byte's sign), plus the offset, plus
    // the offset once more when below the bound.
    int LineKey(char first) const;

    // The defaults, with what section "Moscow" of the code-value file sets
    // (Shift, Positions "a;b;c;d;e;f;g", KeyDivisor, KeyOffset, KeyBound; each
    // optional, decimal or hex with 0x). A value that is not a usable number is
    // ignored with a line in `ignored` ("[Moscow] Key=value is not ..."); the
    // others still apply.
    static TMoscowConstants Load(const std::filesystem::path& iniFile,
                                 std::vector<std::string>& ignored);
    // The same from the text of a code-value file.
    static TMoscowConstants Load(const platform::IniText& ini, std::vector<std::string>& ignored);
};

// Missing positions of a last short block, and bytes of value 0, count as 127.
constexpr char kMoscowFiller = 127;
constexpr size_t kMoscowBlock = 8;

// Unscrambles the lines of a file as they were read (DOS-866 bytes). For each
// line key it keeps one table per output position that maps a byte as read
// to its character, the DOS-to-Windows conversion and the 127 rule built in:
// a block costs eight look-ups. The tables of a key are made when a line of
// that key first comes.
class TMoscowUnscrambler {
  public:
    using TLineTables = std::array<std::array<char, 256>, kMoscowBlock>;

    explicit TMoscowUnscrambler(const TMoscowConstants& constants);

    // The tables for a line whose first byte as read is `first`.
    const TLineTables& ForLine(char first);

    // Unscrambles one block of eight bytes as read in place.
    static void Unscramble(const TLineTables& tables, char* block) {
        std::array<char, kMoscowBlock> bytes;
        std::copy_n(block, kMoscowBlock, bytes.begin());
        for (size_t i = 0; i < kMoscowBlock; ++i) {
            block[i] = tables[i][uint8_t(bytes[kSource[i]])];
        }
    }

  private:
    // Output i of a block takes its byte kSource[i]: the odd positions, then the even.
    static constexpr std::array<size_t, kMoscowBlock> kSource = {0, 2, 4, 6, 1, 3, 5, 7};

    TLineTables MakeTables(int key) const;

    TMoscowConstants constants_;
    std::string dosToWin_;  // every byte value converted, indexed by the byte
    std::map<int, TLineTables> byKey_;
    std::array<const TLineTables*, 256> byFirst_{};  // by the first byte as read
};
