// `cmake --install` puts the programs under lib/kvadrel with links in bin,
// the code-value file in etc with a link to it beside the programs, and the
// manual pages, the icon, the menu entry and the service unit in place.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "batch_workspace.h"
#include "platform/store/ini_file.h"
#include "tests/engine/formats/moscow_scrambler.h"
#include "tests/temp_directory.h"

namespace fs = std::filesystem;

namespace {

class Install : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string command = std::string("'") + KVADREL_CMAKE + "' --install '" +
                                    KVADREL_BINARY_DIR + "' --prefix '" + prefix_.path().string() +
                                    "' >/dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    fs::path Prefix() const { return prefix_.path(); }

    TempDirectory prefix_;
};

TEST_F(Install, ProgramsLiveInTheirFolderWithLinksInBin) {
    for (const char* program : {"kvadrel", "kvadrel-batch", "kvadrel-dump"}) {
        SCOPED_TRACE(program);
        const fs::path link = Prefix() / "bin" / program;
        ASSERT_TRUE(fs::is_symlink(link));
        EXPECT_TRUE(fs::read_symlink(link).is_relative());
        EXPECT_EQ(fs::canonical(link), fs::canonical(Prefix() / "lib" / "kvadrel" / program));
        EXPECT_EQ(::access(link.c_str(), X_OK), 0);
    }
    // Nothing but the programs' links in bin.
    EXPECT_EQ(std::distance(fs::directory_iterator(Prefix() / "bin"), fs::directory_iterator()), 3);
}

TEST_F(Install, TheCodeValueFileIsAConfigurationFileLinkedFromBesideThePrograms) {
    const fs::path configured = Prefix() / "etc" / "kvadrel" / "kvadrel.INI";
    ASSERT_TRUE(fs::is_regular_file(fs::symlink_status(configured)));
    const platform::IniText ini = platform::IniText::Read(configured);
    EXPECT_EQ(ini.ReadString(u"CodeValue", u"KodObj", u"missing"), u"");
    EXPECT_EQ(ini.ReadString(u"Moscow", u"Shift", u"none"), u"none");
    const fs::path beside = Prefix() / "lib" / "kvadrel" / "kvadrel.INI";
    ASSERT_TRUE(fs::is_symlink(beside));
    EXPECT_EQ(fs::canonical(beside), fs::canonical(configured));
}

// The program started through its link in bin finds the code-value file
// beside its real path: edited codes decide which rows a special-products
// type keeps.
TEST_F(Install, TheProgramStartedThroughItsLinkReadsTheConfiguredCodeValues) {
    const BatchWorkspace ws;
    TDL config;
    TDD* type = ws.AddType(config, platform::Utf8ToCp1251("Москва"), 1, "R_AMT");
    type->SpecProd = true;
    type->KodObj = "KOD";
    type->Add("KOD", 2, 7, 0);
    ws.Save(config);
    const fs::path file =
        ws.Write("in/msk.txt", moscow_scrambler::Scramble("R_AMT 01 0012345") + "\r\n" +
                                   moscow_scrambler::Scramble("R_AMT 02 0012346") + "\r\n");
    TempDirectory write;
    write.Write("kvadrel.INI", "[CodeValue]\nKodObj=02\n");
    fs::copy_file(write.path() / "kvadrel.INI", Prefix() / "etc" / "kvadrel" / "kvadrel.INI",
                  fs::copy_options::overwrite_existing);

    ChildProgram batch(Prefix() / "bin" / "kvadrel-batch", {"--preview", "Москва", file.string()},
                       {"XDG_CONFIG_HOME=" + ws.ConfigHome().string()}, ErrorOutput::Pipe);
    EXPECT_EQ(batch.WaitForExit(kRunBound), 0) << batch.Errors();
    EXPECT_EQ(batch.Output(),
              "KOD(2) \n02\n(1 records)\nlines not taken: 0 outside the group, 1 dropped by the "
              "special-products rule, 0 not decodable\n");
}

TEST_F(Install, ManualPagesIconMenuEntryAndServiceUnit) {
    for (const char* page : {"kvadrel.1.gz", "kvadrel-batch.1.gz", "kvadrel-dump.1.gz"}) {
        const std::string bytes = ReadBytes(Prefix() / "share" / "man" / "man1" / page);
        EXPECT_TRUE(bytes.starts_with("\x1f\x8b")) << page;  // gzip
    }
    const std::string icon =
        ReadBytes(Prefix() / "share" / "icons" / "hicolor" / "scalable" / "apps" / "kvadrel.svg");
    EXPECT_NE(icon.find("<svg"), std::string::npos);

    const std::string entry = ReadBytes(Prefix() / "share" / "applications" / "kvadrel.desktop");
    EXPECT_NE(entry.find("\nExec=kvadrel\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nType=Application\n"), std::string::npos) << entry;
    EXPECT_NE(entry.find("\nIcon=kvadrel\n"), std::string::npos) << entry;

    const std::string unit =
        ReadBytes(Prefix() / "lib" / "systemd" / "user" / "kvadrel-batch.service");
    const size_t start = unit.find("\nExecStart=/");
    ASSERT_NE(start, std::string::npos) << unit;
    EXPECT_NE(unit.find("/bin/kvadrel-batch\n", start), std::string::npos) << unit;
    EXPECT_NE(unit.find("\nWantedBy=default.target\n"), std::string::npos) << unit;
}

}  // namespace
