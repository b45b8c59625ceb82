#include "engine/moscow_scramble.h"

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <vector>

#include "engine/strfunc.h"
#include "platform/codepage.h"
#include "platform/ini_file.h"

namespace {

// A decimal or 0x-hex number, or nothing when the text is not one.
std::optional<long> ParseNumber(std::string_view text) {
    const std::string value(Trim(text));
    if (value.empty()) {
        return std::nullopt;
    }
    const bool hex = value.size() > 2 && value[0] == '0' && (value[1] == 'x' || value[1] == 'X');
    char* end = nullptr;
    const long number = std::strtol(value.c_str() + (hex ? 2 : 0), &end, hex ? 16 : 10);
    if (*end != '\0' || end == value.c_str() + (hex ? 2 : 0)) {
        return std::nullopt;
    }
    return number;
}

std::optional<uint8_t> ParseByte(std::string_view text) {
    const auto number = ParseNumber(text);
    if (!number || *number < 0 || *number > 255) {
        return std::nullopt;
    }
    return uint8_t(*number);
}

void Ignore(const std::filesystem::path& iniFile, const char* key, std::string_view value) {
    std::fprintf(stderr, "%s: [Moscow] %s=%.*s is not a usable number; ignored\n", iniFile.c_str(),
                 key, int(value.size()), value.data());
}

}  // namespace

int TMoscowConstants::LineKey(char first) const {
    int key = int(static_cast<signed char>(first)) % KeyDivisor + KeyOffset;
    if (key < KeyBound) {
        key += KeyOffset;
    }
    return key;
}

TMoscowConstants TMoscowConstants::Load(const std::filesystem::path& iniFile) {
    TMoscowConstants constants;
    const auto read = [&](const char16_t* key) {
        return platform::Utf16ToCp1251(platform::ReadIniString(iniFile, u"Moscow", key, u""));
    };
    const auto apply = [&](const char* key, const char16_t* wideKey, auto parse, auto set) {
        const AnsiString value = read(wideKey);
        if (value.empty()) {
            return;
        }
        if (const auto number = parse(value)) {
            set(*number);
        } else {
            Ignore(iniFile, key, value);
        }
    };
    const auto parseInt = [](std::string_view text) -> std::optional<int> {
        const auto number = ParseNumber(text);
        if (!number || *number < -255 || *number > 255) {
            return std::nullopt;
        }
        return int(*number);
    };
    apply("Shift", u"Shift", ParseByte, [&](uint8_t v) { constants.Shift = v; });
    apply(
        "KeyDivisor", u"KeyDivisor",
        [&](std::string_view text) -> std::optional<int> {
            const auto number = parseInt(text);
            return number && *number != 0 ? number : std::nullopt;  // a remainder needs one
        },
        [&](int v) { constants.KeyDivisor = v; });
    apply("KeyOffset", u"KeyOffset", parseInt, [&](int v) { constants.KeyOffset = v; });
    apply("KeyBound", u"KeyBound", parseInt, [&](int v) { constants.KeyBound = v; });
    apply(
        "Positions", u"Positions",
        [](std::string_view text) -> std::optional<std::array<uint8_t, 7>> {
            std::vector<AnsiString> items;
            SplitText(text, items, ';');
            std::array<uint8_t, 7> positions{};
            if (items.size() != positions.size()) {
                return std::nullopt;
            }
            for (size_t i = 0; i < items.size(); ++i) {
                const auto byte = ParseByte(items[i]);
                if (!byte) {
                    return std::nullopt;
                }
                positions[i] = *byte;
            }
            return positions;
        },
        [&](const std::array<uint8_t, 7>& v) { constants.Positions = v; });
    return constants;
}

void UnscrambleBlock(const char* block, int key, const TMoscowConstants& constants, char* out) {
    // Output i takes input byte kSource[i]: the odd positions, then the even.
    static constexpr std::array<int, kMoscowBlock> kSource = {0, 2, 4, 6, 1, 3, 5, 7};
    out[0] = char(uint8_t(block[0]) - constants.Shift);
    for (size_t i = 1; i < kMoscowBlock; ++i) {
        out[i] = char(uint8_t(block[kSource[i]]) - uint8_t(key + constants.Positions[i - 1]));
    }
}
