// The descrambling of the Moscow-region format. A line is handled in blocks
// of eight bytes; a block yields its bytes at the odd positions, then those at
// the even positions. The first character of a block is its byte less Shift;
// each of the seven others is its byte less the line key and the constant of
// its output position. Every subtraction wraps around modulo 256.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

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
    // ignored with a line on standard error; the others still apply.
    static TMoscowConstants Load(const std::filesystem::path& iniFile);
};

// Missing positions of a last short block, and bytes of value 0, count as 127.
constexpr char kMoscowFiller = 127;
constexpr size_t kMoscowBlock = 8;

// Unscrambles one block of eight bytes into out[0..7].
void UnscrambleBlock(const char* block, int key, const TMoscowConstants& constants, char* out);
