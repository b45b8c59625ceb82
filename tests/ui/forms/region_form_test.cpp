#include "ui/forms/region_form.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/temp_directory.h"

namespace {

// An update list as a toolkit draws it; the type editor is a function.
class FakeRegionView : public TRegionView {
  public:
    void AppendRow(std::u16string_view text) override { rows.emplace_back(text); }
    void SetRowText(int row, std::u16string_view text) override { rows.at(size_t(row)) = text; }
    void RemoveRow(int row) override { rows.erase(rows.begin() + row); }
    void SelectRow(int row) override { selected = row; }
    int SelectedRow() const override { return selected; }
    void EnableRowButtons(bool enabled) override { rowButtons = enabled; }
    void SetAutoRun(bool checked) override { autoRun = checked; }
    bool AutoRun() const override { return autoRun; }
    bool RunTypeEditor(TDD& type, const TDL&) override {
        ++editorRuns;
        return editor && editor(type);
    }
    void ShowSaveError(const std::string& message) override { errors.push_back(message); }
    void Note(const std::string& text) override { notes.push_back(text); }

    std::vector<std::u16string> rows;
    int selected = -2;  // not told yet
    bool rowButtons = true;
    bool autoRun = false;
    std::function<bool(TDD&)> editor;  // the operator's edit; true for OK
    int editorRuns = 0;
    std::vector<std::string> errors;
    std::vector<std::string> notes;
};

class RegionFormTest : public ::testing::Test {
  protected:
    void Store(std::initializer_list<const char*> names, bool autoRun = false) {
        TDL types;
        types.AutoRun = autoRun;
        for (const char* name : names) {
            types.Add(name, 0, "")->Add("NUMBER", 10, 1, 1);
        }
        types.Save(store_);
    }

    TRegionForm& Open() {
        form_.emplace(view_, store_);
        form_->Open();
        return *form_;
    }

    std::vector<AnsiString> StoredNames() const {
        TDL types;
        types.Load(store_);
        std::vector<AnsiString> names;
        for (const TDD* type = types.First; type != nullptr; type = type->Next) {
            names.push_back(type->Name);
        }
        return names;
    }

    TempDirectory folder_;
    const std::filesystem::path store_ = folder_.path() / "registry.reg";
    FakeRegionView view_;
    std::optional<TRegionForm> form_;
};

TEST_F(RegionFormTest, EmptyConfigurationOpensWithNothingSelected) {
    Open();
    EXPECT_TRUE(view_.rows.empty());
    EXPECT_EQ(view_.selected, -1);
    EXPECT_FALSE(view_.rowButtons);
    EXPECT_FALSE(view_.autoRun);
}

TEST_F(RegionFormTest, OpensTheTypesInOrderWithTheFirstSelected) {
    Store({"North", "\xDE\xE3"}, true);  // "Юг" in Windows-1251
    Open();
    EXPECT_EQ(view_.rows, (std::vector<std::u16string>{u"North", u"Юг"}));
    EXPECT_EQ(view_.selected, 0);
    EXPECT_TRUE(view_.rowButtons);
    EXPECT_TRUE(view_.autoRun);
}

TEST_F(RegionFormTest, ConfirmedAddAppendsSelectsAndStoresAtOnce) {
    Store({"a"});
    TRegionForm& form = Open();
    view_.editor = [](TDD& type) {
        EXPECT_EQ(type.Name, "");
        EXPECT_EQ(type.Codec, -1);
        EXPECT_EQ(type.First, nullptr);
        type.Name = "b";
        return true;
    };
    form.sbAddClick();
    EXPECT_EQ(view_.rows, (std::vector<std::u16string>{u"a", u"b"}));
    EXPECT_EQ(view_.selected, 1);
    EXPECT_TRUE(view_.rowButtons);
    EXPECT_EQ(StoredNames(), (std::vector<AnsiString>{"a", "b"}));
}

TEST_F(RegionFormTest, CancelledAddChangesNeitherTheListNorTheStore) {
    Store({"a"});
    Open();
    view_.editor = [](TDD& type) {
        type.Name = "b";
        return false;
    };
    const auto storedAt = std::filesystem::last_write_time(store_);
    form_->sbAddClick();
    EXPECT_EQ(view_.rows, (std::vector<std::u16string>{u"a"}));
    EXPECT_EQ(form_->Types().First->Next, nullptr);
    EXPECT_EQ(StoredNames(), (std::vector<AnsiString>{"a"}));
    EXPECT_EQ(std::filesystem::last_write_time(store_), storedAt);
}

TEST_F(RegionFormTest, ChangedNameIsShownAndStoredUnderTheNewNameOnly) {
    Store({"a", "b"});
    TRegionForm& form = Open();
    view_.selected = 1;
    view_.editor = [](TDD& type) {
        type.Name = "c";
        return true;
    };
    form.sbSetClick();
    EXPECT_EQ(view_.rows, (std::vector<std::u16string>{u"a", u"c"}));
    EXPECT_EQ(StoredNames(), (std::vector<AnsiString>{"a", "c"}));
}

TEST_F(RegionFormTest, DeleteStoresAtOnceAndLeavesNoRowSelected) {
    Store({"a", "b", "c"});
    TRegionForm& form = Open();
    view_.selected = 1;
    form.sbDelClick();
    EXPECT_EQ(view_.rows, (std::vector<std::u16string>{u"a", u"c"}));
    EXPECT_EQ(view_.selected, -1);
    EXPECT_FALSE(view_.rowButtons);
    EXPECT_EQ(StoredNames(), (std::vector<AnsiString>{"a", "c"}));
    // The rows still name their types.
    view_.selected = 1;
    view_.editor = [](TDD& type) { return type.Name == "c"; };
    form.ListDblClick();
    EXPECT_EQ(view_.editorRuns, 1);
    EXPECT_EQ(StoredNames(), (std::vector<AnsiString>{"a", "c"}));
}

TEST_F(RegionFormTest, DoubleClickWithNoRowSelectedDoesNothing) {
    Store({"a"});
    TRegionForm& form = Open();
    view_.selected = -1;
    form.ListDblClick();
    form.sbSetClick();
    form.sbDelClick();
    EXPECT_EQ(view_.editorRuns, 0);
    EXPECT_EQ(view_.rows.size(), 1u);
}

TEST_F(RegionFormTest, ClosingStoresTheSwitchAndTheFieldsOfACancelledEdit) {
    Store({"a"});
    TRegionForm& form = Open();
    view_.editor = [](TDD& type) {
        type.Add("PRICE", 10, 2, 2);  // the editor edits fields in place
        return false;
    };
    form.sbSetClick();
    view_.autoRun = true;
    form.FormClose();
    TDL stored;
    stored.Load(store_);
    EXPECT_TRUE(stored.AutoRun);
    ASSERT_NE(stored.First, nullptr);
    ASSERT_NE(stored.First->First, nullptr);
    EXPECT_NE(stored.First->First->Next, nullptr);
}

TEST_F(RegionFormTest, FailedSaveIsShownAndTheTypeKept) {
    Open();
    std::filesystem::remove(store_);
    std::filesystem::create_directory(store_);  // the store file cannot be written
    view_.editor = [](TDD& type) {
        type.Name = "Kept";
        return true;
    };
    form_->sbAddClick();
    EXPECT_EQ(view_.errors.size(), 1u);
    EXPECT_EQ(view_.rows, (std::vector<std::u16string>{u"Kept"}));
    std::filesystem::remove(store_);
    form_->FormClose();
    EXPECT_EQ(view_.errors.size(), 1u);
    EXPECT_EQ(StoredNames(), (std::vector<AnsiString>{"Kept"}));
}

}  // namespace
