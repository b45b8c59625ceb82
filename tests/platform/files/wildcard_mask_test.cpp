#include "platform/files/internal/wildcard_mask.h"

#include <gtest/gtest.h>

#include <ostream>

#include "tests/platform/printable.h"

namespace platform {
namespace {

struct MaskCase {
    const char* name;
    const char* mask;
    bool matches;
};

void PrintTo(const MaskCase& c, std::ostream* out) {
    *out << Printable(c.name) << (c.matches ? " matches " : " does not match ")
         << Printable(c.mask);
}

class MatchesMaskTest : public testing::TestWithParam<MaskCase> {};

TEST_P(MatchesMaskTest, FollowsWindowsWildcardRules) {
    const MaskCase& c = GetParam();
    EXPECT_EQ(MatchesMask(c.name, c.mask), c.matches);
}

// Cyrillic names below are Windows-1251 bytes: "\xEC\xEE\xF1\xEA\xE2\xE0" is
// "москва", "\xCC\xCE\xD1\xCA\xC2\xC0" "МОСКВА", "\xB8" "ё", "\xA8" "Ё".
INSTANTIATE_TEST_SUITE_P(
    Cases, MatchesMaskTest,
    testing::Values(
        MaskCase{"a.txt", "*.txt", true}, MaskCase{"A.TXT", "*.txt", true},
        MaskCase{"a.txt", "*.TXT", true}, MaskCase{"a.txt2", "*.txt", false},
        MaskCase{"atxt", "*.txt", false}, MaskCase{"a.b.txt", "*.txt", true},
        MaskCase{"abc", "*.*", true}, MaskCase{"a.b.c", "*.*", true}, MaskCase{"abc", "*", true},
        MaskCase{"abc", "abc.*", true}, MaskCase{"ABC.d", "abc.*", true},
        MaskCase{"abcd", "abc.*", false}, MaskCase{"a.txt", "?.txt", true},
        MaskCase{"ab.txt", "?.txt", false}, MaskCase{".txt", "?.txt", true},
        MaskCase{"abXbc", "a*bc", true}, MaskCase{"abab", "a*b", true},
        MaskCase{"abac", "a*b", false}, MaskCase{"upd123.dat", "upd???.dat", true},
        MaskCase{"upd12.dat", "upd???.dat", true}, MaskCase{"upd1.dat", "upd???.dat", true},
        MaskCase{"upd.dat", "upd???.dat", true}, MaskCase{"upd1234.dat", "upd???.dat", false},
        MaskCase{"upd12", "upd???", true}, MaskCase{"a.c", "a?c", false},
        MaskCase{"ab", "a?b", false}, MaskCase{"abc", "abc.???", true},
        MaskCase{"abc.d", "abc.???", true}, MaskCase{"abc.defg", "abc.???", false},
        MaskCase{"abc", "*.", true}, MaskCase{"a.b", "*.", false}, MaskCase{"abc", "abc.", true},
        MaskCase{"abc", "", false},
        MaskCase{"\xEC\xEE\xF1\xEA\xE2\xE0.txt", "\xCC\xCE\xD1\xCA\xC2\xC0.TXT", true},
        MaskCase{"\xEC\xEE\xF1\xEA\xE2\xE0.txt", "\xCC*.txt", true},
        MaskCase{"\xEC\xEE\xF1\xEA\xE2\xE0.txt", "\xCD*.txt", false},
        MaskCase{"\xB8\xE6.txt", "\xA8?.*", true}, MaskCase{"\xFF.txt", "?.txt", true}));

}  // namespace
}  // namespace platform
