#include "platform/text/line_list.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/files/text_file.h"
#include "tests/line_lists.h"

namespace platform {
namespace {

TEST(LineList, RewriteKeepsShortensAndDropsLinesWhereTheyAre) {
    LineList lines = ToLineList({"  a  ", "drop", "bcd", "e"});
    {
        LineList::Rewrite rewrite(lines);
        ASSERT_TRUE(rewrite.Next());
        EXPECT_EQ(std::string(rewrite.Line().begin(), rewrite.Line().end()), "  a  ");
        rewrite.Keep("a");  // held elsewhere
        ASSERT_TRUE(rewrite.Next());
        ASSERT_TRUE(rewrite.Next());
        rewrite.Line()[0] = 'B';
        rewrite.Keep({rewrite.Line().data(), 2});
        ASSERT_TRUE(rewrite.Next());
        rewrite.Keep({rewrite.Line().data(), rewrite.Line().size()});
        EXPECT_FALSE(rewrite.Next());
    }
    EXPECT_EQ(ToLines(lines), (Lines{"a", "Bc", "e"}));
}

TEST(LineList, RewriteThatLengthensLinesMovesTheRestAndLosesNothing) {
    // Some lines dropped, some kept where they are, the others longer than they were.
    const auto rewritten = [](int i, const std::string& line) {
        return i % 7 == 0 ? line : std::to_string(i) + ":" + line + std::string(i % 11, 'y');
    };
    Lines before;
    Lines after;
    for (int i = 0; i < 3000; ++i) {
        before.push_back(std::string(i % 3, 'x'));
        if (i % 5 != 0) {
            after.push_back(rewritten(i, before.back()));
        }
    }
    LineList lines = ToLineList(before);
    LineList::Rewrite rewrite(lines);
    for (int i = 0; rewrite.Next(); ++i) {
        const std::string line(rewrite.Line().begin(), rewrite.Line().end());
        ASSERT_EQ(line, before[size_t(i)]);
        if (i % 5 == 0) {
            continue;
        }
        if (i % 7 == 0) {
            rewrite.Keep({rewrite.Line().data(), rewrite.Line().size()});
        } else {
            rewrite.Keep(rewritten(i, line));
        }
    }
    rewrite.Finish();
    EXPECT_EQ(ToLines(lines), after);
}

TEST(LineList, LinesNotReachedWhenTheRewriteFinishesAreDropped) {
    LineList lines = ToLineList({"a", "b", "c"});
    LineList::Rewrite rewrite(lines);
    ASSERT_TRUE(rewrite.Next());
    rewrite.Keep("A");
    ASSERT_TRUE(rewrite.Next());
    rewrite.Finish();
    EXPECT_EQ(ToLines(lines), Lines{"A"});
    lines.Add("d");
    EXPECT_EQ(ToLines(lines), (Lines{"A", "d"}));
}

// Lines cut from a text keep their breaks in the buffer; no view of a line
// shows them.
TEST(LineList, BreaksOfLinesCutFromTextAreNoPartOfThem) {
    LineList lines = SplitTextLines("ab\r\n\r\ncd\r\ne\rf\n\ng");
    EXPECT_EQ(ToLines(lines), (Lines{"ab", "", "cd", "e", "f", "", "g"}));
    LineList::Rewrite rewrite(lines);
    Lines seen;
    while (rewrite.Next()) {
        seen.emplace_back(rewrite.Line().begin(), rewrite.Line().end());
        rewrite.Keep({rewrite.Line().data(), rewrite.Line().size()});
    }
    rewrite.Finish();
    EXPECT_EQ(seen, (Lines{"ab", "", "cd", "e", "f", "", "g"}));
    EXPECT_EQ(ToLines(lines), seen);
}

}  // namespace
}  // namespace platform
