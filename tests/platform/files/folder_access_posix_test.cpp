// The folder checks on POSIX systems: the modes of folders as another user
// finds them, and a folder reached through a link.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "platform/files/folder_access.h"
#include "tests/platform/child_process.h"
#include "tests/temp_directory.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

const FolderAccessCheck& System() {
    return FolderAccessCheck::System();
}

// A user other than the owner (root drops to nobody for this) finds each
// folder as its mode allows: the source needs listing, writing and searching,
// the target writing and searching.
TEST(FolderAccess, WhatTheUserMayNotDoIsDenied) {
    TempDirectory directory;
    ASSERT_EQ(::chmod(directory.path().c_str(), 0755), 0);
    const auto folder = [&](const char* name, mode_t mode) {
        const auto path = directory.path() / name;
        fs::create_directory(path);
        EXPECT_EQ(::chmod(path.c_str(), mode), 0);
        return path;
    };
    const auto open = folder("open", 0777);
    const auto readOnly = folder("read-only", 0555);
    const auto dropBox = folder("drop-box", 0733);  // writable, not listable
    const auto closed = folder("closed", 0700);
    const bool root = ::geteuid() == 0;
    const bool answered = child_process::AskChild([&] {
        constexpr uid_t kNobody = 65534;
        if (root && (::setresgid(kNobody, kNobody, kNobody) != 0 ||
                     ::setresuid(kNobody, kNobody, kNobody) != 0)) {
            return false;
        }
        const auto check = [](const fs::path& path, FolderUse use) {
            return System().Check(path, use);
        };
        return check(open, FolderUse::Source) == FolderAccess::Usable &&
               check(readOnly, FolderUse::Source) == FolderAccess::Denied &&
               check(readOnly, FolderUse::Target) == FolderAccess::Denied &&
               check(dropBox, FolderUse::Source) == FolderAccess::Denied &&
               check(dropBox, FolderUse::Target) == FolderAccess::Usable &&
               // Only root's own folder: as its owner the tester could still write it.
               (!root || check(closed, FolderUse::Target) == FolderAccess::Denied) &&
               (!root || check(closed / "inner", FolderUse::Target) == FolderAccess::Denied);
    });
    EXPECT_TRUE(answered);
}

TEST(FolderAccess, OneFolderReachedThroughALinkIsTheSame) {
    TempDirectory directory;
    const auto a = directory.path() / "a";
    fs::create_directory(a);
    fs::create_directory_symlink(a, directory.path() / "link");
    EXPECT_TRUE(System().SameFolder(a, directory.path() / "link/"));
}

}  // namespace
}  // namespace platform
