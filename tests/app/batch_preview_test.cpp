// kvadrel-batch --preview: the rows a file would give and the lines it would
// not take, with the file left in place and nothing written.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "batch_workspace.h"
#include "platform/system/single_instance.h"
#include "tests/engine/formats/moscow_scrambler.h"
#include "tests/temp_directory.h"

namespace fs = std::filesystem;

namespace {

AnsiString Win(std::string_view utf8) {
    return platform::Utf8ToCp1251(utf8);
}

class BatchPreviewTest : public ::testing::Test {
  protected:
    BatchPreviewTest() { fs::create_directories(Temporary()); }

    fs::path Temporary() const { return ws_.Root() / "tmp"; }

    // A preview run while the window holds the single-instance lock.
    BatchWorkspace::Run Preview(const std::string& type, const fs::path& file) const {
        const auto lock = platform::SingleInstanceLock::TryAcquire("kvadrel");
        EXPECT_NE(lock, nullptr);
        return ws_.RunToEnd({"--preview", type, file.string(), "--ini", ws_.Ini().string()},
                            {"TMPDIR=" + Temporary().string()});
    }

    // Nothing written: the file as it was, no table, no temporary folder
    // left, no journal.
    void ExpectNothingWritten(const fs::path& file, const std::string& bytes) const {
        EXPECT_EQ(ReadBytes(file), bytes);
        EXPECT_TRUE(fs::is_empty(ws_.Out()));
        EXPECT_TRUE(fs::is_empty(Temporary()));
        EXPECT_FALSE(fs::exists(ws_.StateHome()));
    }

    BatchWorkspace ws_;
};

TEST_F(BatchPreviewTest, NumberedCodeFile) {
    TDL config;
    TDD* type = ws_.AddType(config, Win("Справочник"));
    type->Add("NUM", 7, 1, 1);
    type->Add(Win("ИМЯ"), 10, 2, 2);
    ws_.Save(config);
    ws_.WriteSource("a.txt",
                    {"&АМТ", "/01=1/02=Анна", "/01=2/02=Борис", "&ДРУГ", "/01=3/02=Чужой"});
    const std::string bytes = ReadBytes(ws_.In() / "a.txt");

    const BatchWorkspace::Run run = Preview("Справочник", ws_.In() / "a.txt");
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.output,
              "NUM(7) ИМЯ(10) \n"
              "1 | Анна\n"
              "2 | Борис\n"
              "(2 records)\n"
              "lines not taken: 3 outside the group, 0 dropped by the special-products rule, "
              "0 not decodable\n");
    EXPECT_EQ(run.errors, "");
    ExpectNothingWritten(ws_.In() / "a.txt", bytes);
}

TEST_F(BatchPreviewTest, MoscowRegionFileWithTheSpecialProductsRule) {
    TDL config;
    TDD* type = ws_.AddType(config, Win("Москва"), 1, "R_AMT");
    type->SpecProd = true;
    type->KodObj = Win("КОД");
    type->Add(Win("КОД"), 2, 7, 0);
    type->Add(Win("НОМЕР"), 7, 10, 0);
    ws_.Save(config);
    ws_.WriteIni("[CodeValue]\nKodObj=01;02\n");
    std::string source;
    for (const char* record :
         {"R_AMT 01 0012345", "R_XYZ 01 9999999", "R_AMT 03 0012346", "R_AMT 02 0012347"}) {
        source += moscow_scrambler::Scramble(Win(record)) + "\r\n";
    }
    const fs::path file = ws_.Write("in/msk.txt", source);

    const BatchWorkspace::Run run = Preview("Москва", file);
    EXPECT_EQ(run.status, 0) << run.errors;
    EXPECT_EQ(run.output,
              "КОД(2) НОМЕР(7) \n"
              "01 | 0012345\n"
              "02 | 0012347\n"
              "(2 records)\n"
              "lines not taken: 1 outside the group, 1 dropped by the special-products rule, "
              "0 not decodable\n");
    EXPECT_EQ(run.errors, "");
    ExpectNothingWritten(file, source);
}

TEST_F(BatchPreviewTest, AnUnknownTypeOrAnUnreadableFileIsRefused) {
    TDL config;
    ws_.AddType(config, Win("Справочник"))->Add("NUM", 7, 1, 1);
    ws_.Save(config);
    ws_.WriteSource("a.txt", {"&АМТ", "/01=1"});
    const std::string bytes = ReadBytes(ws_.In() / "a.txt");

    const BatchWorkspace::Run unknown = Preview("Нет такого", ws_.In() / "a.txt");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_EQ(unknown.output, "");
    EXPECT_NE(unknown.errors.find("Нет такого"), std::string::npos) << unknown.errors;

    const BatchWorkspace::Run missing = Preview("Справочник", ws_.In() / "missing.txt");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.output, "");
    EXPECT_NE(missing.errors.find("missing.txt"), std::string::npos) << missing.errors;
    ExpectNothingWritten(ws_.In() / "a.txt", bytes);
}

}  // namespace
