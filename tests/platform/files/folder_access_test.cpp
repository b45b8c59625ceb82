#include "platform/files/folder_access.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/temp_directory.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

const FolderAccessCheck& System() {
    return FolderAccessCheck::System();
}

TEST(FolderAccess, MissingFolderAndFileInItsPlaceAreTold) {
    TempDirectory directory;
    const auto file = directory.Write("file", "x");
    EXPECT_EQ(System().Check(directory.path() / "missing", FolderUse::Source),
              FolderAccess::Missing);
    EXPECT_EQ(System().Check(file / "below", FolderUse::Target), FolderAccess::Missing);
    EXPECT_EQ(System().Check(file, FolderUse::Source), FolderAccess::NotAFolder);
    EXPECT_EQ(System().Check(directory.path(), FolderUse::Source), FolderAccess::Usable);
    EXPECT_EQ(System().Check(directory.path(), FolderUse::Target), FolderAccess::Usable);
}

TEST(FolderAccess, OneFolderWrittenTwoWaysIsTheSame) {
    TempDirectory directory;
    const auto a = directory.path() / "a";
    const auto b = directory.path() / "b";
    fs::create_directory(a);
    fs::create_directory(b);
    EXPECT_TRUE(System().SameFolder(a, b / ".." / "a"));
    EXPECT_FALSE(System().SameFolder(a, b));
    EXPECT_FALSE(System().SameFolder(a / "missing", a / "missing"));
}

}  // namespace
}  // namespace platform
