#include "ui/forms/reg_edit_form.h"

#include <filesystem>
#include <stdexcept>
#include <string>

#include "config/transport_format.h"
#include "platform/text/codepage.h"
#include "ui/forms/type_name_rule.h"

namespace {

using platform::Cp1251ToUtf16;
using platform::Utf16ToCp1251;

TFieldRow RowOf(const TDF& field) {
    const auto number = [](int32_t value) {
        const std::string digits = std::to_string(value);
        return std::u16string(digits.begin(), digits.end());
    };
    return {field.Name, number(field.Size), number(field.Code), number(field.ACode)};
}

// Folders are stored with the system's trailing separator, so that the mask
// and file names can be appended directly.
AnsiString WithTrailingSeparator(AnsiString folder) {
    constexpr char kSeparator = char(std::filesystem::path::preferred_separator);
    if (folder.empty() || folder.back() != kSeparator) {
        folder += kSeparator;
    }
    return folder;
}

AnsiString& RoleOf(TDD& type, TRole role) {
    switch (role) {
        case TRole::Beg:
            return type.Beg;
        case TRole::End:
            return type.End;
        case TRole::KodObj:
            return type.KodObj;
        case TRole::Ceria:
            return type.Ceria;
        case TRole::TipZnak:
            return type.TipZnak;
    }
    throw std::invalid_argument("no such role of special products");
}

bool Enables(const TSpecialRoles& roles, TRole role) {
    switch (role) {
        case TRole::Beg:
            return roles.Beg;
        case TRole::End:
            return roles.End;
        case TRole::KodObj:
            return roles.KodObj;
        case TRole::Ceria:
            return roles.Ceria;
        case TRole::TipZnak:
            return roles.TipZnak;
    }
    throw std::invalid_argument("no such role of special products");
}

}  // namespace

TRegEditForm::TRegEditForm(TRegEditView& view, TDD& type, const TDL* list)
    : view_(view), type_(type), list_(list) {}

void TRegEditForm::Open() {
    view_.SetText(TRegEditText::Name, Cp1251ToUtf16(type_.Name));
    view_.SetText(TRegEditText::From, Cp1251ToUtf16(type_.From));
    view_.SetText(TRegEditText::Mask, Cp1251ToUtf16(type_.Mask));
    view_.SetText(TRegEditText::To, Cp1251ToUtf16(type_.To));
    // Showing the stored format is no format change: the stored identifier
    // and the column caption "Код" stay. A Codec that is no item index
    // selects nothing.
    const int32_t codec = type_.Codec;
    view_.SetCodec(codec >= 0 && size_t(codec) < kTransportFormatCount ? codec : -1);
    view_.SetCodeColumn(TransportFormatOf(-1).CodeColumn);
    view_.SetText(TRegEditText::Ident, Cp1251ToUtf16(type_.Ident));
    view_.SetSpecProd(type_.SpecProd);
    ApplySpecProdRule();
    for (const TRole role : kRoles) {
        view_.SetRoleText(role, Cp1251ToUtf16(RoleOf(type_, role)));
    }
    for (TDF* field = type_.First; field != nullptr; field = field->Next) {
        AppendRow(*field);
    }
    RebuildRoleLists();
    view_.SelectFieldRow(rows_.empty() ? -1 : 0);
    ListSelectItem();
    ApplyOkRule();
}

void TRegEditForm::AppendRow(TDF& field) {
    rows_.push_back(&field);
    view_.AppendFieldRow(RowOf(field));
}

TDF* TRegEditForm::SelectedField() const {
    const int row = view_.SelectedFieldRow();
    return row >= 0 && size_t(row) < rows_.size() ? rows_[size_t(row)] : nullptr;
}

void TRegEditForm::ApplyOkRule() {
    const std::u16string name = view_.Text(TRegEditText::Name);
    const std::u16string nameProblem = TypeNameProblem(name, list_, &type_);
    view_.ShowNameHint(nameProblem);
    view_.EnableOk(!name.empty() && nameProblem.empty() && view_.Codec() >= 0 && !rows_.empty() &&
                   !view_.Text(TRegEditText::From).empty() &&
                   !view_.Text(TRegEditText::To).empty());
}

void TRegEditForm::ApplySpecProdRule() {
    const bool ticked = view_.SpecProd();
    const TSpecialRoles& roles = TransportFormatOf(view_.Codec()).EditorRoles;
    for (const TRole role : kRoles) {
        view_.EnableRole(role, ticked && Enables(roles, role));
    }
}

// The role texts stay as they are, also when they name a field that was
// renamed or deleted.
void TRegEditForm::RebuildRoleLists() {
    std::vector<std::u16string> names;
    for (const TDF* field : rows_) {
        names.push_back(field->Name);
    }
    view_.SetRoleItems(names);
}

void TRegEditForm::edNameChange() {
    ApplyOkRule();
}

void TRegEditForm::cbCodecChange() {
    ApplyOkRule();
    ApplySpecProdRule();
    // The identifier follows every format change, also over a typed one.
    const TTransportFormat& format = TransportFormatOf(view_.Codec());
    if (format.IsFormat()) {
        view_.SetText(TRegEditText::Ident, format.DefaultIdent);
        view_.SetCodeColumn(format.CodeColumn);
    }
}

void TRegEditForm::cbSpecProdClick() {
    ApplySpecProdRule();
}

void TRegEditForm::ListSelectItem() {
    view_.EnableFieldButtons(SelectedField() != nullptr);
}

void TRegEditForm::sbAddClick() {
    // The field editor fills a free field; the type gets a field of its own
    // only when the editor is confirmed.
    TDF scratch("", 0, 0, 0);
    scratch.Key = view_.Codec();
    if (!view_.RunFieldEditor(scratch, type_)) {
        return;
    }
    AppendRow(*type_.Add(Utf16ToCp1251(scratch.Name), scratch.Size, scratch.Code, scratch.ACode));
    view_.SelectFieldRow(int(rows_.size()) - 1);
    ListSelectItem();
    RebuildRoleLists();
    ApplyOkRule();
}

void TRegEditForm::sbSetClick() {
    TDF* field = SelectedField();
    if (field == nullptr) {
        return;
    }
    field->Key = view_.Codec();
    if (!view_.RunFieldEditor(*field, type_)) {
        return;
    }
    view_.SetFieldRow(view_.SelectedFieldRow(), RowOf(*field));
    RebuildRoleLists();
}

void TRegEditForm::ListDblClick() {
    sbSetClick();
}

void TRegEditForm::sbDelClick() {
    TDF* field = SelectedField();
    if (field == nullptr) {
        return;
    }
    const int row = view_.SelectedFieldRow();
    rows_.erase(rows_.begin() + row);
    view_.RemoveFieldRow(row);
    delete type_.Remove(field);
    view_.SelectFieldRow(rows_.empty() ? -1 : view_.TopVisibleFieldRow());
    ListSelectItem();
    RebuildRoleLists();
    ApplyOkRule();
}

void TRegEditForm::Browse(TRegEditText folder) {
    if (const auto chosen = view_.ChooseFolder(view_.Text(folder))) {
        view_.SetText(folder, *chosen);
        ApplyOkRule();
    }
}

void TRegEditForm::edFromButtonClick() {
    Browse(TRegEditText::From);
}

void TRegEditForm::edToButtonClick() {
    Browse(TRegEditText::To);
}

void TRegEditForm::ButtonsClickOk() {
    const auto text = [this](TRegEditText which) { return Utf16ToCp1251(view_.Text(which)); };
    type_.Name = text(TRegEditText::Name);
    type_.From = WithTrailingSeparator(text(TRegEditText::From));
    type_.Mask =
        view_.Text(TRegEditText::Mask).empty() ? AnsiString("*.*") : text(TRegEditText::Mask);
    type_.To = WithTrailingSeparator(text(TRegEditText::To));
    type_.Codec = view_.Codec();
    type_.Ident = text(TRegEditText::Ident);
    type_.SpecProd = view_.SpecProd();
    for (const TRole role : kRoles) {
        RoleOf(type_, role) = Utf16ToCp1251(view_.RoleText(role));
    }
    view_.CloseOk();
}
