#include "ui/qt/exception_box.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>

#include "tests/ui/qt/modal.h"
#include "tests/ui/qt/test_text.h"
#include "ui/qt/application_title.h"

namespace {

TEST(ExceptionBox, AppendsAFullStopAfterCharactersThatSortAfterIt) {
    const struct {
        QString message;
        QString shown;
    } cases[] = {
        {u"Failed to set data for 'From'"_s, u"Failed to set data for 'From'"_s},
        {u"Программа уже запущена"_s, u"Программа уже запущена."_s},
        {u"Done."_s, u"Done."_s},
        {u"What?"_s, u"What?."_s},  // '?' sorts after '.'
        {u"Stop!"_s, u"Stop!"_s},   // '!' sorts before '.'
        {u"(x)"_s, u"(x)"_s},
        {u"a-"_s, u"a-"_s},
        {u"a/"_s, u"a/."_s},
        {u""_s, u""_s},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ExceptionBoxText(c.message), c.shown);
    }
}

TEST(ExceptionBox, ShowsAnErrorBoxUnderTheApplicationTitle) {
    const QString title = ApplicationTitle();
    SetApplicationTitle(u"Пребразователь обновлений в DBase"_s);
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenModal<QMessageBox>([&](QMessageBox& box) {
        text = box.text();
        caption = box.windowTitle();
        icon = box.icon();
        box.accept();
    });
    ShowExceptionBox(nullptr, u"cannot write the store"_s);
    SetApplicationTitle(title);
    EXPECT_EQ(text, u"cannot write the store."_s);
    EXPECT_EQ(caption, u"Пребразователь обновлений в DBase"_s);
    EXPECT_EQ(icon, QMessageBox::Critical);
}

}  // namespace
