#include "ui/qt/directory_dialog.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <filesystem>

#include "tests/temp_directory.h"
#include "tests/ui/qt/captions_fit.h"
#include "tests/ui/qt/modal.h"
#include "tests/ui/qt/test_text.h"
#include "tests/ui/qt/user_input.h"
#include "ui/qt/browsable_volumes.h"

namespace fs = std::filesystem;

namespace {

// The rows of "Каталоги" from the top, each indented by its depth.
QStringList Rows(const QTreeWidget& tree) {
    QStringList rows;
    for (QTreeWidgetItemIterator it(const_cast<QTreeWidget*>(&tree)); *it; ++it) {
        int depth = 0;
        for (const QTreeWidgetItem* up = (*it)->parent(); up != nullptr; up = up->parent()) {
            ++depth;
        }
        rows << QString(depth, u' ') + (*it)->text(0);
    }
    return rows;
}

QTreeWidgetItem* RowNamed(const QTreeWidget& tree, const QString& name) {
    const auto found = tree.findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
    return found.isEmpty() ? nullptr : found.front();
}

struct DirectoryDialogTest : ::testing::Test {
    DirectoryDialogTest() {
        for (const char* sub : {"in/Юг", "in/archive", "in/Bravo", "in/.hidden", "out"}) {
            fs::create_directories(folder.path() / sub);
        }
        folder.Write("in/file.txt", "not a directory");
    }
    QString Path(const char* sub = "") const {
        return QDir::cleanPath(QString::fromStdString((folder.path() / sub).string()));
    }
    // The root and the test folder as the volumes on offer.
    std::vector<TVolume> Volumes() const {
        return {{u"/"_s, u"Корневой каталог"_s}, {Path(), u"Тест"_s}};
    }

    TempDirectory folder;
};

TEST_F(DirectoryDialogTest, CaptionsLabelsAndButtons) {
    TfmDirectory dialog(Path("in"), nullptr, Volumes());
    EXPECT_EQ(dialog.windowTitle(), u"Выбор каталога"_s);
    EXPECT_EQ(dialog.lbName->text(), u"Имя каталога"_s);
    EXPECT_EQ(dialog.lbDirectories->text(), u"Каталоги"_s);
    EXPECT_EQ(dialog.lbDrives->text(), u"Диски"_s);
    EXPECT_EQ(dialog.btOk->text(), u"OK"_s);
    EXPECT_EQ(dialog.btCancel->text(), u"Отмена"_s);
    EXPECT_EQ(dialog.btHelp->text(), u"Справка"_s);
    EXPECT_TRUE(dialog.btOk->isDefault());
    EXPECT_FALSE(dialog.btHelp->isEnabled());  // there is no help file
    EXPECT_EQ(dialog.lbName->buddy(), dialog.edName);
    EXPECT_EQ(dialog.lbDirectories->buddy(), dialog.Directories);
    EXPECT_EQ(dialog.lbDrives->buddy(), dialog.cbDrives);
    EXPECT_EQ(dialog.findChildren<QLabel*>().size(), 3);  // no others
    ASSERT_TRUE(ShowActive(dialog));
    ExpectCaptionsFit(dialog);
}

TEST_F(DirectoryDialogTest, OpensAtTheStartBelowItsVolumeWithTheDirectoriesInIt) {
    TfmDirectory dialog(Path("in"), nullptr, Volumes());
    EXPECT_EQ(dialog.cbDrives->currentText(), u"Тест ("_s + Path() + u')');
    EXPECT_EQ(Rows(*dialog.Directories),
              QStringList({Path(), u" in"_s, u"  archive"_s, u"  Bravo"_s, u"  Юг"_s}));
    EXPECT_EQ(dialog.Directories->currentItem()->text(0), u"in"_s);
    EXPECT_EQ(dialog.edName->text(), Path("in"));
    EXPECT_EQ(dialog.Directory(), Path("in"));
    EXPECT_TRUE(dialog.btOk->isEnabled());
}

TEST_F(DirectoryDialogTest, StartThatIsGoneOpensItsNearestParentAndEmptyOpensHome) {
    TfmDirectory gone(Path("in/gone/deeper"), nullptr, Volumes());
    EXPECT_EQ(gone.edName->text(), Path("in"));
    TfmDirectory empty(u""_s, nullptr, Volumes());
    EXPECT_EQ(empty.edName->text(), QDir::homePath());
}

TEST_F(DirectoryDialogTest, OperatorOpensADirectoryAndConfirmsIt) {
    TfmDirectory dialog(Path("in"), nullptr, Volumes());
    ASSERT_TRUE(ShowActive(dialog));
    QTreeWidget* tree = dialog.Directories;
    // A click chooses a row; Enter on it opens it.
    QTreeWidgetItem* south = RowNamed(*tree, u"Юг"_s);
    ASSERT_NE(south, nullptr);
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier,
                      tree->visualItemRect(south).center());
    EXPECT_EQ(dialog.edName->text(), Path("in/Юг"));
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible()) << "Enter in the list opens, it does not confirm";
    EXPECT_EQ(Rows(*tree), QStringList({Path(), u" in"_s, u"  Юг"_s}));
    // Up to the parent with the keyboard; a double click opens a directory too.
    QTest::keyClick(tree, Qt::Key_Up);
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(dialog.edName->text(), Path("in"));
    DoubleClick(tree, tree->visualItemRect(RowNamed(*tree, u"archive"_s)).center());
    const QStringList opened{Path(), u" in"_s, u"  archive"_s};
    EXPECT_TRUE(QTest::qWaitFor([&] { return Rows(*tree) == opened; }))
        << Rows(*tree).join(u'|').toStdString();
    EXPECT_EQ(dialog.edName->text(), Path("in/archive"));
    QTest::keyClick(tree, Qt::Key_Up);
    QTest::keyClick(tree, Qt::Key_Return);
    EXPECT_EQ(dialog.edName->text(), Path("in"));
    QTest::mouseClick(dialog.btOk, Qt::LeftButton);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Directory(), Path("in"));
}

TEST_F(DirectoryDialogTest, TypedNameIsTakenWhenItIsADirectory) {
    TfmDirectory dialog(Path("in"), nullptr, Volumes());
    ASSERT_TRUE(ShowActive(dialog));
    QTest::mouseClick(dialog.edName, Qt::LeftButton);
    QTest::keyClick(dialog.edName, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(dialog.edName, u"file.txt"_s);
    EXPECT_FALSE(dialog.btOk->isEnabled());
    QTest::keyClick(dialog.edName, Qt::Key_Return);
    EXPECT_TRUE(dialog.isVisible());
    QTest::keyClick(dialog.edName, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(dialog.edName, u"../out"_s);  // from the open directory
    EXPECT_TRUE(dialog.btOk->isEnabled());
    QTest::keyClick(dialog.edName, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Directory(), Path("out"));
}

TEST_F(DirectoryDialogTest, ChoosingADriveOpensItsRoot) {
    TfmDirectory dialog(Path("in/Юг"), nullptr, Volumes());
    ASSERT_TRUE(ShowActive(dialog));
    ASSERT_EQ(dialog.cbDrives->count(), 2);
    ASSERT_TRUE(TabTo(dialog.cbDrives));
    QTest::keyClick(dialog.cbDrives, Qt::Key_Up);
    EXPECT_EQ(dialog.cbDrives->currentText(), u"Корневой каталог (/)"_s);
    EXPECT_EQ(dialog.edName->text(), u"/"_s);
    EXPECT_EQ(Rows(*dialog.Directories).front(), u"/"_s);
    EXPECT_TRUE(RowNamed(*dialog.Directories, u"tmp"_s) != nullptr ||
                RowNamed(*dialog.Directories, u"usr"_s) != nullptr);
}

TEST_F(DirectoryDialogTest, ChooserReturnsTheConfirmedDirectoryOrNothing) {
    WhenModal<TfmDirectory>([](TfmDirectory& dialog) { dialog.btCancel->click(); });
    EXPECT_EQ(ChooseDirectoryDialog(nullptr, Path("in")), u""_s);
    WhenModal<TfmDirectory>([](TfmDirectory& dialog) { dialog.btOk->click(); });
    EXPECT_EQ(ChooseDirectoryDialog(nullptr, Path("out")), Path("out"));
}

TEST(BrowsableVolumes, RootHomeRemovableAndNetworkMountsEachWithItsName) {
    const std::vector<TMount> mounts = {
        {u"/"_s, "ext4", u"/dev/sda1"_s, u""_s},
        {u"/proc"_s, "proc", u"proc"_s, u""_s},
        {u"/boot"_s, "ext4", u"/dev/sda2"_s, u""_s},
        {u"/run/media/oper/ФЛЕШКА"_s, "vfat", u"/dev/sdb1"_s, u""_s},
        {u"/media/cdrom"_s, "iso9660", u"/dev/sr0"_s, u"UPDATES_2024"_s},
        {u"/srv/share"_s, "cifs", u"//server/updates"_s, u""_s},
        {u"/mnt/nfs"_s, "nfs4", u"server:/export"_s, u""_s},
        {u"/mnt/nfs"_s, "nfs4", u"server:/export"_s, u""_s},  // mounted twice
        {u"/home"_s, "ext4", u"/dev/sda3"_s, u""_s},
        {u"/sys/fs/cgroup"_s, "cgroup2", u"cgroup2"_s, u""_s},
    };
    const auto volumes = BrowsableVolumes(mounts, u"/home/oper"_s);
    QStringList shown;
    for (const TVolume& volume : volumes) {
        shown << volume.name + u" = "_s + volume.root;
    }
    EXPECT_EQ(shown, QStringList({
                         u"Корневой каталог = /"_s,
                         u"Домашний каталог = /home/oper"_s,
                         u"UPDATES_2024 = /media/cdrom"_s,
                         u"server:/export = /mnt/nfs"_s,
                         u"ФЛЕШКА = /run/media/oper/ФЛЕШКА"_s,
                         u"//server/updates = /srv/share"_s,
                     }));
}

TEST(BrowsableVolumes, TheMachineOffersAtLeastTheRootAndHome) {
    const auto volumes = BrowsableVolumes();
    ASSERT_GE(volumes.size(), 2u);
    EXPECT_EQ(volumes[0].root, u"/"_s);
    EXPECT_EQ(volumes[1].root, QDir::homePath());
}

}  // namespace
