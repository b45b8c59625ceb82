// kvadrel-batch run as the operator runs it: its output lines, its exit
// statuses, the lock it shares with the window, the stop signals, and the
// tables it writes as an independent reader sees them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "batch_numbered_file.h"
#include "batch_progress.h"
#include "batch_workspace.h"
#include "engine/dbf/dbf_reader.h"
#include "platform/system/single_instance.h"
#include "tests/engine/dbf/read_dbf.h"

namespace fs = std::filesystem;

namespace {

// A stop waits at most for the file being filled and one countdown tick.
constexpr std::chrono::milliseconds kStopBound = std::chrono::seconds(30);

constexpr char kUsage[] = "usage: kvadrel-batch [--once] [--ini FILE] [--quiet]";

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The lines in sorted order: files are taken in the order the folder lists them.
std::string SortedLines(const std::string& text) {
    std::vector<std::string> lines = Lines(text);
    std::sort(lines.begin(), lines.end());
    std::string sorted;
    for (const auto& line : lines) {
        sorted += line + "\n";
    }
    return sorted;
}

class BatchTest : public ::testing::Test {
  protected:
    BatchTest() {
        TDL config;
        TDD* type = ws_.AddType(config, platform::Utf8ToCp1251("Амт"));
        type->Add("NOMER", 7, 1, 1);
        type->Add(platform::Utf8ToCp1251("ВЛАДЕЛЕЦ"), 10, 2, 3);
        type->Add(platform::Utf8ToCp1251("ПРИМЕЧАНИЕ"), 90, 4, 4);
        ws_.Save(config);
    }

    BatchWorkspace ws_;
};

TEST_F(BatchTest, ConvertsEachFileIntoATableThatAnIndependentReaderReads) {
    ws_.WriteSource("a.txt", {
                                 "&ПРОЧЕЕ",
                                 "/01=9999999/02=Чужая группа",
                                 "&АМТ",
                                 "/01=0000001/02=Иванов И. И./04=широкая электрификация южных "
                                 "губерний даст мощный толчок подъему сельского хозяйства",
                                 "/1=0000002/3=ООО Ромашка/4=ШИРОКАЯ ЭЛЕКТРИФИКАЦИЯ ЮЖНЫХ "
                                 "ГУБЕРНИЙ ДАСТ МОЩНЫЙ ТОЛЧОК ПОДЪЕМУ СЕЛЬСКОГО ХОЗЯЙСТВА",
                                 "Конец группы",
                                 "/01=0000003/02=Вне группы",
                             });
    ws_.WriteSource("b.txt", {"&АМТ"});
    ws_.WriteSource("c.dat", {"&АМТ", "/01=0000004"});   // not of the mask
    ws_.WriteSource(".d.txt", {"&АМТ", "/01=0000005"});  // hidden

    const BatchWorkspace::Run run = ws_.RunOnce();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors, "");  // not a terminal: no progress
    EXPECT_EQ(SortedLines(run.output),
              ws_.Converted("a.txt", "a.dbf", 2) + ws_.Converted("b.txt", "b.dbf", 0));
    EXPECT_EQ(FolderNames(ws_.In()), (std::vector<std::string>{".d.txt", "c.dat"}));
    EXPECT_EQ(FolderNames(ws_.Out()), (std::vector<std::string>{"a.dbf", "b.dbf"}));

    // Field names, widths, the count and the rows, Cyrillic intact, values
    // longer than their field cut to its width.
    EXPECT_EQ(ReadWithDbfread(ws_.Out() / "a.dbf"),
              R"({"version": 3, "encoding": "cp1251", "records": 2, )"
              R"("fields": [["NOMER", 7], ["ВЛАДЕЛЕЦ", 10], ["ПРИМЕЧАНИЕ", 90]], )"
              R"("rows": [["0000001", "Иванов И.", "широкая электрификация южных губерний )"
              R"(даст мощный толчок подъему сельского хозяйства"], )"
              R"(["0000002", "ООО Ромашк", "ШИРОКАЯ ЭЛЕКТРИФИКАЦИЯ ЮЖНЫХ ГУБЕРНИЙ ДАСТ )"
              R"(МОЩНЫЙ ТОЛЧОК ПОДЪЕМУ СЕЛЬСКОГО ХОЗЯЙСТВА"]]})"
              "\n");
    EXPECT_EQ(ReadWithDbfread(ws_.Out() / "b.dbf"),
              R"({"version": 3, "encoding": "cp1251", "records": 0, )"
              R"("fields": [["NOMER", 7], ["ВЛАДЕЛЕЦ", 10], ["ПРИМЕЧАНИЕ", 90]], "rows": []})"
              "\n");
}

TEST_F(BatchTest, ProgressIsDrawnOnATerminalUnlessQuiet) {
    for (const bool quiet : {false, true}) {
        SCOPED_TRACE(quiet ? "quiet" : "not quiet");
        ws_.WriteSource("a.txt", {"&АМТ", "/01=1", "/01=2"});
        std::vector<std::string> arguments = ws_.Arguments(true);
        if (quiet) {
            arguments.push_back("--quiet");
        }
        ChildProgram batch = ws_.Start(arguments, ErrorOutput::Terminal);
        EXPECT_EQ(batch.WaitForExit(kRunBound), 0);
        EXPECT_EQ(batch.Output(), ws_.Converted("a.txt", "a.dbf", 2));
        if (quiet) {
            EXPECT_EQ(batch.Errors(), "");
        } else {
            EXPECT_TRUE(Shows(batch.Errors(), "Декодирование a.txt", 50)) << batch.Errors();
            EXPECT_TRUE(Shows(batch.Errors(), "Преобразование a.txt", 50)) << batch.Errors();
        }
    }
}

TEST_F(BatchTest, FileThatCannotBeConvertedIsReportedAndStays) {
    struct Case {
        const char* what;
        std::function<void(const BatchWorkspace&, TDD&)> spoil;
        std::string reason;  // a part of the reason given
        bool perFile;        // reported for the file, else for the type's mask
    };
    const std::vector<Case> cases = {
        {"missing target folder",
         [](const BatchWorkspace& ws, TDD& t) { t.To = ws.OutFolder() + "missing/"; },
         "does not exist", true},
        {"field list the table refuses",
         [](const BatchWorkspace&, TDD& t) { t.Add("1BAD", 5, 3, 3); }, "1BAD", false},
        {"older table that cannot be removed",
         [](const BatchWorkspace& ws, TDD&) { fs::create_directory(ws.Out() / "f.dbf"); },
         "cannot delete table", true},
        {"no transport format", [](const BatchWorkspace&, TDD& t) { t.Codec = 7; },
         "no transport format", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        BatchWorkspace ws;
        TDL config;
        TDD* good = ws.AddType(config, "good");
        good->Mask = "*.ok";
        good->Add("A", 5, 1, 1);
        TDD* bad = ws.AddType(config, "bad");
        bad->Add("A", 5, 1, 1);
        c.spoil(ws, *bad);
        ws.Save(config);
        ws.WriteSource("f.txt", {"&АМТ", "/01=x"});
        ws.WriteSource("g.ok", {"&АМТ", "/01=y"});

        const BatchWorkspace::Run run = ws.RunOnce();
        EXPECT_EQ(run.status, 1);
        // The other files are still converted.
        EXPECT_EQ(run.output, ws.Converted("g.ok", "g.dbf", 1));
        const std::vector<std::string> errors = Lines(run.errors);
        ASSERT_EQ(errors.size(), 1u) << run.errors;
        const std::string subject = (ws.In() / (c.perFile ? "f.txt" : "*.txt")).string();
        EXPECT_EQ(errors[0].rfind(subject + ": ", 0), 0u) << errors[0];
        EXPECT_NE(errors[0].find(c.reason), std::string::npos) << errors[0];
        EXPECT_EQ(FolderNames(ws.In()), (std::vector<std::string>{"f.txt"}));
        EXPECT_FALSE(fs::is_regular_file(ws.Out() / "f.dbf"));
    }
}

// Tables written into the source folder itself are never taken as sources,
// the line printed names the table written even where the target folder has
// no final separator, and a name Windows-1251 cannot write is a failure.
TEST(BatchBoundaryTest, OwnTablesOddNamesAndThePrintedTable) {
    BatchWorkspace ws;
    TDL config;
    TDD* type = ws.AddType(config, "t");
    type->Add("A", 5, 1, 1);
    type->Mask = "*";
    type->To = platform::Utf8ToCp1251(ws.In().string());  // the source folder, no final '/'
    ws.Save(config);
    ws.WriteSource("r.txt", {"&АМТ", "/01=x"});

    const std::string printed =
        (ws.In() / "r.txt").string() + " -> " + (ws.In() / "r.dbf").string() + " (1 records)\n";
    EXPECT_EQ(ws.RunOnce().output, printed);
    const BatchWorkspace::Run again = ws.RunOnce();
    EXPECT_EQ(again.status, 0) << again.errors;
    EXPECT_EQ(again.output, "");
    EXPECT_EQ(FolderNames(ws.In()), std::vector<std::string>{"r.dbf"});

    ws.WriteSource("\xE6\x97\xA5.txt", {"&АМТ", "/01=y"});  // a CJK letter
    const BatchWorkspace::Run odd = ws.RunOnce();
    EXPECT_EQ(odd.status, 1);
    EXPECT_NE(odd.errors.find("Windows-1251"), std::string::npos) << odd.errors;
    EXPECT_TRUE(fs::exists(ws.In() / "\xE6\x97\xA5.txt"));
}

TEST_F(BatchTest, BusyFileIsLeftForALaterRun) {
    ws_.WriteSource("busy.txt", {"&АМТ", "/01=1"});
    ws_.WriteSource("free.txt", {"&АМТ", "/01=2"});
    // Held open by this process, as by a sender still writing it.
    const int held = ::open((ws_.In() / "busy.txt").c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(held, 0);

    BatchWorkspace::Run run = ws_.RunOnce();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.errors, "");
    EXPECT_EQ(run.output, ws_.Converted("free.txt", "free.dbf", 1));
    EXPECT_EQ(FolderNames(ws_.In()), (std::vector<std::string>{"busy.txt"}));
    EXPECT_EQ(FolderNames(ws_.Out()), (std::vector<std::string>{"free.dbf"}));

    ::close(held);
    run = ws_.RunOnce();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, ws_.Converted("busy.txt", "busy.dbf", 1));
    EXPECT_TRUE(FolderNames(ws_.In()).empty());
}

TEST_F(BatchTest, BadArgumentsAreRefusedBeforeAnythingIsTouched) {
    ws_.WriteSource("a.txt", {"&АМТ", "/01=1"});
    const std::vector<std::vector<std::string>> cases = {
        {"--bogus"}, {"--once", "--ini"}, {"--once", "extra"}, {"-once"}, {"--check", "--once"},
    };
    for (const auto& arguments : cases) {
        SCOPED_TRACE(arguments.back());
        const BatchWorkspace::Run run = ws_.RunToEnd(arguments);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.output, "");
        EXPECT_NE(run.errors.find(kUsage), std::string::npos) << run.errors;
        EXPECT_EQ(FolderNames(ws_.In()), (std::vector<std::string>{"a.txt"}));
        EXPECT_TRUE(FolderNames(ws_.Out()).empty());
    }
}

TEST_F(BatchTest, SecondCopyRefusesToStart) {
    ws_.WriteSource("a.txt", {"&АМТ", "/01=1"});
    const auto expectRefused = [&] {
        const BatchWorkspace::Run run = ws_.RunOnce();
        EXPECT_EQ(run.status, 3);
        EXPECT_EQ(run.output, "");
        EXPECT_EQ(run.errors, "Программа уже запущена.\n");
        EXPECT_EQ(FolderNames(ws_.In()), (std::vector<std::string>{"a.txt"}));
    };
    {
        SCOPED_TRACE("the lock held as the window holds it");
        const auto lock = platform::SingleInstanceLock::TryAcquire("kvadrel");
        ASSERT_NE(lock, nullptr);
        expectRefused();
    }
    {
        SCOPED_TRACE("another kvadrel-batch counting down");
        fs::rename(ws_.In() / "a.txt", ws_.In() / "a.later");  // not of the mask yet
        ChildProgram first = ws_.Start(ws_.Arguments(false), ErrorOutput::Terminal);
        ASSERT_TRUE(first.CollectUntil([&] { return Shows(first.Errors(), "Ожидание 60 секунд"); },
                                       kRunBound));
        fs::rename(ws_.In() / "a.later", ws_.In() / "a.txt");
        expectRefused();
        first.Signal(SIGTERM);
        EXPECT_EQ(first.WaitForExit(kStopBound), 0);
    }
    const BatchWorkspace::Run run = ws_.RunOnce();
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.output, ws_.Converted("a.txt", "a.dbf", 1));
}

TEST_F(BatchTest, StopSignalEndsTheRunCleanly) {
    struct Case {
        int signal;
        const char* caption;  // shown when the signal is sent
        bool fileFinished;    // the file is converted, whenever the signal came
    };
    const std::vector<Case> cases = {
        {SIGTERM, "Ожидание 60 секунд", true},
        {SIGINT, "Ожидание 60 секунд", true},
        {SIGTERM, "Преобразование big.txt", true},  // a file being filled is finished first
        {SIGINT, "Декодирование big.txt", false},
    };
    constexpr int kRecords = 100'000;
    TDL config;
    NumberedFile::AddFields(*ws_.AddType(config, "big"));
    ws_.Save(config);
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(strsignal(c.signal)) + " at " + c.caption);
        NumberedFile::Write(ws_.In() / "big.txt", kRecords);
        ChildProgram batch = ws_.Start(ws_.Arguments(false), ErrorOutput::Terminal);
        ASSERT_TRUE(
            batch.CollectUntil([&] { return Shows(batch.Errors(), c.caption); }, kRunBound));
        batch.Signal(c.signal);
        EXPECT_EQ(batch.WaitForExit(kStopBound), 0);

        // The file is converted completely or left untouched for the next run.
        EXPECT_FALSE(fs::exists(ws_.Out() / "big.tmp"));
        if (fs::exists(ws_.In() / "big.txt")) {
            EXPECT_FALSE(c.fileFinished) << "the source stays after its conversion began";
            EXPECT_FALSE(fs::exists(ws_.Out() / "big.dbf"));
            EXPECT_EQ(batch.Output(), "");
        } else {
            EXPECT_EQ(batch.Output(), ws_.Converted("big.txt", "big.dbf", kRecords));
            NumberedFile::ExpectTable(ReadDbf(ws_.Out() / "big.dbf"), kRecords);
            fs::remove(ws_.Out() / "big.dbf");
        }
    }
}

}  // namespace

TEST_F(BatchTest, StopSignalEndsAOnePassRunAfterTheFileBeingFilled) {
    constexpr int kRecords = 100'000;
    constexpr int kFiles = 4;
    TDL config;
    NumberedFile::AddFields(*ws_.AddType(config, "big"));
    ws_.Save(config);
    for (const int signal : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(strsignal(signal));
        for (int i = 0; i < kFiles; ++i) {
            NumberedFile::Write(ws_.In() / ("big" + std::to_string(i) + ".txt"), kRecords);
        }
        ChildProgram batch = ws_.Start(ws_.Arguments(true), ErrorOutput::Terminal);
        ASSERT_TRUE(batch.CollectUntil(
            [&] {
                for (const auto& frame : ProgressFrames(batch.Errors())) {
                    if (frame.caption.rfind("Преобразование ", 0) == 0) {
                        return true;
                    }
                }
                return false;
            },
            kRunBound));
        batch.Signal(signal);
        EXPECT_EQ(batch.WaitForExit(kStopBound), 0);

        // The file being filled was finished and the pass ended there (a busy
        // machine may have begun the next file before the signal came).
        const size_t converted = Lines(batch.Output()).size();
        EXPECT_GE(converted, 1u) << batch.Output();
        EXPECT_LT(converted, size_t(kFiles)) << batch.Output();
        EXPECT_EQ(FolderNames(ws_.In()).size(), kFiles - converted);
        const std::vector<std::string> tables = FolderNames(ws_.Out());
        ASSERT_EQ(tables.size(), converted);
        for (const auto& table : tables) {
            NumberedFile::ExpectTable(ReadDbf(ws_.Out() / table), kRecords);
        }
        fs::remove_all(ws_.Out());
        fs::create_directory(ws_.Out());
        for (const auto& name : FolderNames(ws_.In())) {
            fs::remove(ws_.In() / name);
        }
    }
}

TEST_F(BatchTest, ControlCharactersInNamesAreShownEscaped) {
    // A name that would set the terminal's title and clear its screen.
    const std::string name = "t\x1b]0;owned\x07\x1b[2J.txt";
    const std::string shown = "t\\x1b]0;owned\\x07\\x1b[2J";
    ws_.WriteSource(name, {"&АМТ", "/01=1"});
    ChildProgram batch = ws_.Start(ws_.Arguments(true), ErrorOutput::Terminal);
    EXPECT_EQ(batch.WaitForExit(kRunBound), 0);
    EXPECT_EQ(batch.Output(), (ws_.In() / shown).string() + ".txt -> " +
                                  (ws_.Out() / shown).string() + ".dbf (1 records)\n");
    EXPECT_TRUE(Shows(batch.Errors(), "Декодирование " + shown + ".txt")) << batch.Errors();
    for (const char* raw : {"\x1b]", "\x07", "\x1b[2J"}) {
        EXPECT_EQ(batch.Errors().find(raw), std::string::npos);
    }
    EXPECT_TRUE(fs::exists(ws_.Out() / (name.substr(0, name.size() - 4) + ".dbf")));
}
