// TfmRegion: the list of update types. It adds, changes and deletes types
// through the type editor, holds the automatic-start switch, and stores the
// whole configuration after every confirmed change and when it closes.
#pragma once

#include <QDialog>
#include <filesystem>
#include <functional>

#include "config/descriptors.h"
#include "platform/store/registry_store.h"

class QCheckBox;
class QListWidget;
class QPushButton;
class QToolButton;
class ListToolBar;

class TfmRegion : public QDialog {
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
    const TDL& Types() const { return DL_; }

    // Closing runs FormClose before the dialog ends.
    void done(int result) override;

    QListWidget* List;
    QToolButton* sbAdd;
    QToolButton* sbSet;
    QToolButton* sbDel;
    QCheckBox* cbAuto;
    QPushButton* btClose;

  private:
    void ListClick();
    void sbAddClick();
    void sbSetClick();
    void sbDelClick();
    void FormClose();

    void AppendRow(TDD& type);
    TDD* SelectedType() const;
    // Replaces the stored configuration by the dialog's; a failure is shown
    // and the stored configuration stays the previous one.
    void Save();

    ListToolBar* tools_;
    TDL DL_;
    std::filesystem::path storeFile_;
};
