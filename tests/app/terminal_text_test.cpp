#include "app/terminal_text.h"

#include <gtest/gtest.h>

namespace {

TEST(TerminalSafe, EscapesControlCharactersAndKeepsTheRest) {
    struct Case {
        std::string text;
        std::string shown;
    };
    const Case cases[] = {
        {"plain/путь.txt", "plain/путь.txt"},
        {"a\x1b[2Jb", "a\\x1b[2Jb"},
        {std::string("n\0l", 3), "n\\x00l"},
        {"tab\there\r\n", "tab\\x09here\\x0d\\x0a"},
        {"del\x7f", "del\\x7f"},
        {"csi\xc2\x9b"
         "31m",
         "csi\\xc2\\x9b31m"},              // U+009B, the one-byte CSI
        {"\xc2\xa0nbsp", "\xc2\xa0nbsp"},  // U+00A0 is not a control
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TerminalSafe(c.text), c.shown);
    }
}

}  // namespace
