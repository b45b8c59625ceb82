#include "ui/error_box.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <stdexcept>

#include "qt_printers.h"

namespace {

TEST(WithFullStop, AppendedAfterACharacterAboveTheFullStop) {
    const struct {
        const char16_t* message;
        const char16_t* shown;
    } cases[] = {
        {u"Программа уже запущена", u"Программа уже запущена."},
        {u"code 100", u"code 100."},
        {u"path /", u"path /."},  // '/' comes right after '.'
        {u"Готово.", u"Готово."},
        {u"Ошибка!", u"Ошибка!"},
        {u"(see above)", u"(see above)"},
        {u"Failed to set data for 'x'", u"Failed to set data for 'x'"},
        {u"a-", u"a-"},  // '-' comes right before '.'
        {u"", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithFullStop(QString::fromUtf16(c.message)), QString::fromUtf16(c.shown));
    }
}

TEST(DefaultTitle, FileNameUpToItsFirstDotWithTheRestOfTheLettersInLowerCase) {
    const struct {
        const char16_t* file;
        const char16_t* title;
    } cases[] = {
        {u"kvadrel", u"kvadrel"},      {u"KVADREL.EXE", u"Kvadrel"}, {u"Kvadrel.exe", u"Kvadrel"},
        {u"ДЕЛЬТА.v2.exe", u"Дельта"}, {u"delta-2.0", u"delta-2"},   {u".hidden", u""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DefaultTitle(QString::fromUtf16(c.file)), QString::fromUtf16(c.title));
    }
}

// Without a screen the boxes are only written to standard error.
class ExceptionBoxTest : public ::testing::Test {
  protected:
    ExceptionBoxTest() : title_(QGuiApplication::applicationDisplayName()) {
        QGuiApplication::setApplicationDisplayName(QStringLiteral("Заголовок"));
    }
    ~ExceptionBoxTest() override { QGuiApplication::setApplicationDisplayName(title_); }

    const QString title_;
};

TEST_F(ExceptionBoxTest, ShowsTheMessageUnderTheCurrentTitle) {
    testing::internal::CaptureStderr();
    ShowExceptionBox(QStringLiteral("Нет файла"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Заголовок: Нет файла.\n");
}

TEST_F(ExceptionBoxTest, HandlerExceptionsEndInTheBox) {
    testing::internal::CaptureStderr();
    EXPECT_NO_THROW(RunHandler([] { throw std::runtime_error("Сбой записи"); }));
    EXPECT_NO_THROW(RunHandler([] { throw 42; }));
    bool ran = false;
    RunHandler([&] { ran = true; });
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Заголовок: Сбой записи.\nЗаголовок: \n");
    EXPECT_TRUE(ran);
}

}  // namespace
