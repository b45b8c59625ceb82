#include "ui/forms/field_form.h"

#include "config/transport_format.h"
#include "engine/dbf/dbf_field_name.h"
#include "ui/forms/blank_trim.h"

namespace {

std::u16string_view FieldNameFaultText(dbf::FieldNameFault fault) {
    switch (fault) {
        case dbf::FieldNameFault::Empty:
            return {};  // the OK rule already asks for a name
        case dbf::FieldNameFault::OutsideCodePage:
            return u"Имя содержит знаки вне кодировки Windows-1251";
        case dbf::FieldNameFault::TooLong:
            return u"Имя поля длиннее 10 знаков";
        case dbf::FieldNameFault::NoLeadingLetter:
            return u"Имя поля должно начинаться с буквы";
        case dbf::FieldNameFault::BadCharacter:
            return u"В имени поля допустимы только буквы, цифры и «_»";
    }
    return {};
}

}  // namespace

TFieldForm::TFieldForm(TFieldView& view, TDF& field, const TDD* type)
    : view_(view), field_(field), type_(type) {}

TNumberRange TFieldForm::RangeOf(TFieldNumber which) {
    return which == TFieldNumber::Size ? TNumberRange{1, 255} : TNumberRange{1, 100};
}

void TFieldForm::Open() {
    view_.SetNameText(field_.Name);
    // The code first: setting it copies it into the alternative code, which
    // then gets its own stored value.
    view_.SetNumber(TFieldNumber::Size, field_.Size);
    view_.SetNumber(TFieldNumber::Code, field_.Code);
    view_.SetNumber(TFieldNumber::ACode, field_.ACode);
    edNameChange();
    view_.SetCodeCaption(TransportFormatOf(field_.Key).FieldCodeCaption);
}

std::u16string TFieldForm::NameProblem(std::u16string_view name) const {
    if (const auto fault = dbf::CheckFieldName(name)) {
        return std::u16string(FieldNameFaultText(*fault));
    }
    if (type_ != nullptr) {
        const AnsiString stored = dbf::StoredFieldName(name);
        for (const TDF* other = type_->First; other != nullptr; other = other->Next) {
            if (other != &field_ && dbf::StoredFieldName(other->Name) == stored) {
                return u"Поле с таким именем уже есть";
            }
        }
    }
    return {};
}

void TFieldForm::edNameChange() {
    const std::u16string name = TrimBlanks(view_.NameText());
    const std::u16string problem = NameProblem(name);
    view_.ShowNameHint(problem);
    view_.EnableOk(!name.empty() && problem.empty());
}

void TFieldForm::seCodeChange(int value) {
    view_.SetNumber(TFieldNumber::ACode, value);
}

void TFieldForm::ButtonsClickOk() {
    field_.Name = TrimBlanks(view_.NameText());
    field_.Size = view_.Number(TFieldNumber::Size);
    field_.Code = view_.Number(TFieldNumber::Code);
    field_.ACode = view_.Number(TFieldNumber::ACode);
    view_.CloseOk();
}
