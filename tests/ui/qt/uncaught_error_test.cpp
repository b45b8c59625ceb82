#include "ui/qt/uncaught_error.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/ui/qt/test_text.h"
#include "ui/qt/application_title.h"

namespace {

// Without a screen the box is only written to standard error.
TEST(UncaughtError, HandlerExceptionsEndInTheStandardExceptionBox) {
    const QString title = ApplicationTitle();
    SetApplicationTitle(u"Заголовок"_s);
    testing::internal::CaptureStderr();
    EXPECT_NO_THROW(RunHandler([] { throw std::runtime_error("Нет файла"); }));
    EXPECT_NO_THROW(RunHandler([] { throw 42; }));
    bool ran = false;
    RunHandler([&] { ran = true; });
    const std::string written = testing::internal::GetCapturedStderr();
    SetApplicationTitle(title);
    EXPECT_EQ(written, "Заголовок: Нет файла.\nЗаголовок: \n");
    EXPECT_TRUE(ran);
}

}  // namespace
