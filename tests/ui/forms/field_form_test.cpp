#include "ui/forms/field_form.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

namespace {

// A field editor as a toolkit draws it: the spin edits keep their ranges and
// report a change of the code.
class FakeFieldView : public TFieldView {
  public:
    std::u16string NameText() const override { return name; }
    void SetNameText(std::u16string_view text) override { name = text; }
    void ShowNameHint(std::u16string_view text) override { hint = text; }
    int Number(TFieldNumber which) const override { return numbers.at(which); }
    void SetNumber(TFieldNumber which, int value) override {
        const TNumberRange range = TFieldForm::RangeOf(which);
        value = std::clamp(value, range.Minimum, range.Maximum);
        const bool changed = numbers[which] != value;
        numbers[which] = value;
        if (which == TFieldNumber::Code && changed && form != nullptr) {
            form->seCodeChange(value);
        }
    }
    void SetCodeCaption(std::u16string_view text) override { codeCaption = text; }
    void EnableOk(bool enabled) override { ok = enabled; }
    void CloseOk() override { ++closedOk; }

    // The operator types a name.
    void Type(std::u16string_view text) {
        name = text;
        form->edNameChange();
    }

    TFieldForm* form = nullptr;
    std::u16string name;
    std::u16string hint;
    std::map<TFieldNumber, int> numbers;
    std::u16string codeCaption;
    bool ok = true;
    int closedOk = 0;
};

class FieldFormTest : public ::testing::Test {
  protected:
    // Opens the editor on `field` with the format index `codec`.
    TFieldForm& Open(TDF& field, int codec, const TDD* type = nullptr) {
        field.Key = codec;
        form_.emplace(view_, field, type);
        view_.form = &*form_;
        form_->Open();
        return *form_;
    }

    FakeFieldView view_;
    std::optional<TFieldForm> form_;
};

TEST_F(FieldFormTest, RangesOfTheSpinEdits) {
    EXPECT_EQ(TFieldForm::RangeOf(TFieldNumber::Size).Minimum, 1);
    EXPECT_EQ(TFieldForm::RangeOf(TFieldNumber::Size).Maximum, 255);
    // Offsets of the Moscow-region format are codes too.
    for (const TFieldNumber code : {TFieldNumber::Code, TFieldNumber::ACode}) {
        EXPECT_EQ(TFieldForm::RangeOf(code).Minimum, 1);
        EXPECT_EQ(TFieldForm::RangeOf(code).Maximum, 100);
    }
}

TEST_F(FieldFormTest, NewFieldOpensEmptyWithOkDisabled) {
    TDF field("", 0, 0, 0);
    Open(field, 0);
    EXPECT_EQ(view_.name, u"");
    EXPECT_EQ(view_.numbers[TFieldNumber::Size], 1);
    EXPECT_EQ(view_.numbers[TFieldNumber::Code], 1);
    EXPECT_EQ(view_.numbers[TFieldNumber::ACode], 1);
    EXPECT_FALSE(view_.ok);
    EXPECT_EQ(view_.hint, u"");
}

// Setting the code on opening copies it into the alternative code; the stored
// alternative code is set after it and stands.
TEST_F(FieldFormTest, OpeningKeepsAStoredAlternativeCode) {
    TDF field("NUMBER", 20, 5, 7);
    Open(field, 0);
    EXPECT_EQ(view_.name, u"NUMBER");
    EXPECT_EQ(view_.numbers[TFieldNumber::Size], 20);
    EXPECT_EQ(view_.numbers[TFieldNumber::Code], 5);
    EXPECT_EQ(view_.numbers[TFieldNumber::ACode], 7);
    EXPECT_TRUE(view_.ok);
}

TEST_F(FieldFormTest, CodeChangeSetsTheAlternativeCode) {
    TDF field("NUMBER", 20, 5, 7);
    Open(field, 0);
    view_.SetNumber(TFieldNumber::Code, 12);
    EXPECT_EQ(view_.numbers[TFieldNumber::ACode], 12);
    view_.SetNumber(TFieldNumber::ACode, 3);
    EXPECT_EQ(view_.numbers[TFieldNumber::ACode], 3);
    EXPECT_EQ(view_.numbers[TFieldNumber::Code], 12);
}

TEST_F(FieldFormTest, CodeCaptionFollowsTheFormat) {
    const std::map<int, std::u16string> captions{
        {0, u"Шифр"}, {1, u"Смещение"}, {-1, u"Шифр поля"}, {7, u"Шифр поля"}};
    for (const auto& [codec, caption] : captions) {
        TDF field("", 0, 0, 0);
        Open(field, codec);
        EXPECT_EQ(view_.codeCaption, caption) << codec;
    }
}

struct NameCase {
    std::u16string typed;
    bool ok;
    std::u16string hint;
};

TEST_F(FieldFormTest, NameRulesKeepOkDisabledAndTellWhyBesideTheName) {
    TDD type("t", 0, "");
    TDF* other = type.Add("PRICE", 10, 2, 2);
    TDF* edited = type.Add("NUMBER", 10, 1, 1);
    const NameCase cases[] = {
        {u"", false, u""},
        {u"   ", false, u""},
        {u"  NAME ", true, u""},
        {u"NUMBER", true, u""},  // its own name
        {u"price", false, u"Поле с таким именем уже есть"},
        {u"ИМЯ", true, u""},
        {u"1NAME", false, u"Имя поля должно начинаться с буквы"},
        {u"ABCDEFGHIJK", false, u"Имя поля длиннее 10 знаков"},
        {u"A-B", false, u"В имени поля допустимы только буквы, цифры и «_»"},
        {u"名前", false, u"Имя содержит знаки вне кодировки Windows-1251"},
    };
    Open(*edited, 0, &type);
    for (const NameCase& name : cases) {
        view_.Type(name.typed);
        EXPECT_EQ(view_.ok, name.ok) << std::string(name.typed.begin(), name.typed.end());
        EXPECT_EQ(view_.hint, name.hint) << std::string(name.typed.begin(), name.typed.end());
    }
    EXPECT_EQ(other->Name, u"PRICE");
}

TEST_F(FieldFormTest, OkWritesTheTrimmedNameAndTheNumbers) {
    TDF field("", 0, 0, 0);
    TFieldForm& form = Open(field, 1);
    view_.Type(u"  NAME \t");
    view_.SetNumber(TFieldNumber::Size, 30);
    view_.SetNumber(TFieldNumber::Code, 12);
    view_.SetNumber(TFieldNumber::ACode, 3);
    EXPECT_EQ(field.Name, u"");  // nothing written before OK
    EXPECT_EQ(field.Size, 0);
    form.ButtonsClickOk();
    EXPECT_EQ(view_.closedOk, 1);
    EXPECT_EQ(field.Name, u"NAME");
    EXPECT_EQ(field.Size, 30);
    EXPECT_EQ(field.Code, 12);
    EXPECT_EQ(field.ACode, 3);
}

}  // namespace
