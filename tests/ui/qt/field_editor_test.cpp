#include "ui/qt/field_editor.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <string>
#include <tuple>

#include "tests/ui/qt/captions_fit.h"
#include "tests/ui/qt/test_text.h"
#include "tests/ui/qt/user_input.h"

namespace {

// A field's name, size, code and alternative code, as the editor shows them
// and as the field holds them.
using Shown = std::tuple<QString, int, int, int>;
using Held = std::tuple<std::u16string, int32_t, int32_t, int32_t>;

Shown ShownIn(const TfmField& editor) {
    return {editor.edName->text(), editor.seSize->value(), editor.seCode->value(),
            editor.seACode->value()};
}

Held HeldIn(const TDF& field) {
    return {field.Name, field.Size, field.Code, field.ACode};
}

struct FieldEditorTest : ::testing::Test {
    TDF field{"", 0, 0, 0};  // a new field, as the type editor hands it over
};

TEST_F(FieldEditorTest, NewFieldOpensEmptyAtTheMinimaWithOkDisabled) {
    TfmField editor(field);
    EXPECT_EQ(editor.windowTitle(), u"Поле"_s);
    EXPECT_EQ(ShownIn(editor), (Shown{u""_s, 1, 1, 1}));
    EXPECT_FALSE(editor.btOk->isEnabled());
    EXPECT_TRUE(editor.lbNameHint->isHidden());
}

TEST_F(FieldEditorTest, ExistingFieldShowsItsStoredValues) {
    TDF stored("NOMER", 20, 5, 7);
    TfmField editor(stored);
    // The alternative code is not overwritten by the code.
    EXPECT_EQ(ShownIn(editor), (Shown{u"NOMER"_s, 20, 5, 7}));
    EXPECT_TRUE(editor.btOk->isEnabled());
}

TEST_F(FieldEditorTest, OkNeedsANameThatIsNotOnlyBlanks) {
    TfmField editor(field);
    editor.edName->setText(u"   "_s);
    EXPECT_FALSE(editor.btOk->isEnabled());
    editor.edName->setText(u" \t"_s);
    EXPECT_FALSE(editor.btOk->isEnabled());
    editor.edName->setText(u"  A "_s);
    EXPECT_TRUE(editor.btOk->isEnabled());
    editor.edName->clear();
    EXPECT_FALSE(editor.btOk->isEnabled());
}

TEST_F(FieldEditorTest, OkWritesTheTrimmedNameAndTheValues) {
    TfmField editor(field);
    editor.edName->setText(u"  Номер_1 "_s);
    editor.seSize->setValue(30);
    editor.seCode->setValue(12);
    EXPECT_EQ(editor.seACode->value(), 12);  // the code is copied
    editor.seACode->setValue(3);             // and may then differ
    editor.btOk->click();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(HeldIn(field), (Held{u"Номер_1", 30, 12, 3}));
}

TEST_F(FieldEditorTest, CancelLeavesTheFieldUntouched) {
    TDF stored("NOMER", 20, 5, 7);
    TfmField editor(stored);
    editor.edName->setText(u"OTHER"_s);
    editor.seSize->setValue(9);
    editor.seCode->setValue(9);
    editor.btCancel->click();
    EXPECT_EQ(editor.result(), QDialog::Rejected);
    EXPECT_EQ(HeldIn(stored), (Held{u"NOMER", 20, 5, 7}));
}

TEST_F(FieldEditorTest, CodeCaptionFollowsTheFormatInKey) {
    const struct {
        int32_t key;
        const char16_t* caption;
    } cases[] = {{0, u"Шифр"}, {1, u"Смещение"}, {-1, u"Шифр поля"}, {2, u"Шифр поля"}};
    for (const auto& c : cases) {
        field.Key = c.key;
        TfmField editor(field);
        EXPECT_EQ(editor.lbCode->text(), QString::fromUtf16(c.caption)) << "Key " << c.key;
        EXPECT_EQ(editor.lbAddCode->text(), u"Альтернативный шифр поля"_s);
    }
}

TEST_F(FieldEditorTest, EveryCaptionFitsWithEitherFormat) {
    for (int32_t key : {-1, 0, 1}) {
        field.Key = key;
        TfmField editor(field);
        ASSERT_TRUE(ShowActive(editor));
        ExpectCaptionsFit(editor);
    }
}

TEST_F(FieldEditorTest, ValuesAreKeptInTheirRanges) {
    TDF stored("A", 300, 101, -5);
    TfmField editor(stored);
    EXPECT_EQ(ShownIn(editor), (Shown{u"A"_s, 255, 100, 1}));
    editor.seSize->setValue(0);
    EXPECT_EQ(editor.seSize->value(), 1);
    editor.seACode->setValue(1000);
    EXPECT_EQ(editor.seACode->value(), 100);
}

TEST_F(FieldEditorTest, TypedValueBelowTheRangeIsRaisedWhenTheFocusLeaves) {
    TfmField editor(field);
    editor.seCode->setValue(50);
    QLineEdit* text = editor.seCode->findChild<QLineEdit*>();
    ASSERT_NE(text, nullptr);
    text->setText(QStringLiteral("0"));
    QFocusEvent focusOut(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(editor.seCode, &focusOut);
    EXPECT_EQ(editor.seCode->value(), 1);
    EXPECT_EQ(editor.seCode->text(), u"1"_s);
}

// What the operator types into a spin edit shows as typed, and is brought
// into the range when the focus leaves with Tab.
TEST_F(FieldEditorTest, TypedValuesPastTheRangeAreBroughtIntoItWhenTheFocusLeaves) {
    TfmField editor(field);
    const struct {
        QSpinBox* TfmField::*edit;
        QString typed;
        int taken;
    } cases[] = {
        {&TfmField::seSize, u"300"_s, 255}, {&TfmField::seSize, u"0"_s, 1},
        {&TfmField::seSize, u"255"_s, 255}, {&TfmField::seSize, u"99999999999"_s, 255},
        {&TfmField::seCode, u"150"_s, 100}, {&TfmField::seCode, u"0"_s, 1},
        {&TfmField::seCode, u"007"_s, 7},   {&TfmField::seACode, u"150"_s, 100},
        {&TfmField::seACode, u"000"_s, 1},  {&TfmField::seACode, u"42"_s, 42},
    };
    ASSERT_TRUE(ShowActive(editor));
    for (const auto& c : cases) {
        QSpinBox* edit = editor.*c.edit;
        TypeInto(edit, c.typed);
        EXPECT_EQ(edit->text(), c.typed) << "no typed digit is refused";
        QTest::keyClick(edit, Qt::Key_Tab);
        EXPECT_FALSE(edit->hasFocus());
        EXPECT_EQ(edit->value(), c.taken) << c.typed.toStdString();
        EXPECT_EQ(edit->text(), QString::number(c.taken));
    }
}

// Letters never get in; an emptied edit is below the range.
TEST_F(FieldEditorTest, LettersAreRefusedAndAnEmptiedEditTakesTheMinimum) {
    TfmField editor(field);
    ASSERT_TRUE(ShowActive(editor));
    TypeInto(editor.seSize, u"1x2"_s);
    EXPECT_EQ(editor.seSize->text(), u"12"_s);
    QTest::keyClick(editor.seSize, Qt::Key_Tab);
    EXPECT_EQ(editor.seSize->value(), 12);
    TypeInto(editor.seSize, u""_s);
    QTest::keyClick(editor.seSize, Qt::Key_Delete);
    EXPECT_EQ(editor.seSize->text(), u""_s);
    QTest::keyClick(editor.seSize, Qt::Key_Tab);
    EXPECT_EQ(editor.seSize->value(), 1);
    EXPECT_EQ(editor.seSize->text(), u"1"_s);
}

// The code's typed value reaches the alternative code once it is taken.
TEST_F(FieldEditorTest, TypedCodePastTheRangeIsStoredAtTheMaximumWithItsAlternative) {
    TfmField editor(field);
    ASSERT_TRUE(ShowActive(editor));
    QTest::keyClicks(editor.edName, u"NOMER"_s);
    TypeInto(editor.seSize, u"300"_s);
    TypeInto(editor.seCode, u"150"_s);
    // Enter takes the typed value and presses OK.
    QTest::keyClick(editor.seCode, Qt::Key_Return);
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(HeldIn(field), (Held{u"NOMER", 255, 100, 100}));
}

TEST_F(FieldEditorTest, NamesTheTableCannotTakeKeepOkDisabledWithAHint) {
    TDD type("T", 0, "");
    type.Add("NOMER", 10, 1, 1);
    type.Add(Ansi("Дата"), 10, 2, 2);
    const struct {
        const char16_t* name;
        bool accepted;
    } cases[] = {
        {u"NOMER_2", true}, {u"Сумма", true},  {u"A1234567890", false}, {u"A123456789", true},
        {u"1ABC", false},   {u"_ABC", false},  {u"AB CD", false},       {u"AB-CD", false},
        {u"Ωmega", false},  {u"nomer", false}, {u"ДАТА", false},        {u"  nomer ", false},
        {u"NOMER2", true},
    };
    TfmField editor(field, nullptr, &type);
    for (const auto& c : cases) {
        editor.edName->setText(QString::fromUtf16(c.name));
        const QString shown = editor.edName->text();
        EXPECT_EQ(editor.btOk->isEnabled(), c.accepted) << shown.toStdString();
        EXPECT_EQ(editor.lbNameHint->isHidden(), c.accepted) << shown.toStdString();
        EXPECT_EQ(editor.lbNameHint->text().isEmpty(), c.accepted) << shown.toStdString();
    }
}

TEST_F(FieldEditorTest, AFieldMayKeepItsOwnNameInAnotherCase) {
    TDD type("T", 0, "");
    TDF& own = *type.Add("NOMER", 10, 1, 1);
    type.Add("DATA", 10, 2, 2);
    TfmField editor(own, nullptr, &type);
    EXPECT_TRUE(editor.btOk->isEnabled());
    editor.edName->setText(u"Nomer"_s);
    EXPECT_TRUE(editor.btOk->isEnabled());
    editor.edName->setText(u"data"_s);
    EXPECT_FALSE(editor.btOk->isEnabled());
    EXPECT_EQ(editor.lbNameHint->text(), u"Поле с таким именем уже есть"_s);
}

}  // namespace
