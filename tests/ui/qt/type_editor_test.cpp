#include "ui/qt/type_editor.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <QTreeWidget>
#include <functional>
#include <vector>

#include "tests/ui/qt/captions_fit.h"
#include "tests/ui/qt/modal.h"
#include "tests/ui/qt/test_text.h"
#include "tests/ui/qt/user_input.h"
#include "ui/qt/field_editor.h"
#include "ui/qt/font_scale.h"

namespace {

std::vector<std::u16string> FieldNames(const TDD& type) {
    std::vector<std::u16string> names;
    for (const TDF* field = type.First; field != nullptr; field = field->Next) {
        names.push_back(field->Name);
    }
    return names;
}

QStringList RowNames(const TfmRegEdit& editor) {
    QStringList names;
    for (int i = 0; i < editor.List->topLevelItemCount(); ++i) {
        names << editor.List->topLevelItem(i)->text(0);
    }
    return names;
}

QStringList DropDownItems(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items << box->itemText(i);
    }
    return items;
}

// Stands in for the field editor: checks the format it is told, then fills
// or changes the field and confirms, or cancels.
struct FieldEditorStub {
    int32_t seenKey = -2;
    int calls = 0;
    bool confirm = true;
    std::function<void(TDF&)> fill = [](TDF&) {};

    std::function<bool(TDF&)> AsEditor() {
        return [this](TDF& field) {
            seenKey = field.Key;
            ++calls;
            if (confirm) {
                fill(field);
            }
            return confirm;
        };
    }
};

void FillField(TDF& field, const char16_t* name, int32_t size, int32_t code, int32_t acode) {
    field.Name = name;
    field.Size = size;
    field.Code = code;
    field.ACode = acode;
}

// A complete type: OK is enabled when it opens.
struct TypeEditorTest : ::testing::Test {
    TypeEditorTest() {
        type.From = "/srv/in/";
        type.To = "/srv/out/";
        type.Mask = "*.txt";
        type.Add("NOMER", 10, 1, 1);
        type.Add("DATA", 8, 2, 3);
        type.Add("SUMMA", 12, 4, 4);
    }
    TDD type{Ansi("Москва"), 0, Ansi("АМТ")};
};

TEST(TypeEditorNewType, OpensEmptyWithOkAndRowButtonsDisabled) {
    TDD type("", -1, "");
    TfmRegEdit editor(type);
    EXPECT_EQ(editor.windowTitle(), u"Региональное обновление"_s);
    EXPECT_FALSE(editor.btOk->isEnabled());
    EXPECT_TRUE(editor.sbAdd->isEnabled());
    EXPECT_FALSE(editor.sbSet->isEnabled());
    EXPECT_FALSE(editor.sbDel->isEnabled());
    EXPECT_EQ(editor.cbCodec->currentIndex(), -1);
    for (QWidget* row :
         {editor.lbBeg, editor.lbEnd, editor.lbKodObj, editor.lbCeria, editor.lbTipZnak}) {
        EXPECT_FALSE(row->isEnabled()) << row->objectName().toStdString();
    }
    EXPECT_FALSE(editor.cbBeg->isEnabled());
    EXPECT_EQ(editor.List->headerItem()->text(2), u"Код"_s);
    EXPECT_EQ(editor.List->topLevelItemCount(), 0);
}

TEST_F(TypeEditorTest, OpensWithTheStoredSettingsAndTheFirstRowSelected) {
    type.Codec = 1;
    type.Ident = "MY_ID";
    type.SpecProd = true;
    type.Beg = "NOMER";
    type.KodObj = "GONE";
    TfmRegEdit editor(type);
    EXPECT_EQ(editor.edName->text(), u"Москва"_s);
    EXPECT_EQ(editor.edFrom->text(), u"/srv/in/"_s);
    EXPECT_EQ(editor.edTo->text(), u"/srv/out/"_s);
    EXPECT_EQ(editor.edMask->text(), u"*.txt"_s);
    EXPECT_EQ(editor.cbCodec->currentIndex(), 1);
    // Showing the stored format is no format change.
    EXPECT_EQ(editor.edIdent->text(), u"MY_ID"_s);
    EXPECT_EQ(editor.List->headerItem()->text(2), u"Код"_s);
    EXPECT_TRUE(editor.cbSpecProd->isChecked());
    EXPECT_EQ(editor.cbBeg->currentText(), u"NOMER"_s);
    EXPECT_EQ(editor.cbKodObj->currentText(), u"GONE"_s);
    EXPECT_EQ(editor.cbEnd->currentText(), u""_s);
    EXPECT_EQ(RowNames(editor), QStringList({u"NOMER"_s, u"DATA"_s, u"SUMMA"_s}));
    ASSERT_EQ(editor.List->selectedItems().size(), 1);
    EXPECT_EQ(editor.List->selectedItems().front()->text(0), u"NOMER"_s);
    EXPECT_TRUE(editor.sbSet->isEnabled());
    EXPECT_TRUE(editor.sbDel->isEnabled());
    EXPECT_TRUE(editor.btOk->isEnabled());
}

TEST_F(TypeEditorTest, ACodecThatIsNoFormatSelectsNothing) {
    type.Codec = 7;
    TfmRegEdit editor(type);
    EXPECT_EQ(editor.cbCodec->currentIndex(), -1);
    EXPECT_FALSE(editor.btOk->isEnabled());
}

TEST_F(TypeEditorTest, RowsShowTheNumbersInNavyAndTheNameInTheDefaultColour) {
    TfmRegEdit editor(type);
    const QTreeWidgetItem* row = editor.List->topLevelItem(1);
    EXPECT_EQ(row->text(0), u"DATA"_s);
    EXPECT_EQ(row->text(1), u"8"_s);
    EXPECT_EQ(row->text(2), u"2"_s);
    EXPECT_EQ(row->text(3), u"3"_s);
    for (int column = 1; column <= 3; ++column) {
        EXPECT_EQ(row->foreground(column).color(), QColor(0, 0, 128)) << column;
    }
    EXPECT_EQ(row->foreground(0).style(), Qt::NoBrush);
    const QStringList headers = {u"Имя поля"_s, u"Размер"_s, u"Код"_s, u"А. код"_s};
    for (int column = 0; column < 4; ++column) {
        EXPECT_EQ(editor.List->headerItem()->text(column), headers[column]);
    }
}

TEST_F(TypeEditorTest, OkNeedsNameFormatFieldsAndBothFolders) {
    TfmRegEdit editor(type);
    ASSERT_TRUE(editor.btOk->isEnabled());
    for (QLineEdit* required : {editor.edName, editor.edFrom, editor.edTo}) {
        const QString text = required->text();
        required->clear();
        EXPECT_FALSE(editor.btOk->isEnabled()) << required->objectName().toStdString();
        required->setText(text);
        EXPECT_TRUE(editor.btOk->isEnabled());
    }
    // Blanks count as a name; the mask and the identifier do not count.
    editor.edName->setText(u" "_s);
    editor.edMask->clear();
    editor.edIdent->clear();
    EXPECT_TRUE(editor.btOk->isEnabled());
}

TEST_F(TypeEditorTest, DeletingTheLastFieldDisablesOk) {
    TfmRegEdit editor(type);
    for (int i = 0; i < 3; ++i) {
        ASSERT_TRUE(editor.btOk->isEnabled());
        ASSERT_TRUE(editor.sbDel->isEnabled());
        editor.sbDel->click();
    }
    EXPECT_EQ(type.Count, 0);
    EXPECT_FALSE(editor.btOk->isEnabled());
    EXPECT_FALSE(editor.sbDel->isEnabled());
}

TEST(TypeEditorNewType, PickingAFormatWhileAFolderIsEmptyLeavesOkDisabled) {
    TDD type("", -1, "");
    type.Add("NOMER", 10, 1, 1);
    TfmRegEdit editor(type);
    editor.edName->setText(u"Тип"_s);
    editor.edFrom->setText(u"/in"_s);
    editor.cbCodec->setCurrentIndex(0);
    EXPECT_FALSE(editor.btOk->isEnabled());
    editor.edTo->setText(u"/out"_s);
    EXPECT_TRUE(editor.btOk->isEnabled());
}

TEST(TypeEditorNewType, FormatChangeSetsIdentifierAndCodeCaption) {
    TDD type("", -1, "");
    TfmRegEdit editor(type);
    editor.cbCodec->setCurrentIndex(0);
    EXPECT_EQ(editor.edIdent->text(), u"АМТ"_s);
    EXPECT_EQ(editor.List->headerItem()->text(2), u"Шифр"_s);
    editor.edIdent->setText(u"TYPED"_s);
    editor.cbCodec->setCurrentIndex(1);
    EXPECT_EQ(editor.edIdent->text(), u"R_AMT"_s);
    EXPECT_EQ(editor.List->headerItem()->text(2), u"Смещение"_s);
    editor.edIdent->setText(u"TYPED"_s);
    editor.cbCodec->setCurrentIndex(0);
    EXPECT_EQ(editor.edIdent->text(), u"АМТ"_s);
    EXPECT_EQ(editor.List->headerItem()->text(2), u"Шифр"_s);
}

// The operator picks each format from the keyboard: the code column shows
// its caption whole, "Смещение" included, as every other caption is.
TEST_F(TypeEditorTest, EveryCaptionFitsWithEitherFormat) {
    TfmRegEdit editor(type);
    ASSERT_TRUE(ShowActive(editor));
    const TFontScale scale(editor.font());
    EXPECT_GE(editor.List->header()->sectionSize(0), scale.X(130));
    ExpectCaptionsFit(editor);
    ASSERT_TRUE(TabTo(editor.cbCodec));
    for (const auto& [key, caption] :
         {std::pair{Qt::Key_Down, u"Смещение"_s}, std::pair{Qt::Key_Up, u"Шифр"_s}}) {
        const int width = editor.List->header()->sectionSize(2);
        QTest::keyClick(editor.cbCodec, key);
        EXPECT_EQ(editor.List->headerItem()->text(2), caption);
        EXPECT_EQ(editor.List->header()->sectionSize(2), width) << "the widths are fixed";
        EXPECT_GE(width, scale.X(50));
        ExpectCaptionsFit(editor);
    }
}

TEST_F(TypeEditorTest, SpecialProductRowsFollowTheSwitchAndTheFormat) {
    const struct {
        bool ticked;
        int format;
        bool beg, end, kodObj, ceria, tipZnak;
    } cases[] = {
        {false, 0, false, false, false, false, false},
        {false, 1, false, false, false, false, false},
        {true, 0, true, true, true, true, true},
        {true, 1, true, false, true, false, false},
    };
    for (const auto& c : cases) {
        type.Codec = 1 - c.format;
        TfmRegEdit editor(type);
        editor.cbSpecProd->setChecked(c.ticked);
        editor.cbCodec->setCurrentIndex(c.format);  // a format change applies the rule too
        const auto state = [](QWidget* row, QComboBox* box) {
            EXPECT_EQ(row->isEnabled(), box->isEnabled());
            return row->isEnabled();
        };
        SCOPED_TRACE(testing::Message() << "ticked " << c.ticked << ", format " << c.format);
        EXPECT_EQ(state(editor.lbBeg, editor.cbBeg), c.beg);
        EXPECT_EQ(state(editor.lbEnd, editor.cbEnd), c.end);
        EXPECT_EQ(state(editor.lbKodObj, editor.cbKodObj), c.kodObj);
        EXPECT_EQ(state(editor.lbCeria, editor.cbCeria), c.ceria);
        EXPECT_EQ(state(editor.lbTipZnak, editor.cbTipZnak), c.tipZnak);
        // Clicking the switch back applies the rule at once.
        editor.cbSpecProd->setChecked(!c.ticked);
        EXPECT_EQ(editor.lbBeg->isEnabled(), !c.ticked);
    }
}

TEST_F(TypeEditorTest, OkWritesTheSettingsBack) {
    type.Codec = 1;
    TfmRegEdit editor(type);
    editor.edName->setText(u" Новая "_s);
    editor.edFrom->setText(u"/data/in"_s);
    editor.edTo->setText(u"/data/out/"_s);
    editor.edMask->setText(u"*.upd"_s);
    editor.cbCodec->setCurrentIndex(0);
    editor.edIdent->setText(u"ГРП"_s);
    editor.cbSpecProd->setChecked(true);
    editor.cbBeg->setEditText(u"NOMER"_s);
    editor.cbEnd->setEditText(u"typed"_s);
    editor.cbCeria->setEditText(u"DATA"_s);
    editor.cbKodObj->setEditText(u"SUMMA"_s);
    editor.cbTipZnak->setEditText(u"Тип"_s);
    editor.cbCodec->setCurrentIndex(1);  // disables three role rows, which keep their texts
    editor.btOk->click();
    EXPECT_EQ(editor.result(), QDialog::Accepted);
    EXPECT_EQ(type.Name, Ansi(" Новая "));
    EXPECT_EQ(type.From, "/data/in/");
    EXPECT_EQ(type.To, "/data/out/");
    EXPECT_EQ(type.Mask, "*.upd");
    EXPECT_EQ(type.Codec, 1);
    EXPECT_EQ(type.Ident, "R_AMT");
    EXPECT_TRUE(type.SpecProd);
    EXPECT_EQ(type.Beg, "NOMER");
    EXPECT_EQ(type.End, "typed");
    EXPECT_EQ(type.Ceria, "DATA");
    EXPECT_EQ(type.KodObj, "SUMMA");
    EXPECT_EQ(type.TipZnak, Ansi("Тип"));
}

TEST_F(TypeEditorTest, EmptyMaskAndIdentifierAreWrittenAsTheRulesSay) {
    TfmRegEdit editor(type);
    editor.edMask->clear();
    editor.edIdent->clear();
    editor.edFrom->setText(u"relative"_s);
    editor.btOk->click();
    EXPECT_EQ(type.Mask, "*.*");
    EXPECT_EQ(type.Ident, "");
    EXPECT_EQ(type.From, "relative/");
    EXPECT_EQ(type.To, "/srv/out/");  // already ends with the separator
}

TEST_F(TypeEditorTest, CancelLeavesTheSettingsUntouched) {
    TfmRegEdit editor(type);
    editor.edName->setText(u"Другое"_s);
    editor.edFrom->setText(u"/elsewhere"_s);
    editor.cbCodec->setCurrentIndex(1);
    editor.cbSpecProd->setChecked(true);
    editor.btCancel->click();
    EXPECT_EQ(editor.result(), QDialog::Rejected);
    EXPECT_EQ(type.Name, Ansi("Москва"));
    EXPECT_EQ(type.From, "/srv/in/");
    EXPECT_EQ(type.Codec, 0);
    EXPECT_EQ(type.Ident, Ansi("АМТ"));
    EXPECT_FALSE(type.SpecProd);
}

TEST_F(TypeEditorTest, AddedFieldGetsTheFormatAndIsKeptAfterCancel) {
    TfmRegEdit editor(type);
    editor.cbCodec->setCurrentIndex(1);
    FieldEditorStub stub;
    int32_t scratchStart[3] = {-1, -1, -1};
    stub.fill = [&](TDF& field) {
        scratchStart[0] = field.Size;
        scratchStart[1] = field.Code;
        scratchStart[2] = field.ACode;
        FillField(field, u"KOD", 6, 5, 7);
    };
    editor.EditField = stub.AsEditor();
    editor.sbAdd->click();
    EXPECT_EQ(stub.seenKey, 1);
    EXPECT_EQ(scratchStart[0], 0);
    EXPECT_EQ(scratchStart[1], 0);
    EXPECT_EQ(scratchStart[2], 0);
    ASSERT_EQ(editor.List->topLevelItemCount(), 4);
    const QTreeWidgetItem* row = editor.List->topLevelItem(3);
    EXPECT_EQ(row->text(0), u"KOD"_s);
    EXPECT_EQ(row->text(2), u"5"_s);
    EXPECT_EQ(row->text(3), u"7"_s);
    EXPECT_EQ(editor.List->currentItem(), row);
    EXPECT_TRUE(row->isSelected());
    EXPECT_EQ(row->foreground(3).color(), QColor(0, 0, 128));
    editor.btCancel->click();
    ASSERT_EQ(type.Count, 4);
    EXPECT_EQ(type.Last->Name, u"KOD");
    EXPECT_EQ(type.Last->Size, 6);
    EXPECT_EQ(type.Last->Code, 5);
    EXPECT_EQ(type.Last->ACode, 7);
}

TEST_F(TypeEditorTest, CancelledFieldEditorAddsNothing) {
    TfmRegEdit editor(type);
    FieldEditorStub stub;
    stub.confirm = false;
    editor.EditField = stub.AsEditor();
    editor.sbAdd->click();
    EXPECT_EQ(stub.calls, 1);
    EXPECT_EQ(type.Count, 3);
    EXPECT_EQ(editor.List->topLevelItemCount(), 3);
}

TEST_F(TypeEditorTest, ChangedFieldIsShownAndKeptAfterCancel) {
    TfmRegEdit editor(type);
    editor.List->setCurrentItem(editor.List->topLevelItem(1));
    FieldEditorStub stub;
    TDF* edited = nullptr;
    stub.fill = [&](TDF& field) {
        edited = &field;
        FillField(field, u"DATE", 10, 20, 21);
    };
    editor.EditField = stub.AsEditor();
    editor.sbSet->click();
    EXPECT_EQ(stub.seenKey, 0);
    EXPECT_EQ(edited, type.First->Next);  // the field itself, not a copy
    const QTreeWidgetItem* row = editor.List->topLevelItem(1);
    EXPECT_EQ(row->text(0), u"DATE"_s);
    EXPECT_EQ(row->text(1), u"10"_s);
    EXPECT_EQ(row->text(2), u"20"_s);
    EXPECT_EQ(row->text(3), u"21"_s);
    editor.btCancel->click();
    EXPECT_EQ(FieldNames(type), (std::vector<std::u16string>{u"NOMER", u"DATE", u"SUMMA"}));
}

TEST_F(TypeEditorTest, DoubleClickChangesTheClickedField) {
    TfmRegEdit editor(type);
    editor.show();
    FieldEditorStub stub;
    stub.fill = [](TDF& field) { field.Name = u"LAST"; };
    editor.EditField = stub.AsEditor();
    QTreeWidgetItem* row = editor.List->topLevelItem(2);
    editor.List->setCurrentItem(row);
    emit editor.List->itemDoubleClicked(row, 0);
    EXPECT_EQ(stub.calls, 1);
    EXPECT_EQ(type.Last->Name, u"LAST");
}

TEST_F(TypeEditorTest, DeletedFieldIsGoneAfterCancelAndTheTopRowIsSelected) {
    TfmRegEdit editor(type);
    editor.List->setCurrentItem(editor.List->topLevelItem(1));
    editor.sbDel->click();
    EXPECT_EQ(RowNames(editor), QStringList({u"NOMER"_s, u"SUMMA"_s}));
    ASSERT_EQ(editor.List->selectedItems().size(), 1);
    EXPECT_EQ(editor.List->selectedItems().front()->text(0), u"NOMER"_s);
    editor.btCancel->click();
    EXPECT_EQ(FieldNames(type), (std::vector<std::u16string>{u"NOMER", u"SUMMA"}));
}

TEST_F(TypeEditorTest, RoleListsHoldTheRowNamesInOrderAndRoleTextsStay) {
    type.SpecProd = true;
    type.Beg = "DATA";
    type.End = "free text";
    TfmRegEdit editor(type);
    const auto expectLists = [&](const QStringList& names) {
        for (QComboBox* box :
             {editor.cbBeg, editor.cbEnd, editor.cbKodObj, editor.cbCeria, editor.cbTipZnak}) {
            EXPECT_EQ(DropDownItems(box), names) << box->objectName().toStdString();
        }
    };
    expectLists({u"NOMER"_s, u"DATA"_s, u"SUMMA"_s});

    FieldEditorStub stub;
    stub.fill = [](TDF& field) { FillField(field, u"KOD", 5, 5, 5); };
    editor.EditField = stub.AsEditor();
    editor.sbAdd->click();
    expectLists({u"NOMER"_s, u"DATA"_s, u"SUMMA"_s, u"KOD"_s});

    editor.List->setCurrentItem(editor.List->topLevelItem(0));
    stub.fill = [](TDF& field) { field.Name = u"NUM"; };
    editor.sbSet->click();
    expectLists({u"NUM"_s, u"DATA"_s, u"SUMMA"_s, u"KOD"_s});

    editor.List->setCurrentItem(editor.List->topLevelItem(1));
    editor.sbDel->click();  // deletes DATA, which cbBeg names
    expectLists({u"NUM"_s, u"SUMMA"_s, u"KOD"_s});
    EXPECT_EQ(editor.cbBeg->currentText(), u"DATA"_s);
    EXPECT_EQ(editor.cbEnd->currentText(), u"free text"_s);

    // What is typed into a role box never joins its list.
    editor.cbKodObj->setEditText(u"TYPED"_s);
    editor.cbKodObj->lineEdit()->returnPressed();
    expectLists({u"NUM"_s, u"SUMMA"_s, u"KOD"_s});

    editor.btOk->click();
    EXPECT_EQ(type.Beg, "DATA");
    EXPECT_EQ(type.End, "free text");
}

TEST_F(TypeEditorTest, BrowseStartsAtTheBoxFolderAndTakesTheChosenOne) {
    TfmRegEdit editor(type);
    std::vector<QString> starts;
    QString answer = u"/chosen/in"_s;
    editor.ChooseDirectory = [&](const QString& start) {
        starts.push_back(start);
        return answer;
    };
    editor.edFromButton->click();
    EXPECT_EQ(editor.edFrom->text(), u"/chosen/in"_s);
    editor.edTo->clear();
    ASSERT_FALSE(editor.btOk->isEnabled());
    answer = u"/chosen/out"_s;
    editor.edToButton->click();
    EXPECT_EQ(editor.edTo->text(), u"/chosen/out"_s);
    EXPECT_TRUE(editor.btOk->isEnabled());
    answer.clear();  // the operator cancels
    editor.edToButton->click();
    EXPECT_EQ(editor.edTo->text(), u"/chosen/out"_s);
    EXPECT_EQ(starts, (std::vector<QString>{u"/srv/in/"_s, u""_s, u"/chosen/out"_s}));
}

TEST_F(TypeEditorTest, NamesTheStoreCannotKeepApartKeepOkDisabledWithAHint) {
    TDL list;
    list.Add(Ansi("Москва"), 1, "");
    TDD& self = *list.Add(Ansi("Тула"), 0, "");
    self.From = "/in/";
    self.To = "/out/";
    self.Add("NOMER", 10, 1, 1);
    const struct {
        QString name;
        bool accepted;
    } cases[] = {
        {u"Тула"_s, true},    {u"ТУЛА"_s, true},          {u"Калуга"_s, true},
        {u"МОСКВА"_s, false}, {u"москва"_s, false},       {u"A\\B"_s, false},
        {u"A/B"_s, true},     {QString(255, u'x'), true}, {QString(256, u'x'), false},
    };
    TfmRegEdit editor(self, nullptr, &list);
    for (const auto& c : cases) {
        editor.edName->setText(c.name);
        SCOPED_TRACE(c.name.toStdString());
        EXPECT_EQ(editor.btOk->isEnabled(), c.accepted);
        EXPECT_EQ(editor.lbNameHint->isHidden(), c.accepted);
        EXPECT_EQ(editor.lbNameHint->text().isEmpty(), c.accepted);
    }
}

// The real field editor, driven while it runs modally.
TEST_F(TypeEditorTest, AddRunsTheFieldEditorWithTheFormat) {
    type.Codec = 1;
    TfmRegEdit editor(type);
    QString codeCaption;
    WhenModal<TfmField>([&](TfmField& field) {
        codeCaption = field.lbCode->text();
        field.edName->setText(u"nomer"_s);  // the type has NOMER already
        EXPECT_FALSE(field.btOk->isEnabled());
        field.edName->setText(u"OFFSET"_s);
        field.seSize->setValue(4);
        field.seCode->setValue(9);
        field.btOk->click();
    });
    editor.sbAdd->click();
    EXPECT_EQ(codeCaption, u"Смещение"_s);
    ASSERT_EQ(type.Count, 4);
    EXPECT_EQ(type.Last->Name, u"OFFSET");
    EXPECT_EQ(type.Last->Size, 4);
    EXPECT_EQ(type.Last->Code, 9);
    EXPECT_EQ(type.Last->ACode, 9);
}

}  // namespace
