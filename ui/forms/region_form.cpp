#include "ui/forms/region_form.h"

#include <exception>
#include <memory>
#include <string>
#include <utility>

#include "platform/text/codepage.h"

TRegionForm::TRegionForm(TRegionView& view, std::filesystem::path storeFile)
    : view_(view), storeFile_(std::move(storeFile)) {}

void TRegionForm::Open() {
    if (const TStoreLoad found = DL.Load(storeFile_); !found.CloseError.empty()) {
        view_.Note(found.CloseError);
    }
    view_.SetAutoRun(DL.AutoRun);
    for (TDD* type = DL.First; type != nullptr; type = type->Next) {
        AppendRow(*type);
    }
    view_.SelectRow(rows_.empty() ? -1 : 0);
    ListClick();
}

void TRegionForm::AppendRow(TDD& type) {
    rows_.push_back(&type);
    view_.AppendRow(platform::Cp1251ToUtf16(type.Name));
}

TDD* TRegionForm::SelectedType() const {
    const int row = view_.SelectedRow();
    return row >= 0 && size_t(row) < rows_.size() ? rows_[size_t(row)] : nullptr;
}

// The button rule: "Изменить" and "Удалить" act on the selected row.
void TRegionForm::ListClick() {
    view_.EnableRowButtons(SelectedType() != nullptr);
}

void TRegionForm::ListDblClick() {
    if (SelectedType() != nullptr) {
        sbSetClick();
    }
}

void TRegionForm::sbAddClick() {
    auto type = std::make_unique<TDD>("", -1, "");
    if (!view_.RunTypeEditor(*type, DL)) {
        return;  // the abandoned type dies here; nothing was stored
    }
    AppendRow(*DL.Add(type.release()));
    view_.SelectRow(int(rows_.size()) - 1);
    ListClick();
    Save();
}

void TRegionForm::sbSetClick() {
    TDD* type = SelectedType();
    if (type == nullptr) {
        return;
    }
    if (view_.RunTypeEditor(*type, DL)) {
        view_.SetRowText(view_.SelectedRow(), platform::Cp1251ToUtf16(type->Name));
        Save();
    }
    ListClick();
}

void TRegionForm::sbDelClick() {
    TDD* type = SelectedType();
    if (type == nullptr) {
        return;
    }
    const int row = view_.SelectedRow();
    rows_.erase(rows_.begin() + row);
    view_.RemoveRow(row);
    delete DL.Remove(type);
    view_.SelectRow(-1);
    Save();
    ListClick();
}

void TRegionForm::FormClose() {
    DL.AutoRun = view_.AutoRun();
    Save();
}

void TRegionForm::Save() {
    try {
        // A note, unlike a failure, is not shown: the save worked.
        for (const std::string& note : DL.Save(storeFile_).Notes()) {
            view_.Note(note);
        }
    } catch (const std::exception& error) {
        view_.ShowSaveError(error.what());
    }
}
