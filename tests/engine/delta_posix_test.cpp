// The busy probe on POSIX systems, through the worker: an open by another
// process keeps the file from being taken.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/engine/delta_fixture.h"

namespace {

TEST_F(DeltaTest, FileHeldOpenByAnotherProcessIsTakenInALaterPass) {
    Source("busy.txt", "/01=x\r\n");
    int release[2];
    ASSERT_EQ(::pipe(release), 0);
    int opened[2];
    ASSERT_EQ(::pipe(opened), 0);
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open((ws_.In() / "busy.txt").c_str(), O_RDONLY);
        char byte = 0;
        (void)!::write(opened[1], &byte, 1);
        (void)!::read(release[0], &byte, 1);
        ::close(fd);
        ::_exit(0);
    }
    char byte = 0;
    ASSERT_EQ(::read(opened[0], &byte, 1), 1);
    RunOnce();
    EXPECT_EQ(FolderNames(ws_.In()), (std::vector<std::string>{"busy.txt"}));
    EXPECT_TRUE(FolderNames(ws_.Out()).empty());

    ASSERT_EQ(::write(release[1], &byte, 1), 1);
    ASSERT_EQ(::waitpid(child, nullptr, 0), child);
    for (int fd : {release[0], release[1], opened[0], opened[1]}) {
        ::close(fd);
    }
    RunOnce();
    EXPECT_TRUE(FolderNames(ws_.In()).empty());
    EXPECT_EQ(FolderNames(ws_.Out()), (std::vector<std::string>{"busy.dbf"}));
}

}  // namespace
