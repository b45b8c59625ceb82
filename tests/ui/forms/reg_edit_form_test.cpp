#include "ui/forms/reg_edit_form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace {

// An update-type editor as a toolkit draws it; the field editor and the
// directory dialog are functions.
class FakeRegEditView : public TRegEditView {
  public:
    std::u16string Text(TRegEditText which) const override { return Get(texts, which); }
    void SetText(TRegEditText which, std::u16string_view text) override { texts[which] = text; }
    void ShowNameHint(std::u16string_view text) override { nameHint = text; }
    int Codec() const override { return codec; }
    void SetCodec(int index) override { codec = index; }
    bool SpecProd() const override { return specProd; }
    void SetSpecProd(bool checked) override { specProd = checked; }
    void EnableRole(TRole role, bool enabled) override { roleEnabled[role] = enabled; }
    std::u16string RoleText(TRole role) const override { return Get(roleTexts, role); }
    void SetRoleText(TRole role, std::u16string_view text) override { roleTexts[role] = text; }
    void SetRoleItems(const std::vector<std::u16string>& names) override { roleItems = names; }
    void SetCodeColumn(std::u16string_view caption) override { codeColumn = caption; }
    void AppendFieldRow(const TFieldRow& row) override { rows.push_back(row); }
    void SetFieldRow(int row, const TFieldRow& shown) override { rows.at(size_t(row)) = shown; }
    void RemoveFieldRow(int row) override { rows.erase(rows.begin() + row); }
    void SelectFieldRow(int row) override { selected = row; }
    int SelectedFieldRow() const override { return selected; }
    int TopVisibleFieldRow() const override { return rows.empty() ? -1 : 0; }
    void EnableFieldButtons(bool enabled) override { fieldButtons = enabled; }
    void EnableOk(bool enabled) override { ok = enabled; }
    bool RunFieldEditor(TDF& field, const TDD&) override {
        keysSeen.push_back(field.Key);
        return fieldEditor && fieldEditor(field);
    }
    std::optional<std::u16string> ChooseFolder(std::u16string_view start) override {
        startsSeen.emplace_back(start);
        return chosen;
    }
    void CloseOk() override { ++closedOk; }

    // The operator types into an edit box or picks a format.
    void Type(TRegEditText which, std::u16string_view text) {
        texts[which] = text;
        form->edNameChange();
    }
    void Pick(int format) {
        codec = format;
        form->cbCodecChange();
    }
    void Tick(bool checked) {
        specProd = checked;
        form->cbSpecProdClick();
    }

    template <typename Map, typename Key>
    static std::u16string Get(const Map& map, Key key) {
        const auto found = map.find(key);
        return found == map.end() ? std::u16string() : found->second;
    }

    TRegEditForm* form = nullptr;
    std::map<TRegEditText, std::u16string> texts;
    std::u16string nameHint;
    int codec = -2;  // not told yet
    bool specProd = false;
    std::map<TRole, bool> roleEnabled;
    std::map<TRole, std::u16string> roleTexts;
    std::vector<std::u16string> roleItems;
    std::u16string codeColumn;
    std::vector<TFieldRow> rows;
    int selected = -2;
    bool fieldButtons = true;
    bool ok = true;
    std::function<bool(TDF&)> fieldEditor;  // the operator's edit; true for OK
    std::vector<int> keysSeen;
    std::optional<std::u16string> chosen;
    std::vector<std::u16string> startsSeen;
    int closedOk = 0;
};

constexpr char kSeparator = char(std::filesystem::path::preferred_separator);

class RegEditFormTest : public ::testing::Test {
  protected:
    TRegEditForm& Open(TDD& type, const TDL* list = nullptr) {
        form_.emplace(view_, type, list);
        view_.form = &*form_;
        form_->Open();
        return *form_;
    }

    // A type that OK takes.
    static void MakeComplete(TDD& type) {
        type.Name = "t";
        type.Codec = 1;
        type.Ident = "mine";
        type.From = "in";
        type.To = "out";
        type.Add("NUMBER", 10, 1, 1);
        type.Add("PRICE", 12, 2, 3);
    }

    std::vector<std::u16string> EnabledRoles() const {
        static const std::map<TRole, std::u16string> names{{TRole::Beg, u"Beg"},
                                                           {TRole::End, u"End"},
                                                           {TRole::KodObj, u"KodObj"},
                                                           {TRole::Ceria, u"Ceria"},
                                                           {TRole::TipZnak, u"TipZnak"}};
        std::vector<std::u16string> enabled;
        for (const TRole role : kRoles) {
            if (view_.roleEnabled.at(role)) {
                enabled.push_back(names.at(role));
            }
        }
        return enabled;
    }

    FakeRegEditView view_;
    std::optional<TRegEditForm> form_;
};

TEST_F(RegEditFormTest, NewTypeOpensWithNothingToConfirm) {
    TDD type("", -1, "");
    Open(type);
    EXPECT_FALSE(view_.ok);
    EXPECT_FALSE(view_.fieldButtons);
    EXPECT_EQ(view_.codec, -1);
    EXPECT_EQ(view_.selected, -1);
    EXPECT_TRUE(EnabledRoles().empty());
    EXPECT_EQ(view_.codeColumn, u"Код");
    EXPECT_TRUE(view_.roleItems.empty());
}

// Showing the stored format is no format change.
TEST_F(RegEditFormTest, ExistingTypeOpensWithItsStoredIdentifier) {
    TDD type("", -1, "");
    MakeComplete(type);
    type.Beg = "NUMBER";
    type.TipZnak = "gone";
    Open(type);
    EXPECT_EQ(view_.codec, 1);
    EXPECT_EQ(view_.texts[TRegEditText::Ident], u"mine");
    EXPECT_EQ(view_.codeColumn, u"Код");
    EXPECT_TRUE(view_.ok);
    EXPECT_EQ(view_.selected, 0);
    EXPECT_TRUE(view_.fieldButtons);
    ASSERT_EQ(view_.rows.size(), 2u);
    EXPECT_EQ(view_.rows[1].Name, u"PRICE");
    EXPECT_EQ(view_.rows[1].Size, u"12");
    EXPECT_EQ(view_.rows[1].Code, u"2");
    EXPECT_EQ(view_.rows[1].ACode, u"3");
    EXPECT_EQ(view_.roleItems, (std::vector<std::u16string>{u"NUMBER", u"PRICE"}));
    EXPECT_EQ(view_.roleTexts[TRole::Beg], u"NUMBER");
    EXPECT_EQ(view_.roleTexts[TRole::TipZnak], u"gone");
}

TEST_F(RegEditFormTest, StoredCodecThatIsNoFormatSelectsNothing) {
    TDD type("t", 5, "");
    Open(type);
    EXPECT_EQ(view_.codec, -1);
}

TEST_F(RegEditFormTest, OkNeedsNameFormatFieldAndBothFolders) {
    struct Case {
        const char* what;
        std::function<void(FakeRegEditView&)> change;
        bool ok;
    };
    const Case cases[] = {
        {"nothing", [](FakeRegEditView&) {}, true},
        {"blank name", [](auto& view) { view.Type(TRegEditText::Name, u"  "); }, true},
        {"no name", [](auto& view) { view.Type(TRegEditText::Name, u""); }, false},
        {"no source", [](auto& view) { view.Type(TRegEditText::From, u""); }, false},
        {"no target", [](auto& view) { view.Type(TRegEditText::To, u""); }, false},
        {"no mask", [](auto& view) { view.Type(TRegEditText::Mask, u""); }, true},
        {"no identifier", [](auto& view) { view.Type(TRegEditText::Ident, u""); }, true},
        {"no format", [](auto& view) { view.Pick(-1); }, false},
        {"no source, then a format",
         [](auto& view) {
             view.Type(TRegEditText::From, u"");
             view.Pick(0);
         },
         false},
        {"last fields deleted",
         [](auto& view) {
             view.selected = 0;
             view.form->sbDelClick();
             view.form->sbDelClick();
         },
         false},
    };
    for (const Case& test : cases) {
        TDD type("", -1, "");
        MakeComplete(type);
        Open(type);
        test.change(view_);
        EXPECT_EQ(view_.ok, test.ok) << test.what;
    }
}

TEST_F(RegEditFormTest, NameTakenByAnotherTypeIsHintedAndRefused) {
    TDL list;
    list.Add("North", 0, "");
    TDD* type = list.Add("South", 0, "");
    MakeComplete(*type);
    Open(*type, &list);
    view_.Type(TRegEditText::Name, u"north");
    EXPECT_EQ(view_.nameHint, u"Тип с таким именем уже есть");
    EXPECT_FALSE(view_.ok);
    view_.Type(TRegEditText::Name, u"a\\b");
    EXPECT_EQ(view_.nameHint, u"Имя не может содержать «\\»");
    view_.Type(TRegEditText::Name, u"South");
    EXPECT_EQ(view_.nameHint, u"");
    EXPECT_TRUE(view_.ok);
}

TEST_F(RegEditFormTest, FormatChangeSetsIdentifierAndCodeColumn) {
    TDD type("", -1, "");
    Open(type);
    view_.Pick(0);
    EXPECT_EQ(view_.texts[TRegEditText::Ident], u"АМТ");
    EXPECT_EQ(view_.codeColumn, u"Шифр");
    view_.Type(TRegEditText::Ident, u"typed");
    view_.Pick(1);
    EXPECT_EQ(view_.texts[TRegEditText::Ident], u"R_AMT");
    EXPECT_EQ(view_.codeColumn, u"Смещение");
    view_.Type(TRegEditText::Ident, u"typed");
    view_.Pick(0);
    EXPECT_EQ(view_.texts[TRegEditText::Ident], u"АМТ");
}

TEST_F(RegEditFormTest, SpecialProductsEnableTheRolesOfTheFormat) {
    struct Case {
        bool ticked;
        int format;
        std::vector<std::u16string> enabled;
    };
    const Case cases[] = {
        {false, 0, {}},
        {false, 1, {}},
        {true, -1, {u"Beg", u"KodObj"}},  // these two need no format
        {true, 0, {u"Beg", u"End", u"KodObj", u"Ceria", u"TipZnak"}},
        {true, 1, {u"Beg", u"KodObj"}},
    };
    for (const Case& test : cases) {
        TDD type("", -1, "");
        Open(type);
        view_.Pick(test.format);
        view_.Tick(test.ticked);
        EXPECT_EQ(EnabledRoles(), test.enabled) << test.ticked << " " << test.format;
        // The other order: ticked first, then the format picked.
        TDD other("", -1, "");
        Open(other);
        view_.Tick(test.ticked);
        view_.Pick(test.format);
        EXPECT_EQ(EnabledRoles(), test.enabled) << test.ticked << " " << test.format;
    }
    TDD stored("", 0, "");
    stored.SpecProd = true;
    Open(stored);
    EXPECT_EQ(EnabledRoles().size(), 5u);
}

TEST_F(RegEditFormTest, OkWritesTheSettingsWithTheFoldersClosed) {
    TDD type("", -1, "");
    MakeComplete(type);
    Open(type);
    const std::u16string closed = std::u16string(u"ready") + char16_t(kSeparator);
    view_.Type(TRegEditText::Name, u"Юг");
    view_.Type(TRegEditText::From, u"source");
    view_.Type(TRegEditText::To, closed);
    view_.Type(TRegEditText::Mask, u"");
    view_.Pick(0);
    view_.Type(TRegEditText::Ident, u"");
    view_.Tick(true);
    view_.roleTexts[TRole::Beg] = u"NUMBER";
    view_.roleTexts[TRole::End] = u"free text";
    view_.roleTexts[TRole::Ceria] = u"C";
    view_.roleTexts[TRole::KodObj] = u"K";
    view_.roleTexts[TRole::TipZnak] = u"T";
    form_->ButtonsClickOk();
    EXPECT_EQ(view_.closedOk, 1);
    EXPECT_EQ(type.Name, "\xDE\xE3");
    EXPECT_EQ(type.From, std::string("source") + kSeparator);
    EXPECT_EQ(type.To, std::string("ready") + kSeparator);
    EXPECT_EQ(type.Mask, "*.*");
    EXPECT_EQ(type.Codec, 0);
    EXPECT_EQ(type.Ident, "");
    EXPECT_TRUE(type.SpecProd);
    EXPECT_EQ(type.Beg, "NUMBER");
    EXPECT_EQ(type.End, "free text");
    EXPECT_EQ(type.Ceria, "C");
    EXPECT_EQ(type.KodObj, "K");
    EXPECT_EQ(type.TipZnak, "T");
}

// Without OK the type's own settings stay; its field list does not wait.
TEST_F(RegEditFormTest, CancelKeepsTheSettingsButNotTheFieldChanges) {
    TDD type("", -1, "");
    MakeComplete(type);
    Open(type);
    view_.Type(TRegEditText::Name, u"other");
    view_.Pick(0);
    view_.Type(TRegEditText::Mask, u"*.txt");
    view_.selected = 0;
    form_->sbDelClick();
    EXPECT_EQ(type.Name, "t");
    EXPECT_EQ(type.Codec, 1);
    EXPECT_EQ(type.Ident, "mine");
    EXPECT_EQ(type.Mask, "");
    ASSERT_NE(type.First, nullptr);
    EXPECT_EQ(type.First->Name, u"PRICE");
    EXPECT_EQ(type.First->Next, nullptr);
}

TEST_F(RegEditFormTest, AddedFieldGetsTheFormatAndARowOfItsOwn) {
    TDD type("", -1, "");
    MakeComplete(type);
    Open(type);
    view_.Pick(0);
    view_.fieldEditor = [](TDF& field) {
        EXPECT_EQ(field.Name, u"");
        field.Name = u"ИМЯ";
        field.Size = 20;
        field.Code = 5;
        field.ACode = 7;
        return true;
    };
    form_->sbAddClick();
    EXPECT_EQ(view_.keysSeen, (std::vector<int>{0}));
    ASSERT_EQ(view_.rows.size(), 3u);
    EXPECT_EQ(view_.rows[2].Name, u"ИМЯ");
    EXPECT_EQ(view_.rows[2].Code, u"5");
    EXPECT_EQ(view_.rows[2].ACode, u"7");
    EXPECT_EQ(view_.selected, 2);
    EXPECT_TRUE(view_.fieldButtons);
    EXPECT_EQ(view_.roleItems, (std::vector<std::u16string>{u"NUMBER", u"PRICE", u"ИМЯ"}));
    const TDF* added = type.First->Next->Next;
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->Name, u"ИМЯ");
    EXPECT_EQ(added->ACode, 7);

    view_.fieldEditor = [](TDF& field) {
        field.Name = u"LOST";
        return false;
    };
    form_->sbAddClick();
    EXPECT_EQ(view_.rows.size(), 3u);
    EXPECT_EQ(added->Next, nullptr);
}

TEST_F(RegEditFormTest, ChangedFieldIsShownAndOfferedToTheRoles) {
    TDD type("", -1, "");
    MakeComplete(type);
    type.Beg = "PRICE";
    Open(type);
    view_.selected = 1;
    view_.fieldEditor = [](TDF& field) {
        field.Name = u"COST";
        field.Size = 8;
        return true;
    };
    form_->ListDblClick();
    EXPECT_EQ(view_.keysSeen, (std::vector<int>{1}));
    EXPECT_EQ(view_.rows[1].Name, u"COST");
    EXPECT_EQ(view_.rows[1].Size, u"8");
    EXPECT_EQ(view_.roleItems, (std::vector<std::u16string>{u"NUMBER", u"COST"}));
    EXPECT_EQ(view_.roleTexts[TRole::Beg], u"PRICE");  // the role's text stays

    view_.fieldEditor = [](TDF&) { return false; };
    form_->sbSetClick();
    EXPECT_EQ(view_.rows[1].Name, u"COST");
    view_.selected = -1;
    form_->sbSetClick();
    EXPECT_EQ(view_.keysSeen.size(), 2u);
}

TEST_F(RegEditFormTest, DeletedFieldLeavesTheTopRowSelectedAndTheRoleText) {
    TDD type("", -1, "");
    MakeComplete(type);
    type.KodObj = "PRICE";
    Open(type);
    view_.selected = 1;
    form_->sbDelClick();
    EXPECT_EQ(view_.rows.size(), 1u);
    EXPECT_EQ(view_.selected, 0);
    EXPECT_TRUE(view_.fieldButtons);
    EXPECT_EQ(view_.roleItems, (std::vector<std::u16string>{u"NUMBER"}));
    EXPECT_EQ(view_.roleTexts[TRole::KodObj], u"PRICE");
    EXPECT_EQ(type.First->Next, nullptr);
    form_->sbDelClick();
    EXPECT_EQ(view_.selected, -1);
    EXPECT_FALSE(view_.fieldButtons);
    EXPECT_EQ(type.First, nullptr);
}

TEST_F(RegEditFormTest, BrowseStartsAtTheFolderAndTakesTheChosenOne) {
    TDD type("", -1, "");
    MakeComplete(type);
    type.To = "";
    Open(type);
    EXPECT_FALSE(view_.ok);
    view_.chosen = std::nullopt;
    form_->edFromButtonClick();
    EXPECT_EQ(view_.texts[TRegEditText::From], u"in");
    view_.chosen = u"/data/out";
    form_->edToButtonClick();
    EXPECT_EQ(view_.startsSeen, (std::vector<std::u16string>{u"in", u""}));
    EXPECT_EQ(view_.texts[TRegEditText::To], u"/data/out");
    EXPECT_TRUE(view_.ok);
}

}  // namespace
