// The file system of Windows: the listing's attribute filter, the hold of a
// source by an open without sharing, and the claim, check and delete of a
// held source that the converter does.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include "platform/files/file_system.h"
#include "tests/temp_directory.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

FileSystem& System() {
    return SystemFileSystem();
}

// A handle of another program's open, with the sharing it grants.
class OtherOpen {
  public:
    OtherOpen(const fs::path& file, DWORD access, DWORD sharing)
        : handle_(::CreateFileW(file.c_str(), access, sharing, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr)),
          error_(::GetLastError()) {}
    ~OtherOpen() {
        if (opened()) {
            ::CloseHandle(handle_);
        }
    }
    OtherOpen(const OtherOpen&) = delete;
    OtherOpen& operator=(const OtherOpen&) = delete;

    bool opened() const { return handle_ != INVALID_HANDLE_VALUE; }
    DWORD error() const { return error_; }

  private:
    HANDLE handle_;
    DWORD error_;
};

constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::vector<std::string> Sorted(const std::vector<fs::path>& names) {
    std::vector<std::string> sorted;
    for (const auto& name : names) {
        sorted.push_back(name.string());
    }
    std::sort(sorted.begin(), sorted.end());
    return sorted;
}

TEST(Win32FileSystem, ListsFilesButNotFoldersHiddenOrSystemFiles) {
    TempDirectory directory;
    directory.Write("plain.txt", "a");
    const auto hidden = directory.Write("hidden.txt", "c");
    const auto system = directory.Write("system.txt", "d");
    fs::create_directory(directory.path() / "folder.txt");
    ASSERT_TRUE(::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(::SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_SYSTEM));
    if ((::GetFileAttributesW(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN) == 0) {
        GTEST_SKIP() << "the file system here keeps no hidden or system attribute";
    }
    const auto readOnly = directory.Write("read-only.txt", "b");
    ASSERT_TRUE(::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Sorted(System().ListFiles(directory.path())),
              (std::vector<std::string>{"plain.txt", "read-only.txt"}));
    EXPECT_TRUE(System().ListFiles(directory.path() / "missing").empty());
    ::SetFileAttributesW(readOnly.c_str(), FILE_ATTRIBUTE_NORMAL);  // so that it can be removed
}

// However the other program shares it, a file it has open for reading or
// writing is busy.
TEST(Win32FileSystem, FileOpenElsewhereIsBusy) {
    TempDirectory directory;
    const auto file = directory.Write("busy.txt", "x");
    for (const DWORD access : {DWORD(GENERIC_READ), DWORD(GENERIC_WRITE)}) {
        const OtherOpen other(file, access, kShareAll);
        ASSERT_TRUE(other.opened());
        EXPECT_EQ(System().OpenSource(file).Refusal, SourceRefusal::Busy) << access;
    }
    EXPECT_EQ(System().OpenSource(file).Refusal, SourceRefusal::None);
}

TEST(Win32FileSystem, HeldSourceCannotBeOpenedByOthersToReadOrWrite) {
    TempDirectory directory;
    const auto file = directory.Write("held.txt", "x");
    SourceOpening opening = System().OpenSource(file);
    ASSERT_EQ(opening.Refusal, SourceRefusal::None);
    EXPECT_FALSE(opening.HoldRefused);
    for (const DWORD access : {DWORD(GENERIC_READ), DWORD(GENERIC_WRITE)}) {
        const OtherOpen other(file, access, kShareAll);
        EXPECT_FALSE(other.opened()) << access;
        EXPECT_EQ(other.error(), DWORD(ERROR_SHARING_VIOLATION)) << access;
    }
    EXPECT_TRUE(opening.File->HeldAlone());
}

// What the converter does with a converted source: moved aside to its work
// name, found to be the same file, deleted, all while it holds the file.
TEST(Win32FileSystem, HeldSourceIsRenamedCheckedAndDeleted) {
    TempDirectory directory;
    const auto file = directory.Write("claimed.txt", "contents");
    const auto work = directory.path() / "~claimed.txt";
    SourceOpening opening = System().OpenSource(file);
    ASSERT_EQ(opening.Refusal, SourceRefusal::None);
    const FileIdentity identity = opening.File->Identity();
    char buffer[16];
    EXPECT_EQ(std::string(buffer, opening.File->Read(buffer, sizeof buffer)), "contents");

    ASSERT_TRUE(System().Rename(file, work));
    const auto status = System().Status(work);
    ASSERT_TRUE(status.has_value());
    EXPECT_EQ(status->Kind, EntryKind::Regular);
    EXPECT_EQ(status->Identity, identity);
    EXPECT_FALSE(System().Status(file).has_value());
    System().Remove(work);
    opening.File.reset();  // the hold ends once the name is gone
    EXPECT_TRUE(FolderNames(directory.path()).empty());
}

TEST(Win32FileSystem, RenameNeverReplaces) {
    TempDirectory directory;
    const auto from = directory.Write("from.txt", "from");
    const auto to = directory.Write("to.txt", "to");
    EXPECT_FALSE(System().Rename(from, to));
    EXPECT_EQ(ReadBytes(from), "from");
    EXPECT_EQ(ReadBytes(to), "to");
}

TEST(Win32FileSystem, CreateNewRefusesAnExistingName) {
    TempDirectory directory;
    const auto file = directory.Write("table.tmp", "older");
    EXPECT_THROW(System().CreateNew(file), std::system_error);
    EXPECT_EQ(ReadBytes(file), "older");
}

TEST(Win32FileSystem, FolderAndMissingFileAreNoSource) {
    TempDirectory directory;
    fs::create_directory(directory.path() / "folder.txt");
    EXPECT_EQ(System().OpenSource(directory.path() / "folder.txt").Refusal,
              SourceRefusal::NotRegular);
    EXPECT_EQ(System().OpenSource(directory.path() / "missing.txt").Refusal,
              SourceRefusal::Missing);
    EXPECT_EQ(System().Status(directory.path() / "folder.txt")->Kind, EntryKind::Folder);
    EXPECT_FALSE(System().Status(directory.path() / "missing.txt").has_value());
}

}  // namespace
}  // namespace platform
