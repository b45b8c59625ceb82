// The listing on POSIX systems: links, pipes, dot-names and names that are
// not UTF-8, which the Windows listing has no counterpart for.
#include "platform/files/file_listing.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/files/native_path.h"
#include "tests/temp_directory.h"

namespace platform {
namespace {

using Names = std::vector<AnsiString>;

Names NamesOf(const std::vector<ListedFile>& files) {
    Names names;
    for (const auto& file : files) {
        names.push_back(file.Name);
    }
    return names;
}

// Pattern for `mask` in `directory`, as the converter builds it.
AnsiString Pattern(const std::filesystem::path& directory, const char* mask) {
    return AnsiFileName(directory) + "/" + mask;
}

// Leaves a UNIX socket file at `path` (the socket itself is closed again).
void MakeSocketFile(const std::filesystem::path& path) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.native().size(), sizeof(address.sun_path));
    std::strcpy(address.sun_path, path.c_str());
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
}

TEST(FindFiles, ListsOnlyVisibleRegularFilesMatchingTheMask) {
    TempDirectory directory;
    const auto& dir = directory.path();
    directory.Write("a.txt", "1");
    directory.Write("B.TXT", "2");
    directory.Write("\xD0\x9E\xD1\x82\xD1\x87\xD1\x91\xD1\x82.txt", "3");  // "Отчёт" in UTF-8
    directory.Write("c.dat", "4");
    directory.Write(".hidden.txt", "5");
    std::filesystem::create_directory(dir / "folder.txt");
    ASSERT_EQ(::mkfifo((dir / "pipe.txt").c_str(), 0600), 0);
    MakeSocketFile(dir / "socket.txt");
    std::filesystem::create_directory_symlink(dir / "folder.txt", dir / "to-folder.txt");
    std::filesystem::create_symlink(dir / "a.txt", dir / "to-file.txt");

    EXPECT_EQ(NamesOf(FindFiles(Pattern(dir, "*.txt"))),
              (Names{"a.txt", "B.TXT", "\xCE\xF2\xF7\xB8\xF2.txt"}));
    EXPECT_EQ(NamesOf(FindFiles(Pattern(dir, "*.*"))),
              (Names{"a.txt", "B.TXT", "c.dat", "\xCE\xF2\xF7\xB8\xF2.txt"}));
}

// As Windows lists them: a later update of one base name (x.002 after x.001)
// is converted later and wins.
TEST(FindFiles, ComeInAscendingOrderIgnoringCase) {
    TempDirectory directory;
    const Names written = {"x.002", "X.001", "b.txt", "\xC0.txt", "\xE1.txt", "A.txt", "x.010"};
    for (const auto& name : written) {
        directory.Write(Cp1251ToUtf8(name), "");  // "А" and "б" in UTF-8
    }
    EXPECT_EQ(NamesOf(FindFiles(Pattern(directory.path(), "*"))),
              (Names{"A.txt", "b.txt", "X.001", "x.002", "x.010", "\xC0.txt", "\xE1.txt"}));
}

TEST(FindFiles, NameWindows1251CannotHoldIsListedAsNotFitting) {
    TempDirectory directory;
    directory.Write("\xE6\x97\xA5.txt", "x");  // a CJK letter
    const auto files = FindFiles(Pattern(directory.path(), "*.txt"));
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].Name, "?.txt");
    EXPECT_FALSE(files[0].NameFits);
    EXPECT_EQ(files[0].Entry, "\xE6\x97\xA5.txt");
}

// A share that writes names in Windows-1251 bytes: the bytes are the name.
TEST(FindFiles, NameThatIsNoUtf8IsTakenByItsBytes) {
    TempDirectory directory;
    directory.Write("\xEE\xF2\xF7\xE5\xF2.txt", "x");  // "отчет" in Windows-1251
    const auto files = FindFiles(Pattern(directory.path(), "*.txt"));
    ASSERT_EQ(files.size(), 1u);
    EXPECT_EQ(files[0].Name, "\xEE\xF2\xF7\xE5\xF2.txt");
    EXPECT_TRUE(files[0].NameFits);
    EXPECT_EQ(files[0].Entry, "\xEE\xF2\xF7\xE5\xF2.txt");
}

// A file the converter had claimed is listed under its own name, before a
// newer delivery of that name; other hidden names stay unlisted.
TEST(FindFiles, ClaimedFileComesBeforeANewerDeliveryOfItsName) {
    TempDirectory directory;
    directory.Write("a.txt", "new");
    directory.Write(std::string(kClaimPrefix) + "a.txt", "old");
    directory.Write(std::string(kClaimPrefix) + "a.dat", "other type");
    directory.Write(".a.txt", "hidden");
    const auto files = FindFiles(Pattern(directory.path(), "*.txt"));
    ASSERT_EQ(files.size(), 2u);
    EXPECT_EQ(files[0].Name, "a.txt");
    EXPECT_TRUE(files[0].Claimed);
    EXPECT_EQ(files[0].Entry, std::string(kClaimPrefix) + "a.txt");
    EXPECT_EQ(files[1].Name, "a.txt");
    EXPECT_FALSE(files[1].Claimed);
}

TEST(FindFiles, NothingToListGivesAnEmptyList) {
    TempDirectory directory;
    const auto file = directory.Write("a.txt", "x");
    EXPECT_TRUE(FindFiles(Pattern(directory.path(), "*.dbf")).empty());
    EXPECT_TRUE(FindFiles(Pattern(directory.path(), "")).empty());
    EXPECT_TRUE(FindFiles(Pattern(directory.path() / "missing", "*.*")).empty());
    EXPECT_TRUE(FindFiles(Pattern(file, "*.*")).empty());  // not a directory
}

TEST(FindFiles, PatternWithoutDirectoryListsTheCurrentDirectory) {
    TempDirectory directory;
    directory.Write("here.txt", "x");
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(directory.path());
    const auto names = FindFiles("*.txt");
    std::filesystem::current_path(previous);
    EXPECT_EQ(NamesOf(names), Names{"here.txt"});
}

}  // namespace
}  // namespace platform
