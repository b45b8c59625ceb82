#include "platform/files/internal/wildcard_mask.h"

#include <vector>

#include "platform/text/codepage.h"

namespace platform {
namespace {

// The mask as the listing reads it: '?' never takes a dot and may take
// nothing before a dot or the end; '*' before '.' stops short of the last
// dot; '.' before a wildcard or at the end may stand for the end.
enum class TokenKind { Letter, AnyRun, RunBeforeDot, OneOrNone, DotOrEnd };

struct Token {
    TokenKind kind;
    char letter = 0;
};

std::vector<Token> Tokenize(std::string_view mask) {
    std::vector<Token> tokens;
    for (size_t i = 0; i < mask.size(); ++i) {
        const char next = i + 1 < mask.size() ? mask[i + 1] : '\0';
        switch (mask[i]) {
            case '*':
                tokens.push_back({next == '.' ? TokenKind::RunBeforeDot : TokenKind::AnyRun});
                break;
            case '?':
                tokens.push_back({TokenKind::OneOrNone});
                break;
            case '.':
                if (next == '\0' || next == '*' || next == '?') {
                    tokens.push_back({TokenKind::DotOrEnd});
                } else {
                    tokens.push_back({TokenKind::Letter, '.'});
                }
                break;
            default:
                tokens.push_back({TokenKind::Letter, mask[i]});
        }
    }
    return tokens;
}

bool SameLetter(char a, char b) {
    return UpperCase1251(a) == UpperCase1251(b);
}

}  // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
    if (mask.empty()) {
        return false;
    }
    const std::vector<Token> tokens = Tokenize(mask);
    const size_t lastDot = name.rfind('.');
    // reachable[j]: the tokens so far can match exactly the first j characters.
    std::vector<bool> reachable(name.size() + 1, false);
    reachable[0] = true;
    for (const Token& token : tokens) {
        std::vector<bool> next(name.size() + 1, false);
        for (size_t j = 0; j <= name.size(); ++j) {
            if (!reachable[j]) {
                continue;
            }
            const bool atEnd = j == name.size();
            switch (token.kind) {
                case TokenKind::Letter:
                    if (!atEnd && SameLetter(token.letter, name[j])) {
                        next[j + 1] = true;
                    }
                    break;
                case TokenKind::AnyRun:
                    for (size_t k = j; k <= name.size(); ++k) {
                        next[k] = true;
                    }
                    break;
                case TokenKind::RunBeforeDot:
                    for (size_t k = j; k <= name.size() && (k == j || k - 1 != lastDot); ++k) {
                        next[k] = true;
                    }
                    break;
                case TokenKind::OneOrNone:
                    if (atEnd || name[j] == '.') {
                        next[j] = true;
                    } else {
                        next[j + 1] = true;
                    }
                    break;
                case TokenKind::DotOrEnd:
                    if (atEnd) {
                        next[j] = true;
                    } else if (name[j] == '.') {
                        next[j + 1] = true;
                    }
                    break;
            }
        }
        reachable = std::move(next);
    }
    return reachable[name.size()];
}

}  // namespace platform
