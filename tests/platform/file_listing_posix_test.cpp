#include "platform/file_listing.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <vector>

#include "platform/native_path.h"
#include "tests/temp_directory.h"

namespace platform {
namespace {

using Names = std::vector<AnsiString>;

Names Sorted(Names names) {
    std::sort(names.begin(), names.end());
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

    EXPECT_EQ(Sorted(FindFiles(Pattern(dir, "*.txt"))),
              Sorted({"a.txt", "B.TXT", "\xCE\xF2\xF7\xB8\xF2.txt"}));
    EXPECT_EQ(Sorted(FindFiles(Pattern(dir, "*.*"))),
              Sorted({"a.txt", "B.TXT", "\xCE\xF2\xF7\xB8\xF2.txt", "c.dat"}));
}

TEST(FindFiles, KeepsTheFileSystemOrder) {
    TempDirectory directory;
    for (int i = 0; i < 40; ++i) {
        directory.Write("f" + std::to_string(i) + ".txt", "");
    }
    Names readdirOrder;
    for (const auto& entry : std::filesystem::directory_iterator(directory.path())) {
        readdirOrder.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(FindFiles(Pattern(directory.path(), "*.txt")), readdirOrder);
}

TEST(FindFiles, NameWindows1251CannotHoldIsListedButCannotBeReachedByIt) {
    TempDirectory directory;
    directory.Write("\xE6\x97\xA5.txt", "x");  // a CJK letter
    const auto names = FindFiles(Pattern(directory.path(), "*.txt"));
    ASSERT_EQ(names, Names{"?.txt"});
    EXPECT_FALSE(
        std::filesystem::exists(NativePath(AnsiFileName(directory.path()) + "/" + names[0])));
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
    EXPECT_EQ(names, Names{"here.txt"});
}

}  // namespace
}  // namespace platform
