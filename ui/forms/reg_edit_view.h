// What the update-type editor shows, as its form tells it: the toolkit's
// dialog implements it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "config/descriptors.h"

// The edit boxes: edName, edFrom, edMask, edIdent, edTo.
enum class TRegEditText { Name, From, Mask, Ident, To };

// The role rows of special products, each with its editable drop-down:
// lbBeg / cbBeg, lbEnd / cbEnd, lbKodObj / cbKodObj, lbCeria / cbCeria,
// lbTipZnak / cbTipZnak.
enum class TRole { Beg, End, KodObj, Ceria, TipZnak };
inline constexpr TRole kRoles[] = {TRole::Beg, TRole::End, TRole::KodObj, TRole::Ceria,
                                   TRole::TipZnak};

// A row of the field list, as it is shown.
struct TFieldRow {
    std::u16string Name;
    std::u16string Size;
    std::u16string Code;
    std::u16string ACode;
};

class TRegEditView {
  public:
    virtual ~TRegEditView() = default;

    virtual std::u16string Text(TRegEditText which) const = 0;
    virtual void SetText(TRegEditText which, std::u16string_view text) = 0;
    // Why the name cannot be taken, beside it; hidden when empty.
    virtual void ShowNameHint(std::u16string_view text) = 0;
    // cbCodec's selected item; -1 none. Setting it is no format change.
    virtual int Codec() const = 0;
    virtual void SetCodec(int index) = 0;
    // cbSpecProd.
    virtual bool SpecProd() const = 0;
    virtual void SetSpecProd(bool checked) = 0;
    // A role row with its box.
    virtual void EnableRole(TRole role, bool enabled) = 0;
    virtual std::u16string RoleText(TRole role) const = 0;
    virtual void SetRoleText(TRole role, std::u16string_view text) = 0;
    // Replaces the drop-down lists of all role boxes; their texts stay.
    virtual void SetRoleItems(const std::vector<std::u16string>& names) = 0;
    // The caption of the field list's code column.
    virtual void SetCodeColumn(std::u16string_view caption) = 0;
    // The rows of List, by index; -1: no row.
    virtual void AppendFieldRow(const TFieldRow& row) = 0;
    virtual void SetFieldRow(int row, const TFieldRow& shown) = 0;
    virtual void RemoveFieldRow(int row) = 0;
    virtual void SelectFieldRow(int row) = 0;
    virtual int SelectedFieldRow() const = 0;
    virtual int TopVisibleFieldRow() const = 0;
    // "Изменить" and "Удалить".
    virtual void EnableFieldButtons(bool enabled) = 0;
    virtual void EnableOk(bool enabled) = 0;
    // Runs the field editor modally on `field`, whose Key holds the format;
    // `type` holds the names the field's must differ from. True on OK.
    virtual bool RunFieldEditor(TDF& field, const TDD& type) = 0;
    // "Выбор каталога" starting at `start`; nothing when cancelled.
    virtual std::optional<std::u16string> ChooseFolder(std::u16string_view start) = 0;
    // Ends the modal run with the result OK.
    virtual void CloseOk() = 0;
};
