#include "ui/qt/directory_dialog.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/qt/font_scale.h"

using namespace Qt::StringLiterals;

namespace {

// The directories as an always open tree: no branch marks to click.
class TDirectoryTree : public QTreeWidget {
  public:
    using QTreeWidget::QTreeWidget;

  protected:
    void drawBranches(QPainter* /*painter*/, const QRect& /*rect*/,
                      const QModelIndex& /*index*/) const override {}
};

QString PathOf(const QTreeWidgetItem* row) {
    return row->data(0, Qt::UserRole).toString();
}

QTreeWidgetItem* NewRow(const QString& text, const QString& path, const QIcon& icon) {
    auto* row = new QTreeWidgetItem({text});
    row->setData(0, Qt::UserRole, path);
    row->setIcon(0, icon);
    return row;
}

bool IsInside(const QString& path, const QString& root) {
    return path == root || path.startsWith(root.endsWith(u'/') ? root : root + u'/');
}

// `start`, or its nearest existing parent, or the home folder.
QString ExistingStart(const QString& start) {
    if (!start.isEmpty()) {
        QDir folder(QDir::cleanPath(QDir(start).absolutePath()));
        while (!folder.exists() && !folder.isRoot()) {
            folder.setPath(QDir::cleanPath(folder.filePath(u".."_s)));
        }
        if (folder.exists()) {
            return folder.path();
        }
    }
    return QDir::homePath();
}

QPushButton* NewButton(QWidget* parent, const char* name, const QString& caption) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QLabel* NewCaption(QWidget* parent, const char* name, const QString& caption, QWidget* buddy) {
    auto* label = new QLabel(caption, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setBuddy(buddy);
    return label;
}

}  // namespace

TfmDirectory::TfmDirectory(const QString& start, QWidget* owner, std::vector<TVolume> volumes)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      volumes_(std::move(volumes)) {
    setWindowTitle(u"Выбор каталога"_s);
    edName = new QLineEdit(this);
    edName->setObjectName(u"edName"_s);
    Directories = new TDirectoryTree(this);
    Directories->setObjectName(u"Directories"_s);
    Directories->setHeaderHidden(true);
    Directories->setItemsExpandable(false);
    Directories->setRootIsDecorated(false);
    Directories->installEventFilter(this);
    cbDrives = new QComboBox(this);
    cbDrives->setObjectName(u"cbDrives"_s);
    for (const TVolume& volume : volumes_) {
        cbDrives->addItem(style()->standardIcon(QStyle::SP_DriveHDIcon),
                          volume.name + u" ("_s + volume.root + u')', volume.root);
    }
    lbName = NewCaption(this, "lbName", u"Имя каталога"_s, edName);
    lbDirectories = NewCaption(this, "lbDirectories", u"Каталоги"_s, Directories);
    lbDrives = NewCaption(this, "lbDrives", u"Диски"_s, cbDrives);

    btOk = NewButton(this, "btOk", u"OK"_s);
    btOk->setDefault(true);
    btCancel = NewButton(this, "btCancel", u"Отмена"_s);
    // There is no help file, as for the main window's "Справка".
    btHelp = NewButton(this, "btHelp", u"Справка"_s);
    btHelp->setEnabled(false);

    auto* fields = new QVBoxLayout;
    fields->addWidget(lbName);
    fields->addWidget(edName);
    fields->addWidget(lbDirectories);
    fields->addWidget(Directories, 1);
    fields->addWidget(lbDrives);
    fields->addWidget(cbDrives);
    auto* buttons = new QVBoxLayout;
    buttons->addSpacing(lbName->sizeHint().height());
    buttons->addWidget(btOk);
    buttons->addWidget(btCancel);
    buttons->addWidget(btHelp);
    buttons->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(fields, 1);
    layout->addLayout(buttons);

    connect(Directories, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* row) {
        if (row != nullptr) {
            edName->setText(PathOf(row));
        }
    });
    // Opened once the click is handled: opening rebuilds the rows, the
    // clicked one included.
    connect(Directories, &QTreeWidget::itemDoubleClicked, this, [this](const QTreeWidgetItem* row) {
        QTimer::singleShot(0, this, [this, path = PathOf(row)] { Open(path); });
    });
    connect(cbDrives, &QComboBox::activated, this,
            [this](int index) { Open(cbDrives->itemData(index).toString()); });
    connect(edName, &QLineEdit::textChanged, this, &TfmDirectory::ApplyOkRule);
    connect(btOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel, &QPushButton::clicked, this, &QDialog::reject);

    Open(ExistingStart(start));
    resize(TFontScale(font()).Size(340, 280));
}

void TfmDirectory::Open(const QString& directory) {
    open_ = QDir::cleanPath(QDir(directory).absolutePath());
    // The volume of the longest root that holds the directory; the root is
    // always one of them.
    int drive = -1;
    for (int i = 0; i < int(volumes_.size()); ++i) {
        if (IsInside(open_, volumes_[i].root) &&
            (drive < 0 || volumes_[i].root.size() > volumes_[drive].root.size())) {
            drive = i;
        }
    }
    cbDrives->setCurrentIndex(drive);
    const QString root = drive < 0 ? u"/"_s : volumes_[drive].root;

    Directories->clear();
    const QIcon openIcon = style()->standardIcon(QStyle::SP_DirOpenIcon);
    QTreeWidgetItem* row = NewRow(root, root, openIcon);
    Directories->addTopLevelItem(row);
    QString path = root;
    for (const QString& part : open_.mid(root.size()).split(u'/', Qt::SkipEmptyParts)) {
        path = QDir::cleanPath(path + u'/' + part);
        QTreeWidgetItem* child = NewRow(part, path, openIcon);
        row->addChild(child);
        row = child;
    }
    QTreeWidgetItem* opened = row;
    const QIcon closedIcon = style()->standardIcon(QStyle::SP_DirIcon);
    const QDir folder(open_);
    for (const QString& name :
         folder.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase)) {
        opened->addChild(NewRow(name, folder.filePath(name), closedIcon));
    }
    Directories->expandAll();
    Directories->setCurrentItem(opened);
    edName->setText(open_);
}

QString TfmDirectory::Directory() const {
    return QDir::cleanPath(QDir(open_).absoluteFilePath(edName->text()));
}

void TfmDirectory::ApplyOkRule() {
    btOk->setEnabled(!edName->text().isEmpty() && QFileInfo(Directory()).isDir());
}

bool TfmDirectory::eventFilter(QObject* watched, QEvent* event) {
    if (watched == Directories && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && Directories->currentItem()) {
            Open(PathOf(Directories->currentItem()));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

QString ChooseDirectoryDialog(QWidget* owner, const QString& start) {
    TfmDirectory dialog(start, owner);
    return dialog.exec() == QDialog::Accepted ? dialog.Directory() : QString();
}
