#include "platform/wildcard_mask.h"

#include "platform/codepage.h"

namespace platform {
namespace {

bool SameLetter(char a, char b) {
    return UpperCase1251(a) == UpperCase1251(b);
}

// Plain '*' and '?' matching; on a mismatch after a '*' the star takes one
// more character and the match resumes from there.
bool MatchesWildcards(std::string_view name, std::string_view mask) {
    constexpr size_t kNoStar = std::string_view::npos;
    size_t n = 0;
    size_t m = 0;
    size_t afterStar = kNoStar;
    size_t starTakenUpTo = 0;
    while (n < name.size()) {
        if (m < mask.size() && mask[m] == '*') {
            afterStar = ++m;
            starTakenUpTo = n;
        } else if (m < mask.size() && (mask[m] == '?' || SameLetter(mask[m], name[n]))) {
            ++m;
            ++n;
        } else if (afterStar != kNoStar) {
            m = afterStar;
            n = ++starTakenUpTo;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == '*') {
        ++m;
    }
    return m == mask.size();
}

}  // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
    if (mask.ends_with(".*") && MatchesWildcards(name, mask.substr(0, mask.size() - 2))) {
        return true;
    }
    if (mask.ends_with('.')) {
        return name.find('.') == std::string_view::npos &&
               MatchesWildcards(name, mask.substr(0, mask.size() - 1));
    }
    return !mask.empty() && MatchesWildcards(name, mask);
}

}  // namespace platform
