// TfmDirectory: the directory dialog "Выбор каталога" of the type editor's
// browse buttons. "Каталоги" shows the path of the open directory from its
// volume's root down, then the directories in it; "Диски" offers the
// browsable volumes; "Имя каталога" holds the directory that OK takes.
#pragma once

#include <QDialog>
#include <vector>

#include "ui/qt/browsable_volumes.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;
class QPushButton;

class TfmDirectory : public QDialog {
    Q_OBJECT
  public:
    // Opens `start`, or its nearest existing parent, or else the home folder.
    TfmDirectory(const QString& start, QWidget* owner = nullptr,
                 std::vector<TVolume> volumes = BrowsableVolumes());

    // The directory named in "Имя каталога", as an absolute path (a relative
    // name is taken from the open directory).
    QString Directory() const;

    QLabel* lbName;
    QLineEdit* edName;
    QLabel* lbDirectories;
    QTreeWidget* Directories;
    QLabel* lbDrives;
    QComboBox* cbDrives;
    QPushButton* btOk;
    QPushButton* btCancel;
    QPushButton* btHelp;

  protected:
    // Enter on a row of "Каталоги" opens that directory, as a double click does.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // Makes `directory` the open one: the list, the name and the drive follow.
    void Open(const QString& directory);
    void ApplyOkRule();

    std::vector<TVolume> volumes_;
    QString open_;
};

// Runs the dialog starting at `start`; the confirmed directory, or an empty
// text when the operator cancels.
QString ChooseDirectoryDialog(QWidget* owner, const QString& start);
