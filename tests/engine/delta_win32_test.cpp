// The busy probe on Windows, through the worker: an open without sharing
// fails while any other handle is open, one of this process too.
#include <gtest/gtest.h>

#include <fstream>

#include "tests/engine/delta_fixture.h"

namespace {

TEST_F(DeltaTest, FileHeldOpenElsewhereIsTakenInALaterPass) {
    Source("busy.txt", "/01=x\r\n");
    {
        std::ifstream holder(ws_.In() / "busy.txt");
        ASSERT_TRUE(holder);
        RunOnce();
        EXPECT_EQ(FolderNames(ws_.In()), (std::vector<std::string>{"busy.txt"}));
        EXPECT_TRUE(FolderNames(ws_.Out()).empty());
    }
    RunOnce();
    EXPECT_TRUE(FolderNames(ws_.In()).empty());
    EXPECT_EQ(FolderNames(ws_.Out()), (std::vector<std::string>{"busy.dbf"}));
}

}  // namespace
