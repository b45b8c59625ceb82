#include "ui/qt/default_title.h"

#include <gtest/gtest.h>

#include "tests/ui/qt/test_text.h"

namespace {

TEST(DefaultTitle, FileNameUpToItsFirstDotWithTheRestInLowerCase) {
    const struct {
        QString file;
        QString title;
    } cases[] = {
        {u"kvadrel"_s, u"kvadrel"_s},     {u"KVADREL.EXE"_s, u"Kvadrel"_s},
        {u"Kvadrel.exe"_s, u"Kvadrel"_s}, {u"ДЕЛЬТА.v2.exe"_s, u"Дельта"_s},
        {u"delta-2.0"_s, u"delta-2"_s},   {u".hidden"_s, u""_s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DefaultTitle(c.file), c.title);
    }
}

}  // namespace
