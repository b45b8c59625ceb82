#include "engine/formats/moscow_scramble.h"

#include <charconv>
#include <numeric>
#include <optional>
#include <string>
#include <vector>

#include "engine/formats/strfunc.h"
#include "platform/store/ini_file.h"
#include "platform/text/codepage.h"

namespace {

// A decimal or 0x-hex number, or nothing when the text is not one.
std::optional<long> ParseNumber(std::string_view text) {
    std::string_view digits = Trim(text);
    int base = 10;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) {
        digits.remove_prefix(2);
        base = 16;
        if (digits[0] == '-') {
            return std::nullopt;  // a sign belongs before the prefix, where it is not taken
        }
    }
    long number = 0;
    const char* const end = digits.data() + digits.size();
    const auto [stop, error] = std::from_chars(digits.data(), end, number, base);
    if (error != std::errc() || stop != end) {
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

std::string Ignored(const char* key, std::string_view value) {
    return std::string("[Moscow] ") + key + "=" + platform::Cp1251ToUtf8(value) +
           " is not a usable number; ignored";
}

}  // namespace

int TMoscowConstants::LineKey(char first) const {
    int key = int(static_cast<signed char>(first)) % KeyDivisor + KeyOffset;
    if (key < KeyBound) {
        key += KeyOffset;
    }
    return key;
}

TMoscowConstants TMoscowConstants::Load(const std::filesystem::path& iniFile,
                                        std::vector<std::string>& ignored) {
    return Load(platform::IniText::Read(iniFile), ignored);
}

TMoscowConstants TMoscowConstants::Load(const platform::IniText& ini,
                                        std::vector<std::string>& ignored) {
    TMoscowConstants constants;
    const auto read = [&](const char16_t* key) {
        return platform::Utf16ToCp1251(ini.ReadString(u"Moscow", key, u""));
    };
    const auto apply = [&](const char* key, const char16_t* wideKey, auto parse, auto set) {
        const AnsiString value = read(wideKey);
        if (value.empty()) {
            return;
        }
        if (const auto number = parse(value)) {
            set(*number);
        } else {
            ignored.push_back(Ignored(key, value));
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

TMoscowUnscrambler::TMoscowUnscrambler(const TMoscowConstants& constants) : constants_(constants) {
    dosToWin_.resize(256);
    std::iota(dosToWin_.begin(), dosToWin_.end(), '\0');
    DosToWin(dosToWin_);
}

const TMoscowUnscrambler::TLineTables& TMoscowUnscrambler::ForLine(char first) {
    const TLineTables*& tables = byFirst_[uint8_t(first)];
    if (tables == nullptr) {
        // The key comes from the first byte after conversion, before the 127 rule.
        const int key = constants_.LineKey(dosToWin_[uint8_t(first)]);
        auto found = byKey_.find(key);
        if (found == byKey_.end()) {
            found = byKey_.emplace(key, MakeTables(key)).first;
        }
        tables = &found->second;
    }
    return *tables;
}

TMoscowUnscrambler::TLineTables TMoscowUnscrambler::MakeTables(int key) const {
    TLineTables tables;
    for (size_t byte = 0; byte < 256; ++byte) {
        const char converted = dosToWin_[byte] == '\0' ? kMoscowFiller : dosToWin_[byte];
        // The first character is its byte less Shift; the others are their
        // byte less the key and the constant of their output position.
        tables[0][byte] = char(uint8_t(converted) - constants_.Shift);
        for (size_t i = 1; i < kMoscowBlock; ++i) {
            tables[i][byte] = char(uint8_t(converted) - uint8_t(key + constants_.Positions[i - 1]));
        }
    }
    return tables;
}
