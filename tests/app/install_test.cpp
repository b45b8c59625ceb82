// `cmake --install` puts the programs, the code-value file beside them and a
// menu entry in place.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/ini_file.h"
#include "tests/temp_directory.h"

namespace fs = std::filesystem;

namespace {

TEST(Install, PutsTheProgramsTheCodeValueFileAndAMenuEntryInPlace) {
    TempDirectory prefix;
    const std::string command = std::string("'") + KVADREL_CMAKE + "' --install '" +
                                KVADREL_BINARY_DIR + "' --prefix '" + prefix.path().string() +
                                "' >/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0) << command;

    for (const char* program : {"kvadrel", "kvadrel-batch", "kvadrel-dump"}) {
        const fs::path path = prefix.path() / "bin" / program;
        EXPECT_EQ(::access(path.c_str(), X_OK), 0) << path;
    }
    // The code-value file the programs read: their own path with ".INI".
    const fs::path codeValues = prefix.path() / "bin" / "kvadrel.INI";
    ASSERT_TRUE(fs::exists(codeValues));
    EXPECT_EQ(platform::ReadIniString(codeValues, u"CodeValue", u"KodObj", u"missing"), u"");
    EXPECT_EQ(platform::ReadIniString(codeValues, u"Moscow", u"Shift", u"none"), u"none");

    const std::string entry =
        ReadBytes(prefix.path() / "share" / "applications" / "kvadrel.desktop");
    EXPECT_NE(entry.find("\nExec=kvadrel\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos) << entry;
}

}  // namespace
