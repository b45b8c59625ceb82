// The file system on POSIX systems: leases and their holders in other
// processes, links, pipes and other users, as only these systems have them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/files/file_system.h"
#include "tests/platform/child_process.h"
#include "tests/temp_directory.h"

namespace platform {
namespace {

using child_process::HoldingChild;

enum class Outcome { Held, HoldRefused, Busy, NotRegular, Missing, Unreadable };

Outcome Open(const std::filesystem::path& file) {
    const SourceOpening opening = SystemFileSystem().OpenSource(file);
    switch (opening.Refusal) {
        case SourceRefusal::None:
            return opening.HoldRefused ? Outcome::HoldRefused : Outcome::Held;
        case SourceRefusal::Busy:
            return Outcome::Busy;
        case SourceRefusal::NotRegular:
            return Outcome::NotRegular;
        case SourceRefusal::Missing:
            return Outcome::Missing;
        case SourceRefusal::Unreadable:
            return Outcome::Unreadable;
    }
    return Outcome::Unreadable;
}

class OpenWhileChildHasFileOpen : public testing::TestWithParam<int> {};

TEST_P(OpenWhileChildHasFileOpen, FileIsBusyUntilTheChildLetsGo) {
    TempDirectory directory;
    const auto file = directory.Write("update.txt", "data");
    ASSERT_EQ(Open(file), Outcome::Held);

    const int openMode = GetParam();
    HoldingChild child([&] { return ::open(file.c_str(), openMode) >= 0; });
    ASSERT_TRUE(child.Took());
    EXPECT_EQ(Open(file), Outcome::Busy);
    child.Release();
    EXPECT_EQ(Open(file), Outcome::Held);
}

INSTANTIATE_TEST_SUITE_P(OpenModes, OpenWhileChildHasFileOpen,
                         testing::Values(O_RDONLY, O_WRONLY, O_RDWR));

TEST(OpenSource, KilledHolderFreesTheFile) {
    TempDirectory directory;
    const auto file = directory.Write("update.txt", "data");
    HoldingChild child([&] { return ::open(file.c_str(), O_WRONLY) >= 0; });
    ASSERT_TRUE(child.Took());
    EXPECT_EQ(Open(file), Outcome::Busy);
    child.Kill();
    EXPECT_EQ(Open(file), Outcome::Held);
}

TEST(OpenSource, FileOpenInThisProcessCountsAsBusy) {
    TempDirectory directory;
    const auto file = directory.Write("update.txt", "data");
    const int fd = ::open(file.c_str(), O_RDONLY);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(Open(file), Outcome::Busy);
    ::close(fd);
    EXPECT_EQ(Open(file), Outcome::Held);
}

TEST(OpenSource, WhatIsNoRegularFileIsNeitherFollowedNorWaitedOn) {
    TempDirectory directory;
    const auto& dir = directory.path();
    directory.Write("private.txt", "secret");
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink(dir / "private.txt", dir / "link.txt");
    EXPECT_EQ(Open(dir / "missing.txt"), Outcome::Missing);
    EXPECT_EQ(Open(dir), Outcome::NotRegular);
    EXPECT_EQ(Open(dir / "pipe"), Outcome::NotRegular);  // and does not block
    EXPECT_EQ(Open(dir / "link.txt"), Outcome::NotRegular);
}

// The file is read through the descriptor that was opened and held: a file
// renamed over its name afterwards is not what is read.
TEST(OpenSource, ReadsTheFileThatWasOpened) {
    TempDirectory directory;
    const auto file = directory.Write("update.txt", "first delivery");
    SourceOpening opening = SystemFileSystem().OpenSource(file);
    ASSERT_TRUE(opening.File);
    const auto newer = directory.Write("newer.txt", "second");
    std::filesystem::rename(newer, file);
    char buffer[64];
    const size_t got = opening.File->Read(buffer, sizeof buffer);
    EXPECT_EQ(std::string(buffer, got), "first delivery");
    EXPECT_NE(opening.File->Identity().File, SystemFileSystem().Status(file)->Identity.File);
    EXPECT_TRUE(opening.File->HeldAlone());  // a rename opens nothing
}

// Another program trying to open the file while we hold it breaks the hold,
// which the caller sees before it deletes anything.
TEST(OpenSource, AnOpenerBreaksTheHold) {
    TempDirectory directory;
    const auto file = directory.Write("update.txt", "data");
    SourceOpening opening = SystemFileSystem().OpenSource(file);
    ASSERT_TRUE(opening.File);
    ASSERT_TRUE(opening.File->HeldAlone());
    EXPECT_TRUE(child_process::AskChild(
        [&] { return ::open(file.c_str(), O_WRONLY | O_NONBLOCK) < 0 && errno == EWOULDBLOCK; }));
    EXPECT_FALSE(opening.File->HeldAlone());
}

TEST(FileSystem, RenameNeverReplaces) {
    TempDirectory directory;
    const auto a = directory.Write("a", "1");
    const auto b = directory.Write("b", "2");
    EXPECT_FALSE(SystemFileSystem().Rename(a, b));
    EXPECT_EQ(ReadBytes(b), "2");
    EXPECT_TRUE(SystemFileSystem().Rename(a, directory.path() / "c"));
    EXPECT_EQ(ReadBytes(directory.path() / "c"), "1");
    EXPECT_FALSE(std::filesystem::exists(a));
}

TEST(FileSystem, StatusTellsTheEntryItselfAndItsIdentity) {
    TempDirectory directory;
    const auto file = directory.Write("a", "12345");
    std::filesystem::create_symlink(file, directory.path() / "link");
    auto& files = SystemFileSystem();
    struct stat expected {};
    ASSERT_EQ(::stat(file.c_str(), &expected), 0);
    const auto status = files.Status(file);
    ASSERT_TRUE(status);
    EXPECT_EQ(status->Kind, EntryKind::Regular);
    EXPECT_EQ(status->Identity.File, uint64_t(expected.st_ino));
    EXPECT_EQ(status->Identity.Size, 5u);
    EXPECT_EQ(files.Status(directory.path() / "link")->Kind, EntryKind::Other);
    EXPECT_EQ(files.Status(directory.path())->Kind, EntryKind::Folder);
    EXPECT_FALSE(files.Status(directory.path() / "missing"));
    EXPECT_TRUE(files.IsFolder(directory.path()));
    EXPECT_FALSE(files.IsFolder(file));
}

// A user that does not own a file gets no hold on it: the caller must judge
// by time. A file that user may not read is unreadable, not busy. Needs root
// to act as another user.
TEST(OpenSource, AnotherUsersFileIsOpenedWithoutHold) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to open files as another user";
    }
    TempDirectory directory;
    ASSERT_EQ(::chmod(directory.path().c_str(), 0755), 0);
    const auto readable = directory.Write("readable.txt", "data");
    const auto secret = directory.Write("secret.txt", "data");
    ASSERT_EQ(::chmod(secret.c_str(), 0600), 0);

    const auto openAsNobody = [](const std::filesystem::path& file, Outcome expected) {
        return child_process::AskChild([&] {
            constexpr uid_t kNobody = 65534;
            return ::setresgid(kNobody, kNobody, kNobody) == 0 &&
                   ::setresuid(kNobody, kNobody, kNobody) == 0 && Open(file) == expected;
        });
    };
    EXPECT_TRUE(openAsNobody(readable, Outcome::HoldRefused));
    EXPECT_TRUE(openAsNobody(secret, Outcome::Unreadable));
}

}  // namespace
}  // namespace platform
