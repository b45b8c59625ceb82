#include "ui/qt/toolkit_russian.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTimer>
#include <memory>

#include "tests/ui/qt/test_text.h"
#include "tests/ui/qt/user_input.h"
#include "ui/qt/field_editor.h"

namespace {

// The texts of the menu that opens on the widget when the operator clicks it
// with the right button; the menu is closed again.
QStringList ContextMenuTexts(QWidget* widget) {
    auto texts = std::make_shared<QStringList>();
    QTimer::singleShot(0, [texts] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr) {
            ADD_FAILURE() << "no context menu opened";
            return;
        }
        for (const QAction* action : menu->actions()) {
            if (!action->isSeparator()) {
                *texts << action->text();
            }
        }
        menu->close();
    });
    // Through the window, as the window system delivers the click.
    QTest::mouseClick(widget->window()->windowHandle(), Qt::RightButton, {},
                      widget->mapTo(widget->window(), widget->rect().center()));
    return *texts;
}

// The menus of an edit box and of a spin edit, whose own entries step the
// value.
TEST(ToolkitRussian, ContextMenusOfEditBoxesAreInRussian) {
    TDF field("NOMER", 10, 1, 1);
    TfmField editor(field);
    ASSERT_TRUE(ShowActive(editor));
    const QRegularExpression latin(u"[A-Za-z]"_s);
    const QRegularExpression cyrillic(u"[А-Яа-яЁё]"_s);
    for (QWidget* edit :
         {static_cast<QWidget*>(editor.edName), static_cast<QWidget*>(editor.seSize)}) {
        QTest::mouseClick(edit, Qt::LeftButton);
        const QStringList texts = ContextMenuTexts(edit);
        EXPECT_GE(texts.size(), 6) << edit->objectName().toStdString();
        QStringList words;
        for (const QString& text : texts) {
            // Without the shortcut and the mnemonic's mark.
            words << text.section(u'\t', 0, 0).remove(u'&');
            EXPECT_FALSE(words.back().contains(latin)) << words.back().toStdString();
            EXPECT_TRUE(words.back().contains(cyrillic)) << words.back().toStdString();
        }
        EXPECT_TRUE(words.contains(u"Вставить"_s)) << words.join(u'|').toStdString();
    }
}

}  // namespace
