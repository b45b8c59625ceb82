#include "engine/formats/moscow_scramble.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "tests/temp_directory.h"

namespace {

TEST(MoscowLineKey, SignedRemainderPlusOffsetAndOnceMoreBelowTheBound) {
    struct Case {
        uint8_t first;
        int key;
    };
    // Defaults: remainder by 5 with the byte's sign, plus 4, plus 4 more below 3.
    const std::vector<Case> defaults = {
        {0x61, 6},             // 97 % 5 = 2
        {0x00, 4},             // 0: 4 is not below 3
        {0x04, 8}, {0xFF, 3},  // -1 % 5 = -1: 3 is not below 3
        {0xFE, 6},             // -2 -> 2, below 3 -> 6
        {0xFC, 4},             // -4 -> 0 -> 4
        {0x80, 5},             // -128 % 5 = -3 -> 1 -> 5 (as unsigned, 128 would give 7)
        {0xCF, 4},             // -49 % 5 = -4 -> 0 -> 4 (as unsigned, 207 would give 6)
    };
    const TMoscowConstants constants;
    for (const Case& c : defaults) {
        EXPECT_EQ(constants.LineKey(char(c.first)), c.key) << "byte " << int(c.first);
    }

    TMoscowConstants other;
    other.KeyDivisor = 3;
    other.KeyOffset = 10;
    other.KeyBound = 12;
    EXPECT_EQ(other.LineKey(5), 12);           // 2 + 10 is not below 12
    EXPECT_EQ(other.LineKey(4), 21);           // 1 + 10 is, so 10 more
    EXPECT_EQ(other.LineKey(char(0xFB)), 18);  // -5 % 3 = -2 -> 8, below 12 -> 18
}

// The constants as one comparable value.
using ConstantValues = std::tuple<int, std::vector<int>, int, int, int>;

ConstantValues Values(const TMoscowConstants& constants) {
    return {constants.Shift,
            std::vector<int>(constants.Positions.begin(), constants.Positions.end()),
            constants.KeyDivisor, constants.KeyOffset, constants.KeyBound};
}

// The defaults with `change` made to them.
ConstantValues Changed(const std::function<void(TMoscowConstants&)>& change) {
    TMoscowConstants constants;
    change(constants);
    return Values(constants);
}

struct Loaded {
    ConstantValues values;
    std::vector<std::string> ignored;  // the lines the load gave of values ignored
    std::string stderrText;            // what it wrote to standard error: nothing
};

// Loads the constants from a code-value file holding `ini`.
Loaded Load(const std::string& ini) {
    const TempDirectory folder;
    const std::filesystem::path file = folder.Write("kvadrel.INI", ini);
    std::vector<std::string> ignored;
    testing::internal::CaptureStderr();
    const TMoscowConstants loaded = TMoscowConstants::Load(file, ignored);
    return {Values(loaded), std::move(ignored), testing::internal::GetCapturedStderr()};
}

TEST(MoscowConstantsLoad, EveryKeyIsOptionalDecimalOrHex) {
    struct Case {
        const char* what;
        std::string ini;
        std::function<void(TMoscowConstants&)> expect;  // changes to the defaults
    };
    const std::vector<Case> cases = {
        {"no section", "[CodeValue]\nKodObj=01\n", [](TMoscowConstants&) {}},
        {"an empty value counts as none", "[Moscow]\nShift=\nPositions=\n",
         [](TMoscowConstants&) {}},
        {"one key alone", "[Moscow]\nKeyBound=1\n", [](TMoscowConstants& c) { c.KeyBound = 1; }},
        {"every key, decimal and hex in either case",
         "[Moscow]\nShift=0x10\nPositions=1;0x2;3; 4 ;5;0XfF;0\nKeyDivisor=7\n"
         "KeyOffset=-2\nkeybound=0X0a\n",
         [](TMoscowConstants& c) {
             c.Shift = 0x10;
             c.Positions = {1, 2, 3, 4, 5, 255, 0};
             c.KeyDivisor = 7;
             c.KeyOffset = -2;
             c.KeyBound = 10;
         }},
    };
    for (const Case& c : cases) {
        const Loaded loaded = Load(c.ini);
        EXPECT_TRUE(loaded.ignored.empty()) << c.what;
        EXPECT_EQ(loaded.stderrText, "") << c.what;
        EXPECT_EQ(loaded.values, Changed(c.expect)) << c.what;
    }

    const TempDirectory folder;
    std::vector<std::string> ignored;
    EXPECT_EQ(Values(TMoscowConstants::Load(folder.path() / "kvadrel.INI", ignored)),
              Values(TMoscowConstants()));
    EXPECT_TRUE(ignored.empty());
}

TEST(MoscowConstantsLoad, UnusableValuesAreIgnoredWithALineEachWhileTheOthersApply) {
    struct Case {
        std::string what;
        std::string ini;
        std::function<void(TMoscowConstants&)> expect;  // what still applies
        std::vector<std::string> ignored;               // "Key=value" of each line given
    };
    std::vector<Case> cases = {
        {"not numbers",
         "[Moscow]\nShift=abc\nKeyDivisor=1.5\nKeyOffset=12abc\nKeyBound=0x\n"
         "Positions=1;2;3;4;5;6;7\n",
         [](TMoscowConstants& c) { c.Positions = {1, 2, 3, 4, 5, 6, 7}; },
         {"Shift=abc", "KeyDivisor=1.5", "KeyOffset=12abc", "KeyBound=0x"}},
        {"out of range",
         "[Moscow]\nShift=256\nKeyOffset=99999999999999999999\nKeyBound=2\n",
         [](TMoscowConstants& c) { c.KeyBound = 2; },
         {"Shift=256", "KeyOffset=99999999999999999999"}},
        {"a negative byte and a sign inside the hex",
         "[Moscow]\nShift=-1\nKeyOffset=0x-5\n",
         [](TMoscowConstants&) {},
         {"Shift=-1", "KeyOffset=0x-5"}},
        {"a divisor of 0 leaves no remainder",
         "[Moscow]\nKeyDivisor=0\nShift=0x0e\n",
         [](TMoscowConstants& c) { c.Shift = 0x0E; },
         {"KeyDivisor=0"}},
        {"text in Windows-1251 is reported in UTF-8",
         "[Moscow]\nShift=\xEF\xFF\xF2\n",
         [](TMoscowConstants&) {},
         {"Shift=пят"}},
    };
    // A position list that is not seven bytes is ignored whole.
    const std::pair<const char*, std::string> positionLists[] = {
        {"six positions", "1;2;3;4;5;6"},
        {"eight positions", "1;2;3;4;5;6;7;8"},
        {"a position beyond a byte", "1;2;3;4;5;6;256"},
        {"an empty position", "1;2;;4;5;6;7"},
    };
    for (const auto& [what, positions] : positionLists) {
        cases.push_back({what,
                         "[Moscow]\nPositions=" + positions + "\n",
                         [](TMoscowConstants&) {},
                         {"Positions=" + positions}});
    }
    for (const Case& c : cases) {
        const Loaded loaded = Load(c.ini);
        const std::vector<std::string>& lines = loaded.ignored;
        std::string errors;  // the lines, for the messages
        for (const std::string& line : lines) {
            errors += line + "\n";
        }
        EXPECT_EQ(loaded.values, Changed(c.expect)) << c.what;
        EXPECT_EQ(loaded.stderrText, "") << c.what;  // the caller tells whom it likes
        EXPECT_EQ(lines.size(), c.ignored.size()) << c.what << ":\n" << errors;
        for (const std::string& line : lines) {
            EXPECT_EQ(line.rfind("[Moscow] ", 0), 0u) << line;
            EXPECT_TRUE(line.ends_with(" is not a usable number; ignored")) << line;
        }
        for (const std::string& value : c.ignored) {
            EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                                    [&](const std::string& line) {
                                        return line.find("] " + value + " ") != std::string::npos;
                                    }),
                      1)
                << c.what << ": " << value << " in\n"
                << errors;
        }
    }
}

}  // namespace
