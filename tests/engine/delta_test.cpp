#include "engine/delta.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "engine/dbf/dbf_reader.h"
#include "platform/files/native_path.h"
#include "tests/engine/delta_fixture.h"
#include "tests/engine/formats/moscow_scrambler.h"

namespace fs = std::filesystem;

namespace {

using moscow_scrambler::Scramble;

AnsiString Win(std::string_view utf8) {
    return platform::Utf8ToCp1251(utf8);
}

const AnsiString kDecoding = "\xC4\xE5\xEA\xEE\xE4\xE8\xF0\xEE\xE2\xE0\xED\xE8\xE5 ";
const AnsiString kConverting = "\xCF\xF0\xE5\xEE\xE1\xF0\xE0\xE7\xEE\xE2\xE0\xED\xE8\xE5 ";
const AnsiString kWaiting = "\xCE\xE6\xE8\xE4\xE0\xED\xE8\xE5 ";  // "Ожидание "
const AnsiString kSeconds = " \xF1\xE5\xEA\xF3\xED\xE4";          // " секунд"

TEST_F(DeltaTest, EmptyConfigurationOnlyCountsDown) {
    config_.Clear(true);
    config_.Save(ws_.Store());
    SharedStatus status;
    TDeltaSettings settings = ws_.Settings();
    settings.SinglePass = false;
    {
        TDelta worker(status, status, settings);
        status.Attach(worker);
        status.WaitForCaptions(2 * 61);
        worker.Terminate();
        worker.WaitFor();
    }
    const auto captions = status.Captions();
    const auto percents = status.Percents();
    for (int i = 0; i < 2 * 61; ++i) {
        EXPECT_EQ(captions[i], kWaiting + std::to_string(60 - i % 61) + kSeconds) << i;
        EXPECT_EQ(percents[i], i % 61) << i;
    }
    EXPECT_EQ(captions.back(), "");  // the final reset
    EXPECT_EQ(percents.back(), 0);
}

TEST_F(DeltaTest, EveryFileBecomesATableOfItsBaseNameAndTheSourceGoes) {
    for (const char* name : {"report.001", "a.b.txt", "data", "a.dat1.dat", "empty.txt"}) {
        Source(name, name == std::string("empty.txt") ? "no records here\r\n" : "/01=x/02=y\r\n");
    }
    RunOnce();
    EXPECT_TRUE(FolderNames(ws_.In()).empty());
    EXPECT_EQ(FolderNames(ws_.Out()), (std::vector<std::string>{"a.b.dbf", "a.dat1.dbf", "data.dbf",
                                                                "empty.dbf", "report.dbf"}));
    const DbfContents table = ReadDbf(ws_.Out() / "report.dbf");
    ASSERT_EQ(table.fields.size(), 2u);
    ASSERT_EQ(table.rows.size(), 1u);
    EXPECT_EQ(table.Value(0, 0), "x");
    const DbfContents empty = ReadDbf(ws_.Out() / "empty.dbf");
    EXPECT_EQ(empty.fields.size(), 2u);
    EXPECT_TRUE(empty.rows.empty());
    EXPECT_TRUE(ws_.failures.empty());
}

TEST_F(DeltaTest, OlderTableAndLeftoverTemporaryAreReplaced) {
    ws_.Write("out/x.dbf", "an older table");
    ws_.Write("out/x.tmp", "left by an interrupted attempt");
    Source("x.001", "/01=new\r\n");
    RunOnce();
    EXPECT_EQ(FolderNames(ws_.Out()), (std::vector<std::string>{"x.dbf"}));
    EXPECT_EQ(ReadDbf(ws_.Out() / "x.dbf").Value(0, 0), "new");
}

TEST_F(DeltaTest, HiddenFilesAndFoldersAreNeverTouched) {
    Source(".hidden.txt", "/01=x\r\n");
    fs::create_directory(ws_.In() / "folder.txt");
    RunOnce();
    EXPECT_EQ(FolderNames(ws_.In()), (std::vector<std::string>{".hidden.txt", "folder.txt"}));
    EXPECT_TRUE(FolderNames(ws_.Out()).empty());
}

TEST_F(DeltaTest, NulByteDoesNotEndTheFile) {
    const char text[] = "/01=a\r\n/01=b\0c\r\n/01=d\r\n";
    Source("zero.txt", std::string(text, sizeof text - 1));
    RunOnce();
    const DbfContents table = ReadDbf(ws_.Out() / "zero.dbf");
    ASSERT_EQ(table.rows.size(), 3u);
    EXPECT_EQ(table.Value(1, 0), std::string("b\0c", 3));
    EXPECT_EQ(table.Value(2, 0), "d");
}

TEST_F(DeltaTest, ShowsEachPercentageOfEachFormatStepOnce) {
    std::string text;
    for (int i = 0; i < 300; ++i) {
        text += "/01=x\r\n";
    }
    Source("f.txt", text);
    config_.Save(ws_.Store());
    SharedStatus status;
    TDelta(status, status, ws_.Settings()).WaitFor();
    std::vector<AnsiString> captions(100, kDecoding + "f.txt");
    captions.resize(200, kConverting + "f.txt");
    captions.push_back("");  // the final reset
    std::vector<int16_t> percents;
    for (int i = 0; i < 200; ++i) {
        percents.push_back(int16_t(i % 100));
    }
    percents.push_back(0);
    EXPECT_EQ(status.Captions(), captions);
    EXPECT_EQ(status.Percents(), percents);
}

TEST_F(DeltaTest, StopWhileDecodingLeavesTheSourceAndNoTable) {
    Source("f.txt", "/01=x\r\n/01=y\r\n");
    EXPECT_EQ(RunOnce(kDecoding), "");  // the final reset still happens
    EXPECT_EQ(FolderNames(ws_.In()), (std::vector<std::string>{"f.txt"}));
    EXPECT_TRUE(FolderNames(ws_.Out()).empty());
}

TEST_F(DeltaTest, StopWhileFillingFinishesThatFileOnly) {
    Source("f1.txt", "/01=a\r\n/01=b\r\n");
    Source("f2.txt", "/01=c\r\n/01=d\r\n");
    RunOnce(kConverting);
    const auto sources = FolderNames(ws_.In());
    const auto tables = FolderNames(ws_.Out());
    ASSERT_EQ(sources.size(), 1u);
    ASSERT_EQ(tables.size(), 1u);
    EXPECT_NE(sources[0].substr(0, 2), tables[0].substr(0, 2));
    EXPECT_EQ(ReadDbf(ws_.Out() / tables[0]).rows.size(), 2u);
}

TEST_F(DeltaTest, FilesThatCannotBeConvertedStayAndTheReasonIsReported) {
    struct Case {
        const char* what;
        std::function<void(TDD&)> configure;
    };
    const std::vector<Case> cases = {
        {"missing target folder", [&](TDD& t) { t.To = ws_.OutFolder() + "missing/"; }},
        {"field name the table cannot take", [](TDD& t) { t.Add("1BAD", 5, 3, 3); }},
        {"no transport format", [](TDD& t) { t.Codec = 7; }},
    };
    for (const Case& c : cases) {
        config_.Clear(true);
        TDD* type = ws_.AddType(config_, "t", 0, "");
        type->Mask = "*.*";
        type->Add("A", 5, 1, 1);
        c.configure(*type);
        Source("f.txt", "/01=x\r\n");
        ws_.failures.clear();
        RunOnce();
        EXPECT_EQ(FolderNames(ws_.In()), (std::vector<std::string>{"f.txt"})) << c.what;
        EXPECT_TRUE(FolderNames(ws_.Out()).empty()) << c.what;
        ASSERT_EQ(ws_.failures.size(), 1u) << c.what;
        EXPECT_FALSE(ws_.failures[0].second.empty()) << c.what;
    }
}

TEST_F(DeltaTest, UnreadableCodeValueFileLeavesSpecialProductsFilesAlone) {
    type_->SpecProd = true;
    type_->KodObj = "A";
    TDD* plain = ws_.AddType(config_, "plain", 0, "");
    plain->From = platform::Utf8ToCp1251((ws_.Root() / "plain").string() + "/");
    plain->Add("A", 5, 1, 1);
    fs::create_directory(ws_.Root() / "plain");
    Source("special.txt", "/01=x\r\n");
    ws_.Write("plain/p.txt", "/01=y\r\n");
    fs::create_directory(ws_.Ini());  // a code-value file that cannot be read

    RunOnce();
    // Empty code lists would have dropped every row and deleted the source.
    EXPECT_EQ(FolderNames(ws_.In()), (std::vector<std::string>{"special.txt"}));
    EXPECT_EQ(FolderNames(ws_.Out()), (std::vector<std::string>{"p.dbf"}));
    ASSERT_EQ(ws_.failures.size(), 2u);  // the file, then the type's files that stay
    EXPECT_NE(ws_.failures[1].second.find("code-value file"), std::string::npos);
}

// What the worker has to say goes through its channel alone: a Moscow-region
// constant it ignores is a remark that names the code-value file.
TEST_F(DeltaTest, IgnoredMoscowConstantIsARemarkNamingTheCodeValueFile) {
    ws_.WriteIni("[Moscow]\nShift=abc\nKeyBound=2\n");
    testing::internal::CaptureStderr();
    RunOnce();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(ws_.remarks,
              std::vector<std::string>{platform::Cp1251ToUtf8(platform::AnsiFileName(ws_.Ini())) +
                                       ": [Moscow] Shift=abc is not a usable number; "
                                       "ignored"});
    EXPECT_TRUE(ws_.failures.empty());
}

// A store whose configuration key the load cannot write (a file stands where
// its folder would be) is a remark of the run, which has its configuration.
TEST_F(DeltaTest, StoreTheLoadCannotWriteIsReportedThroughTheChannel) {
    ws_.Write("plain", "a file, not a folder");
    TDeltaSettings settings = ws_.Settings();
    settings.StoreFile = ws_.Root() / "plain" / "registry.reg";
    SharedStatus status;
    testing::internal::CaptureStderr();
    {
        TDelta worker(status, status, settings);
        worker.WaitFor();
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_TRUE(ws_.failures.empty());  // the run has its (empty) configuration
    ASSERT_EQ(ws_.remarks.size(), 2u);
    EXPECT_EQ(ws_.remarks[0].rfind("cannot save " + settings.StoreFile.string() + ": ", 0), 0u)
        << ws_.remarks[0];
    EXPECT_EQ(ws_.remarks[1], "no update types are configured in " + settings.StoreFile.string());
}

// A status view that fails once, at the first countdown caption.
class FailingStatus : public TStatusPane, public TProgressBar {
  public:
    void SetCaption(const AnsiString& text) override {
        if (text.rfind(kWaiting, 0) == 0 && !failed_) {
            failed_ = true;
            throw std::runtime_error("the pane is gone");
        }
    }
    void SetPercent(int16_t) override {}

  private:
    bool failed_ = false;
};

// An error that ends the run is a failure of the program, told through the
// channel like any other.
TEST_F(DeltaTest, ErrorThatEndsTheRunGoesThroughTheChannel) {
    config_.Save(ws_.Store());
    TDeltaSettings settings = ws_.Settings();
    settings.SinglePass = false;
    FailingStatus status;
    testing::internal::CaptureStderr();
    {
        TDelta worker(status, status, settings);
        worker.WaitFor();
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_EQ(ws_.failures.size(), 1u);
    EXPECT_EQ(ws_.failures[0].first, "kvadrel");
    EXPECT_EQ(ws_.failures[0].second, "the converter stops: the pane is gone");
}

// The constants of the code-value file reach a worker's pass, which turns a
// file of this format into a table.
TEST(MoscowWorker, ConvertsAFileWithTheConstantsOfTheCodeValueFile) {
    WorkerWorkspace workspace;
    workspace.WriteIni("[Moscow]\nShift=0x21\nPositions=9;3;0;0xFE;7;0xB0;5\nKeyDivisor=7\n");
    TMoscowConstants constants;
    constants.Shift = 0x21;
    constants.Positions = {9, 3, 0, 0xFE, 7, 0xB0, 5};
    constants.KeyDivisor = 7;

    TDL config;
    TDD* type = workspace.AddType(config, "m", 1, "R_AMT");
    type->Add(Win("НОМЕР"), 7, 7, 0);
    type->Add(Win("ИМЯ"), 12, 15, 0);
    config.Save(workspace.Store());
    workspace.Write("in/f.txt", Scramble(Win("R_AMT 0012345 Иванов"), constants) + "\r\n" +
                                    Scramble("R_XYZ 1", constants) + "\r\n" +
                                    Scramble(Win("R_AMT 0012346 Ёжик"), constants) + "\r\n");

    RecordingStatus status;
    TDelta worker(status, status, workspace.Settings());
    worker.WaitFor();
    EXPECT_TRUE(workspace.failures.empty());
    EXPECT_FALSE(std::filesystem::exists(workspace.In() / "f.txt"));
    const DbfContents table = ReadDbf(workspace.Out() / "f.dbf");
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.Value(0, 0), "0012345");
    EXPECT_EQ(table.Value(0, 1), Win("Иванов"));
    EXPECT_EQ(table.Value(1, 0), "0012346");
    EXPECT_EQ(table.Value(1, 1), Win("Ёжик"));
}

}  // namespace
