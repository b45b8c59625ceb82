// TfmRegion: the list of update types, the Qt view of TRegionForm.
#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>

#include "config/descriptors.h"
#include "platform/store/registry_store.h"
#include "ui/forms/region_form.h"

class QCheckBox;
class QListWidget;
class QPushButton;
class QToolButton;
class ListToolBar;

class TfmRegion : public QDialog, private TRegionView {
    Q_OBJECT
  public:
    // Loads the configuration from `storeFile` and fills the list; the opener
    // then runs the dialog with exec(). Closing it ("Закрыть", Esc or the
    // close box) stores the configuration with the switch's state.
    explicit TfmRegion(QWidget* owner = nullptr,
                       std::filesystem::path storeFile = platform::RegistryStore::UserStorePath());

    // Opens the type editor on a type; true when the operator confirmed. The
    // default runs TfmRegEdit.
    std::function<bool(TDD& type)> EditType;
    // Shows why storing the configuration failed. The default shows the
    // application's standard exception box.
    std::function<void(const QString& message)> ShowError;

    // The dialog's own copy of the configuration.
    const TDL& Types() const { return form_.Types(); }

    // Closing runs FormClose before the dialog ends.
    void done(int result) override;

    QListWidget* List;
    QToolButton* sbAdd;
    QToolButton* sbSet;
    QToolButton* sbDel;
    QCheckBox* cbAuto;
    QPushButton* btClose;

  private:
    // TRegionView.
    void AppendRow(std::u16string_view text) override;
    void SetRowText(int row, std::u16string_view text) override;
    void RemoveRow(int row) override;
    void SelectRow(int row) override;
    int SelectedRow() const override;
    void EnableRowButtons(bool enabled) override;
    void SetAutoRun(bool checked) override;
    bool AutoRun() const override;
    bool RunTypeEditor(TDD& type, const TDL& types) override;
    void ShowSaveError(const std::string& message) override {
        ShowError(QString::fromUtf8(message));
    }
    void Note(const std::string& text) override;

    ListToolBar* tools_;
    TRegionForm form_;
};
