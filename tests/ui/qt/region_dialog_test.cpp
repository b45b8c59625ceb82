#include "ui/qt/region_dialog.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/temp_directory.h"
#include "tests/ui/qt/captions_fit.h"
#include "tests/ui/qt/modal.h"
#include "tests/ui/qt/test_text.h"
#include "tests/ui/qt/user_input.h"
#include "ui/qt/field_editor.h"
#include "ui/qt/type_editor.h"

namespace {

// One line per type, sorted, with every stored member and field: two lists
// describe alike exactly when the store keeps them alike.
std::string Describe(const TDL& list) {
    std::vector<std::string> types;
    for (const TDD* t = list.First; t != nullptr; t = t->Next) {
        std::string line = platform::Cp1251ToUtf8(t->Name) + "|" + std::to_string(t->Codec);
        for (const AnsiString* text : {&t->Ident, &t->From, &t->To, &t->Mask, &t->Beg, &t->End,
                                       &t->Ceria, &t->KodObj, &t->TipZnak}) {
            line += "|" + platform::Cp1251ToUtf8(*text);
        }
        line += t->SpecProd ? "|SpecProd" : "|-";
        for (const TDF* f = t->First; f != nullptr; f = f->Next) {
            line += "|" + platform::Utf16ToUtf8(f->Name) + ":" + std::to_string(f->Size) + ":" +
                    std::to_string(f->Code) + ":" + std::to_string(f->ACode);
        }
        types.push_back(line);
    }
    std::sort(types.begin(), types.end());
    std::string text = list.AutoRun ? "AutoRun\n" : "-\n";
    for (const auto& line : types) {
        text += line + "\n";
    }
    return text;
}

std::string DescribeStored(const std::filesystem::path& store) {
    TDL list;
    list.Load(store);
    return Describe(list);
}

QStringList Rows(const TfmRegion& dialog) {
    QStringList rows;
    for (int i = 0; i < dialog.List->count(); ++i) {
        rows << dialog.List->item(i)->text();
    }
    return rows;
}

QStringList Names(const TDL& list) {
    QStringList names;
    for (const TDD* t = list.First; t != nullptr; t = t->Next) {
        names << QString::fromStdString(platform::Cp1251ToUtf8(t->Name));
    }
    return names;
}

// The type editor's stand-in: records the type it was given, lets the test
// change it, and confirms or cancels.
struct TypeEditorStub {
    std::vector<TDD*> seen;
    bool confirm = true;
    std::function<void(TDD&)> change = [](TDD&) {};

    std::function<bool(TDD&)> AsEditor() {
        return [this](TDD& type) {
            seen.push_back(&type);
            change(type);
            return confirm;
        };
    }
};

struct RegionDialogTest : ::testing::Test {
    // Stores three types, saved in an order that is not the store's.
    void StoreThreeTypes(bool autoRun = false) {
        TDL list;
        list.AutoRun = autoRun;
        for (const char* name : {"Тула", "Москва", "Калуга"}) {
            TDD& type = *list.Add(Ansi(name), 0, Ansi("АМТ"));
            type.From = "/in/";
            type.To = "/out/";
            type.Mask = "*.*";
            type.Add("NOMER", 10, 1, 1);
        }
        list.Save(store);
    }

    // The dialog with the test's stand-ins; a failed store shows up here.
    std::unique_ptr<TfmRegion> Open() {
        auto dialog = std::make_unique<TfmRegion>(nullptr, store);
        dialog->EditType = editor.AsEditor();
        dialog->ShowError = [this](const QString& message) { errors << message; };
        return dialog;
    }

    TempDirectory folder;
    const std::filesystem::path store = folder.path() / "registry.reg";
    TypeEditorStub editor;
    QStringList errors;
};

TEST_F(RegionDialogTest, EmptyConfigurationOpensWithNothingSelected) {
    auto dialog = Open();
    EXPECT_EQ(dialog->windowTitle(), u"Список региональных обновлений"_s);
    EXPECT_EQ(dialog->List->count(), 0);
    EXPECT_TRUE(dialog->List->selectedItems().isEmpty());
    EXPECT_TRUE(dialog->sbAdd->isEnabled());
    EXPECT_FALSE(dialog->sbSet->isEnabled());
    EXPECT_FALSE(dialog->sbDel->isEnabled());
    EXPECT_FALSE(dialog->cbAuto->isChecked());
    EXPECT_EQ(dialog->btClose->text(), u"Закрыть"_s);
}

TEST_F(RegionDialogTest, EveryCaptionFits) {
    StoreThreeTypes();
    auto dialog = Open();
    ASSERT_TRUE(ShowActive(*dialog));
    ExpectCaptionsFit(*dialog);
}

TEST_F(RegionDialogTest, OpensTheTypesInConfigurationOrderWithTheFirstSelected) {
    StoreThreeTypes(true);
    auto dialog = Open();
    EXPECT_EQ(Rows(*dialog), Names(dialog->Types()));
    EXPECT_EQ(Rows(*dialog), QStringList({u"Калуга"_s, u"Москва"_s, u"Тула"_s}));
    ASSERT_EQ(dialog->List->selectedItems().size(), 1);
    EXPECT_EQ(dialog->List->selectedItems().front()->text(), u"Калуга"_s);
    EXPECT_TRUE(dialog->sbSet->isEnabled());
    EXPECT_TRUE(dialog->sbDel->isEnabled());
    EXPECT_TRUE(dialog->cbAuto->isChecked());
}

TEST_F(RegionDialogTest, ConfirmedAddAppendsSelectsAndStoresAtOnce) {
    StoreThreeTypes();
    auto dialog = Open();
    dialog->List->clearSelection();
    editor.change = [](TDD& type) {
        type.Name = Ansi("Алтай");  // sorts first in the store, stays last in the list
        type.Codec = 1;
        type.From = "/a/";
        type.To = "/b/";
        type.Add("KOD", 5, 1, 1);
    };
    dialog->sbAdd->click();
    ASSERT_EQ(editor.seen.size(), 1u);
    EXPECT_EQ(Rows(*dialog), QStringList({u"Калуга"_s, u"Москва"_s, u"Тула"_s, u"Алтай"_s}));
    EXPECT_EQ(Rows(*dialog), Names(dialog->Types()));
    ASSERT_EQ(dialog->List->selectedItems().size(), 1);
    EXPECT_EQ(dialog->List->selectedItems().front()->text(), u"Алтай"_s);
    EXPECT_TRUE(dialog->sbSet->isEnabled());
    EXPECT_TRUE(dialog->sbDel->isEnabled());
    EXPECT_EQ(DescribeStored(store), Describe(dialog->Types()));
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(RegionDialogTest, AddToAnEmptyListHandsTheEditorANewType) {
    auto dialog = Open();
    TDD seen("x", 5, "x");
    editor.change = [&](TDD& type) {
        seen.Name = type.Name;
        seen.Codec = type.Codec;
        seen.Ident = type.Ident;
        seen.From = type.From;
        seen.SpecProd = type.SpecProd;
        seen.Beg = type.Beg;
        EXPECT_EQ(type.Count, 0);
        type.Name = "New";
    };
    dialog->sbAdd->click();
    EXPECT_EQ(seen.Name, "");
    EXPECT_EQ(seen.Codec, -1);
    EXPECT_EQ(seen.Ident, "");
    EXPECT_EQ(seen.From, "");
    EXPECT_FALSE(seen.SpecProd);
    EXPECT_EQ(seen.Beg, "");
    EXPECT_EQ(Rows(*dialog), QStringList({u"New"_s}));
    EXPECT_TRUE(dialog->List->item(0)->isSelected());
    EXPECT_TRUE(dialog->sbSet->isEnabled());
    EXPECT_EQ(DescribeStored(store), Describe(dialog->Types()));
}

// A type name is a key name of the store: "/" and blanks are kept in it.
TEST_F(RegionDialogTest, NamesWithSlashOrBlanksAreStoredAsTyped) {
    auto dialog = Open();
    for (const char* name : {"Юг/Север", " Край "}) {
        editor.change = [name](TDD& type) { type.Name = Ansi(name); };
        dialog->sbAdd->click();
    }
    EXPECT_TRUE(errors.isEmpty());
    TDL stored;
    stored.Load(store);
    EXPECT_EQ(Names(stored), QStringList({u" Край "_s, u"Юг/Север"_s}));
}

TEST_F(RegionDialogTest, CancelledAddChangesNeitherTheListNorTheStore) {
    StoreThreeTypes();
    auto dialog = Open();
    const std::string before = ReadBytes(store);
    editor.confirm = false;
    editor.change = [](TDD& type) { type.Name = "Abandoned"; };
    dialog->sbAdd->click();
    EXPECT_EQ(editor.seen.size(), 1u);
    EXPECT_EQ(Rows(*dialog), QStringList({u"Калуга"_s, u"Москва"_s, u"Тула"_s}));
    EXPECT_EQ(dialog->Types().Count, 3);
    EXPECT_EQ(ReadBytes(store), before);
}

TEST_F(RegionDialogTest, ChangedNameIsShownAndStoredUnderTheNewNameOnly) {
    StoreThreeTypes();
    auto dialog = Open();
    dialog->List->setCurrentRow(1);
    editor.change = [](TDD& type) { type.Name = Ansi("Подмосковье"); };
    dialog->sbSet->click();
    ASSERT_EQ(editor.seen.size(), 1u);
    EXPECT_EQ(editor.seen.front(), dialog->Types().First->Next);
    EXPECT_EQ(Rows(*dialog), QStringList({u"Калуга"_s, u"Подмосковье"_s, u"Тула"_s}));
    EXPECT_TRUE(dialog->sbSet->isEnabled());
    EXPECT_EQ(DescribeStored(store), Describe(dialog->Types()));
    EXPECT_EQ(DescribeStored(store).find("Москва"), std::string::npos);
}

TEST_F(RegionDialogTest, FieldChangesOfACancelledEditReachTheStoreOnClose) {
    StoreThreeTypes();
    auto dialog = Open();
    const std::string before = ReadBytes(store);
    editor.confirm = false;
    editor.change = [](TDD& type) { type.Add("EXTRA", 3, 2, 2); };
    dialog->sbSet->click();
    EXPECT_EQ(Rows(*dialog), QStringList({u"Калуга"_s, u"Москва"_s, u"Тула"_s}));
    EXPECT_EQ(ReadBytes(store), before);
    dialog->btClose->click();
    EXPECT_EQ(DescribeStored(store), Describe(dialog->Types()));
    EXPECT_NE(DescribeStored(store).find("EXTRA:3:2:2"), std::string::npos);
}

TEST_F(RegionDialogTest, DeleteStoresAtOnceAndLeavesNoRowSelected) {
    StoreThreeTypes();
    auto dialog = Open();
    dialog->List->setCurrentRow(1);
    dialog->sbDel->click();
    EXPECT_TRUE(editor.seen.empty());  // no confirmation, no editor
    EXPECT_EQ(Rows(*dialog), QStringList({u"Калуга"_s, u"Тула"_s}));
    EXPECT_EQ(Rows(*dialog), Names(dialog->Types()));
    EXPECT_TRUE(dialog->List->selectedItems().isEmpty());
    EXPECT_FALSE(dialog->sbSet->isEnabled());
    EXPECT_FALSE(dialog->sbDel->isEnabled());
    EXPECT_EQ(DescribeStored(store), Describe(dialog->Types()));
    // The rule follows every later selection.
    dialog->List->setCurrentRow(0);
    EXPECT_TRUE(dialog->sbSet->isEnabled());
    EXPECT_TRUE(dialog->sbDel->isEnabled());
}

TEST_F(RegionDialogTest, DoubleClickChangesTheClickedTypeAndNothingElse) {
    StoreThreeTypes();
    auto dialog = Open();
    dialog->show();
    dialog->sbDel->click();  // deletes "Калуга"; nothing is selected now
    const QRect last = dialog->List->visualItemRect(dialog->List->item(1));
    DoubleClick(dialog->List, last.bottomLeft() + QPoint(5, 20));  // below the rows
    EXPECT_TRUE(editor.seen.empty());
    editor.change = [](TDD& type) { type.Name = "Tula"; };
    DoubleClick(dialog->List, last.center());
    ASSERT_EQ(editor.seen.size(), 1u);
    EXPECT_EQ(editor.seen.front(), dialog->Types().Last);
    EXPECT_EQ(Rows(*dialog), QStringList({u"Москва"_s, u"Tula"_s}));
    EXPECT_EQ(DescribeStored(store), Describe(dialog->Types()));
}

TEST_F(RegionDialogTest, EveryWayOfClosingStoresTheConfigurationWithTheSwitch) {
    const std::function<void(TfmRegion&)> closers[] = {
        [](TfmRegion& dialog) { dialog.btClose->click(); },
        [](TfmRegion& dialog) {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&dialog, &escape);
        },
        [](TfmRegion& dialog) { dialog.close(); },  // the close box
    };
    StoreThreeTypes();
    for (const auto& close : closers) {
        auto dialog = Open();
        dialog->show();
        const std::string expected = Describe(dialog->Types());
        std::filesystem::remove(store);
        dialog->cbAuto->setChecked(!dialog->cbAuto->isChecked());
        close(*dialog);
        EXPECT_FALSE(dialog->isVisible());
        TDL stored;
        stored.Load(store);
        EXPECT_EQ(stored.AutoRun, dialog->cbAuto->isChecked());
        EXPECT_EQ(Describe(stored), Describe(dialog->Types()));
        EXPECT_EQ(Names(stored), Names(dialog->Types()));
        EXPECT_NE(expected, Describe(stored));  // only the switch differs
    }
}

// The list has no OK button: Enter on a row, or on "Закрыть", opens nothing
// and closes nothing; Esc closes the dialog.
TEST_F(RegionDialogTest, EnterLeavesTheDialogOpenAndEscClosesIt) {
    StoreThreeTypes();
    auto dialog = Open();
    ASSERT_TRUE(ShowActive(*dialog));
    QListWidget* list = dialog->List;
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(list->item(1)).center());
    ASSERT_TRUE(list->hasFocus());
    for (Qt::Key enter : {Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(list, enter);
        EXPECT_TRUE(dialog->isVisible());
    }
    EXPECT_EQ(list->currentRow(), 1);
    QTest::keyClick(list, Qt::Key_Down);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(list->currentRow(), 2);
    EXPECT_FALSE(dialog->btClose->isDefault());
    ASSERT_TRUE(TabTo(dialog->btClose));
    QTest::keyClick(dialog->btClose, Qt::Key_Return);
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_TRUE(editor.seen.empty()) << "Enter opened the type editor";

    QTest::keyClick(list, Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(RegionDialogTest, TickedSwitchIsStoredOnCloseOnly) {
    StoreThreeTypes();
    auto dialog = Open();
    dialog->cbAuto->setChecked(true);
    TDL before;
    before.Load(store);
    EXPECT_FALSE(before.AutoRun);
    dialog->btClose->click();
    TDL after;
    after.Load(store);
    EXPECT_TRUE(after.AutoRun);
}

TEST_F(RegionDialogTest, FailedSaveIsShownAndKeepsWhatWasStored) {
    StoreThreeTypes();
    auto dialog = Open();
    const std::string before = ReadBytes(store);
    // A value longer than the store takes for one value.
    editor.change = [](TDD& type) { type.From = AnsiString(600 * 1024, 'a'); };
    dialog->sbSet->click();
    ASSERT_EQ(errors.size(), 1);
    EXPECT_EQ(errors.front(), u"Failed to set data for 'From'"_s);
    EXPECT_EQ(ReadBytes(store), before);
    EXPECT_EQ(dialog->Types().First->From.size(), 600u * 1024);  // still in the dialog

    dialog->btClose->click();  // fails again, and the dialog still closes
    EXPECT_EQ(errors.size(), 2);
    EXPECT_EQ(ReadBytes(store), before);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
}

TEST_F(RegionDialogTest, FailedSaveOfAnAddedTypeKeepsItForTheNextSave) {
    auto dialog = Open();
    std::filesystem::remove(store);
    std::filesystem::create_directory(store);  // the store file cannot be written
    editor.change = [](TDD& type) { type.Name = "Kept"; };
    dialog->sbAdd->click();
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(Rows(*dialog), QStringList({u"Kept"_s}));
    std::filesystem::remove(store);
    dialog->btClose->click();
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(DescribeStored(store), Describe(dialog->Types()));
}

// All three dialogs for real: a type added through the editors is stored.
TEST_F(RegionDialogTest, TypeConfiguredThroughTheRealEditorsIsStored) {
    StoreThreeTypes();
    TfmRegion dialog(nullptr, store);
    WhenModal<TfmRegEdit>([](TfmRegEdit& editor) {
        editor.edName->setText(u"москва"_s);  // another type's name
        editor.edFrom->setText(u"/srv/in"_s);
        editor.edTo->setText(u"/srv/out"_s);
        editor.cbCodec->setCurrentIndex(1);
        WhenModal<TfmField>([](TfmField& field) {
            EXPECT_EQ(field.lbCode->text(), u"Смещение"_s);
            field.edName->setText(u"NOMER"_s);
            field.seSize->setValue(12);
            field.seCode->setValue(3);
            field.btOk->click();
        });
        editor.sbAdd->click();
        EXPECT_FALSE(editor.btOk->isEnabled());
        EXPECT_FALSE(editor.lbNameHint->isHidden());
        editor.edName->setText(u"Рязань"_s);
        EXPECT_TRUE(editor.btOk->isEnabled());
        editor.btOk->click();
    });
    dialog.sbAdd->click();
    EXPECT_EQ(Rows(dialog), QStringList({u"Калуга"_s, u"Москва"_s, u"Тула"_s, u"Рязань"_s}));
    TDL stored;
    stored.Load(store);
    EXPECT_EQ(Describe(stored), Describe(dialog.Types()));
    const TDD* added = dialog.Types().Last;
    EXPECT_EQ(added->From, "/srv/in/");
    EXPECT_EQ(added->To, "/srv/out/");
    EXPECT_EQ(added->Mask, "*.*");
    EXPECT_EQ(added->Ident, "R_AMT");
    EXPECT_EQ(added->Codec, 1);
    ASSERT_EQ(added->Count, 1);
    EXPECT_EQ(added->First->Name, u"NOMER");
    EXPECT_EQ(added->First->Size, 12);
    EXPECT_EQ(added->First->Code, 3);
    EXPECT_EQ(added->First->ACode, 3);
    dialog.reject();
}

}  // namespace
