// The worker against a source folder that changes under it: files replaced,
// appended to, swapped for links or pipes, not deletable, written by another
// user; and every step of the table work made to fail.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "engine/dbf/dbf_reader.h"
#include "engine/delta.h"
#include "platform/files/file_listing.h"
#include "platform/files/native_path.h"
#include "scripted_file_system.h"
#include "tests/platform/child_process.h"
#include "worker_fixture.h"

namespace fs = std::filesystem;

namespace {

const AnsiString kFirstWait = "\xCE\xE6\xE8\xE4\xE0\xED\xE8\xE5 60 \xF1\xE5\xEA\xF3\xED\xE4";

// Stops the worker after a given number of passes, calling `between` after
// each (the worker waits meanwhile).
class PassCounter : public TStatusPane, public TProgressBar {
  public:
    PassCounter(int passes, std::function<void(int pass)> between)
        : passes_(passes), between_(std::move(between)) {}

    void SetCaption(const AnsiString& text) override {
        if (text != kFirstWait) {
            return;
        }
        ++done_;
        if (between_) {
            between_(done_);
        }
        if (done_ == passes_) {
            std::lock_guard lock(mutex_);
            worker_->Terminate();
        }
    }
    void SetPercent(int16_t) override {}

    void Attach(platform::TThread& worker) {
        std::lock_guard lock(mutex_);
        worker_ = &worker;
    }

  private:
    const int passes_;
    std::function<void(int)> between_;
    int done_ = 0;
    std::mutex mutex_;  // the worker starts before it is attached
    platform::TThread* worker_ = nullptr;
};

constexpr uid_t kNobody = 65534;

// Runs `work` in a child process as the user nobody; true when it answers
// true. An escaping exception is a false answer, never a second test run.
bool AskAsNobody(const std::function<bool()>& work) {
    return child_process::AskChild([&] {
        try {
            return ::setresgid(kNobody, kNobody, kNobody) == 0 &&
                   ::setresuid(kNobody, kNobody, kNobody) == 0 && work();
        } catch (const std::exception& error) {
            std::fprintf(stderr, "the child failed: %s\n", error.what());
            return false;
        }
    });
}

// Opens `file` for appending as another program would, but without waiting:
// true when the open is refused because we hold the file, which begins the
// break of our lease (a waiting open would begin it too).
bool OpenElsewhere(const fs::path& file) {
    return child_process::AskChild([&] {
        const int fd = ::open(file.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK);
        if (fd >= 0) {
            ::close(fd);
            return false;
        }
        return errno == EWOULDBLOCK;
    });
}

class SourceBoundaryTest : public ::testing::Test {
  protected:
    SourceBoundaryTest() {
        type_ = ws_.AddType(config_, "t", 0, "");
        type_->Add("A", 10, 1, 1);
    }

    TDeltaSettings Settings() {
        TDeltaSettings settings = ws_.Settings();
        settings.Files = &files_;
        settings.OnConverted = [this](const AnsiString&, const AnsiString& source,
                                      const AnsiString& table,
                                      int) { converted_.emplace_back(source, table); };
        return settings;
    }

    // One pass, as kvadrel-batch --once makes it.
    void RunOnce() {
        SaveConfiguration();
        RecordingStatus status;
        TDelta worker(status, status, Settings());
        worker.WaitFor();
    }

    // `passes` passes of one worker, with `between` called after each.
    void RunPasses(int passes, std::function<void(int pass)> between = {}) {
        SaveConfiguration();
        TDeltaSettings settings = Settings();
        settings.SinglePass = false;
        PassCounter counter(passes, std::move(between));
        std::unique_ptr<TDelta> worker;
        {
            worker = std::make_unique<TDelta>(counter, counter, settings);
            counter.Attach(*worker);
        }
        worker->WaitFor();
    }

    // Saved once, by the test's own user.
    void SaveConfiguration() {
        if (!saved_) {
            config_.Save(ws_.Store());
            saved_ = true;
        }
    }

    fs::path In(const std::string& name) const { return ws_.In() / name; }
    fs::path Out(const std::string& name) const { return ws_.Out() / name; }
    void Source(const std::string& name, const std::string& text) const {
        ws_.Write(fs::path("in") / name, text);
    }

    // With the faults gone, the next pass converts a.txt, of the records x
    // and y, into a.dbf alone, and fails nothing.
    void ExpectTheNextPassConvertsA() {
        files_.Before = nullptr;
        ws_.failures.clear();
        RunOnce();
        EXPECT_TRUE(FolderNames(ws_.In()).empty());
        EXPECT_EQ(FolderNames(ws_.Out()), std::vector<std::string>{"a.dbf"});
        EXPECT_EQ(Values(Out("a.dbf")), (std::vector<AnsiString>{"x", "y"}));
        EXPECT_TRUE(ws_.failures.empty());
    }

    // The values of field A of a table.
    std::vector<AnsiString> Values(const fs::path& table) const {
        std::vector<AnsiString> values;
        const DbfContents contents = ReadDbf(table);
        for (size_t row = 0; row < contents.rows.size(); ++row) {
            values.push_back(contents.Value(row, 0));
        }
        return values;
    }

    // How many failures name `source` (a name in the source folder) and hold `text`.
    size_t FailuresOf(const std::string& source, const std::string& text = "") const {
        return size_t(std::count_if(ws_.failures.begin(), ws_.failures.end(), [&](const auto& f) {
            return f.first == ws_.InFolder() + platform::Utf8ToCp1251(source) &&
                   f.second.find(text) != std::string::npos;
        }));
    }

    WorkerWorkspace ws_;
    TDL config_;
    TDD* type_;
    ScriptedFileSystem files_;
    std::vector<std::pair<AnsiString, AnsiString>> converted_;
    bool saved_ = false;
};

// A new delivery renamed over the name while the old one is converted is
// neither deleted nor lost: the next pass converts it.
TEST_F(SourceBoundaryTest, DeliveryReplacedDuringItsConversionIsConvertedNextPass) {
    Source("a.txt", "/01=old\r\n");
    bool replaced = false;
    files_.Before = [&](FsStep step, const fs::path& path) {
        if (step == FsStep::CreateNew && !replaced) {
            replaced = true;
            ws_.Write("newer", "/01=new\r\n");
            fs::rename(ws_.Root() / "newer", In("a.txt"));
        }
        (void)path;
    };
    RunOnce();
    EXPECT_EQ(FolderNames(ws_.In()), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(Values(Out("a.dbf")), std::vector<AnsiString>{"old"});
    EXPECT_TRUE(ws_.failures.empty());
    RunOnce();
    EXPECT_TRUE(FolderNames(ws_.In()).empty());
    EXPECT_EQ(Values(Out("a.dbf")), std::vector<AnsiString>{"new"});
}

// The delivery that comes between our move of the name aside and our check
// goes back under its name, never deleted.
TEST_F(SourceBoundaryTest, DeliveryArrivingAsTheNameIsMovedAsideGoesBack) {
    Source("a.txt", "/01=old\r\n");
    bool replaced = false;
    files_.Before = [&](FsStep step, const fs::path& path) {
        if (step == FsStep::Rename && path == In("a.txt") && !replaced) {
            replaced = true;
            ws_.Write("newer", "/01=new\r\n");
            fs::rename(ws_.Root() / "newer", In("a.txt"));
        }
    };
    RunOnce();
    EXPECT_EQ(FolderNames(ws_.In()), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(ReadBytes(In("a.txt")), "/01=new\r\n");
}

// Someone opening the source to append while we convert it must not have
// the file deleted under them: we let go of it at once, with no table, it is
// busy, not failed, and the next pass takes it whole.
TEST_F(SourceBoundaryTest, FileAppendedToDuringItsConversionLosesNothing) {
    Source("a.txt", "/01=first\r\n");
    bool appended = false;
    files_.Before = [&](FsStep step, const fs::path&) {
        if (step == FsStep::CreateNew && !appended) {
            appended = true;
            // A writer: it appends at once where nobody holds the file.
            EXPECT_TRUE(child_process::AskChild([&] {
                const int fd = ::open(In("a.txt").c_str(), O_WRONLY | O_APPEND | O_NONBLOCK);
                if (fd < 0) {
                    return errno == EWOULDBLOCK;  // it waits for us instead
                }
                const bool written = ::write(fd, "/01=second\r\n", 12) == 12;
                ::close(fd);
                return written;
            }));
        }
    };
    RunOnce();
    if (ReadBytes(In("a.txt")) == "/01=first\r\n") {
        std::ofstream(In("a.txt"), std::ios::app) << "/01=second\r\n";  // the writer's turn
    }
    EXPECT_TRUE(ws_.failures.empty());
    EXPECT_TRUE(FolderNames(ws_.Out()).empty());
    EXPECT_TRUE(converted_.empty());
    files_.Before = nullptr;
    RunOnce();
    EXPECT_TRUE(FolderNames(ws_.In()).empty());
    EXPECT_EQ(Values(Out("a.dbf")), (std::vector<AnsiString>{"first", "second"}));
}

// Another program opening a file while it is decoded or filled gets it at
// once: the step ends at its next report, its .tmp goes, no table of the old
// content is put in place, and the descriptor is closed before anything else
// happens. The file is busy, not failed, and no stop: the pass goes on with
// the next file; the next pass converts the whole file.
struct OpenedWhile {
    const char* name;
    FsStep begins;  // the step on a.txt or a.tmp before which the questions are counted
};

class OpenedElsewhere : public SourceBoundaryTest,
                        public testing::WithParamInterface<OpenedWhile> {};

TEST_P(OpenedElsewhere, FileIsLetGoAtOnceWithNoTableAndConvertedWholeNextPass) {
    constexpr int kLines = 200;  // a question at each percent of each step
    constexpr int kBreakAt = 50;
    std::string text;
    std::vector<AnsiString> values;
    for (int i = 0; i < kLines; ++i) {
        values.push_back("v" + std::to_string(i));
        text += "/01=" + values.back() + "\r\n";
    }
    Source("a.txt", text);
    Source("b.txt", "/01=b\r\n");
    bool begun = false;
    int questions = 0;  // on a.txt, since the step began
    std::optional<std::vector<std::string>> tablesAtClose;
    std::vector<FsStep> tableStepsAfterBreak;
    files_.Before = [&](FsStep step, const fs::path& path) {
        if (path != In("a.txt") && path != Out("a.tmp")) {
            return;
        }
        if (questions == kBreakAt && path == Out("a.tmp")) {
            tableStepsAfterBreak.push_back(step);
        }
        begun = begun || step == GetParam().begins;
        if (begun && step == FsStep::AskHold && ++questions == kBreakAt) {
            EXPECT_TRUE(OpenElsewhere(In("a.txt")));
        }
    };
    files_.AfterCloseSource = [&](const fs::path& path) {
        if (path == In("a.txt") && !tablesAtClose) {
            tablesAtClose = FolderNames(ws_.Out());
        }
    };
    RunOnce();
    EXPECT_EQ(questions, kBreakAt);  // none after the one answered: the step ended there
    ASSERT_TRUE(tablesAtClose.has_value());
    EXPECT_TRUE(tablesAtClose->empty());  // closed with the .tmp gone, before b.txt was taken
    for (const FsStep step : tableStepsAfterBreak) {  // no write or flush delays the release
        EXPECT_TRUE(step == FsStep::Status || step == FsStep::Remove) << int(step);
    }
    EXPECT_EQ(ReadBytes(In("a.txt")), text);
    EXPECT_EQ(FolderNames(ws_.In()), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(FolderNames(ws_.Out()), std::vector<std::string>{"b.dbf"});
    EXPECT_TRUE(ws_.failures.empty());
    ASSERT_EQ(converted_.size(), 1u);
    EXPECT_EQ(converted_[0].first, ws_.InFolder() + "b.txt");

    files_.Before = nullptr;
    RunOnce();
    EXPECT_TRUE(FolderNames(ws_.In()).empty());
    EXPECT_EQ(Values(Out("a.dbf")), values);
    EXPECT_TRUE(ws_.failures.empty());
}

INSTANTIATE_TEST_SUITE_P(Steps, OpenedElsewhere,
                         testing::Values(OpenedWhile{"WhileDecoding", FsStep::ReadSource},
                                         OpenedWhile{"WhileFilling", FsStep::CreateNew}),
                         [](const auto& info) { return std::string(info.param.name); });

// Another program opening the file once its table is in place, as the source
// is moved aside for its delete: the table stands, the source stays, quietly,
// and the next pass converts it again and replaces the table.
TEST_F(SourceBoundaryTest, FileOpenedElsewhereOnceItsTableIsInPlaceStaysQuietly) {
    Source("a.txt", "/01=first\r\n");
    bool opened = false;
    files_.Before = [&](FsStep step, const fs::path& path) {
        if (step == FsStep::Rename && path == In("a.txt") && !opened) {
            opened = true;
            EXPECT_EQ(Values(Out("a.dbf")), std::vector<AnsiString>{"first"});
            EXPECT_TRUE(OpenElsewhere(In("a.txt")));
        }
    };
    RunOnce();
    EXPECT_TRUE(opened);
    EXPECT_EQ(FolderNames(ws_.In()), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(Values(Out("a.dbf")), std::vector<AnsiString>{"first"});
    EXPECT_TRUE(ws_.failures.empty());
    EXPECT_TRUE(converted_.empty());

    std::ofstream(In("a.txt"), std::ios::app) << "/01=second\r\n";  // the other program's write
    files_.Before = nullptr;
    RunOnce();
    EXPECT_TRUE(FolderNames(ws_.In()).empty());
    EXPECT_EQ(FolderNames(ws_.Out()), std::vector<std::string>{"a.dbf"});
    EXPECT_EQ(Values(Out("a.dbf")), (std::vector<AnsiString>{"first", "second"}));
    EXPECT_EQ(converted_.size(), 1u);
    EXPECT_TRUE(ws_.failures.empty());
}

// A link or a pipe put in place of a listed file after the listing is never
// followed, never blocks, never deleted, and is reported.
TEST_F(SourceBoundaryTest, LinkOrPipeSwappedInIsNeitherReadNorDeleted) {
    ws_.Write("private.txt", "/01=secret\r\n");
    const std::vector<std::pair<const char*, std::function<void(const fs::path&)>>> swaps = {
        {"link", [&](const fs::path& p) { fs::create_symlink(ws_.Root() / "private.txt", p); }},
        {"pipe", [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0600), 0); }},
    };
    for (const auto& [what, swapIn] : swaps) {
        SCOPED_TRACE(what);
        const auto& swap = swapIn;  // a lambda may not capture a structured binding
        Source("a.txt", "/01=x\r\n");
        files_.Before = [&](FsStep step, const fs::path& path) {
            if (step == FsStep::OpenSource && path == In("a.txt") && fs::is_regular_file(path)) {
                fs::remove(path);
                swap(path);
            }
        };
        ws_.failures.clear();
        RunOnce();
        EXPECT_TRUE(fs::exists(fs::symlink_status(In("a.txt"))));
        EXPECT_FALSE(fs::exists(Out("a.dbf")));
        EXPECT_EQ(ReadBytes(ws_.Root() / "private.txt"), "/01=secret\r\n");
        EXPECT_EQ(FailuresOf("a.txt", "no longer a regular file"), 1u);
        fs::remove(In("a.txt"));
    }
}

TEST_F(SourceBoundaryTest, TablesWrittenIntoTheSourceFolderAreNoSources) {
    type_->To = type_->From;
    type_->Mask = "*";
    Source("a.txt", "/01=x\r\n");
    Source("b.tmp.txt", "/01=y\r\n");
    RunOnce();
    RunOnce();
    EXPECT_EQ(FolderNames(ws_.In()), (std::vector<std::string>{"a.dbf", "b.tmp.dbf"}));
    EXPECT_EQ(Values(In("a.dbf")), std::vector<AnsiString>{"x"});
    EXPECT_TRUE(ws_.failures.empty());
}

// x.002 is the later update of x: it is taken after x.001 and its table stays.
TEST_F(SourceBoundaryTest, LaterUpdateOfABaseNameWins) {
    type_->Mask = "*";
    for (int i = 0; i < 20; ++i) {
        const std::string base = "u" + std::to_string(i);
        Source(base + ".002", "/01=later\r\n");
        Source(base + ".001", "/01=earlier\r\n");
    }
    RunOnce();
    for (int i = 0; i < 20; ++i) {
        EXPECT_EQ(Values(Out("u" + std::to_string(i) + ".dbf")), std::vector<AnsiString>{"later"})
            << i;
    }
}

// A source that cannot be deleted is a failure at every pass, and its table
// is not written again while it stays as it is; once changed, it is new.
TEST_F(SourceBoundaryTest, UndeletableSourceIsReportedEveryPassAndConvertedOnce) {
    Source("a.txt", "/01=x\r\n");
    int tables = 0;
    files_.Before = [&](FsStep step, const fs::path& path) {
        if (step == FsStep::Remove && path.parent_path() == ws_.In()) {
            ScriptedFileSystem::Fail(EACCES, path);
        }
        if (step == FsStep::CreateNew) {
            ++tables;
        }
    };
    RunPasses(3, [&](int pass) {
        if (pass == 2) {
            std::ofstream(In("a.txt"), std::ios::app) << "/01=y\r\n";
        }
    });
    EXPECT_EQ(FolderNames(ws_.In()), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(FailuresOf("a.txt", "cannot be deleted"), 3u);
    EXPECT_EQ(tables, 2);  // the first delivery and its changed form
    EXPECT_EQ(Values(Out("a.dbf")), (std::vector<AnsiString>{"x", "y"}));
    EXPECT_TRUE(converted_.empty());
}

// The same with a folder the converter's user may not change, as another
// user: CI runs as root, who may delete anything.
TEST_F(SourceBoundaryTest, SourceInAFolderWeMayNotChangeIsReportedAsAnotherUser) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to run the worker as another user";
    }
    Source("a.txt", "/01=x\r\n");
    SaveConfiguration();
    for (const fs::path& path : {ws_.Root(), ws_.In(), In("a.txt"), ws_.Store()}) {
        ASSERT_EQ(::chmod(path.c_str(), 0755), 0);
    }
    ASSERT_EQ(::chown(In("a.txt").c_str(), kNobody, kNobody), 0);  // its own file: held
    ASSERT_EQ(::chown(ws_.Out().c_str(), kNobody, kNobody), 0);
    EXPECT_TRUE(AskAsNobody([&] {
        RunPasses(2);
        const bool reported = FailuresOf("a.txt", "cannot be deleted") == 2;
        for (const auto& [source, reason] : ws_.failures) {
            if (!reported) {
                std::fprintf(stderr, "%s: %s\n", source.c_str(), reason.c_str());
            }
        }
        return reported && fs::exists(In("a.txt")) &&
               Values(Out("a.dbf")) == std::vector<AnsiString>{"x"};
    }));
}

// Out of space, or any step of the table work failing: the source stays,
// no .tmp is left, no partial table stands under the .dbf name, and the next
// pass completes.
struct FaultCase {
    const char* name;
    FsStep step;
    int error;
    int nth;  // which such step fails (1: the first)
};

class TableWorkFault : public SourceBoundaryTest, public testing::WithParamInterface<FaultCase> {};

TEST_P(TableWorkFault, SourceStaysAndNothingPartialIsLeft) {
    const FaultCase fault = GetParam();
    ws_.Write("out/a.dbf", "an older table");
    Source("a.txt", "/01=x\r\n/01=y\r\n");
    int seen = 0;
    files_.Before = [&](FsStep step, const fs::path& path) {
        const bool inTarget = path == ws_.Out() || path.parent_path() == ws_.Out();
        if (step == fault.step && inTarget && ++seen == fault.nth) {
            ScriptedFileSystem::Fail(fault.error, path);
        }
    };
    RunOnce();
    EXPECT_EQ(FolderNames(ws_.In()), std::vector<std::string>{"a.txt"});
    EXPECT_FALSE(fs::exists(Out("a.tmp")));
    const std::string table = ReadBytes(Out("a.dbf"));
    EXPECT_TRUE(table.empty() || table == "an older table" ||
                Values(Out("a.dbf")) == (std::vector<AnsiString>{"x", "y"}));
    EXPECT_EQ(FailuresOf("a.txt"), 1u);
    EXPECT_TRUE(converted_.empty());

    ExpectTheNextPassConvertsA();
}

INSTANTIATE_TEST_SUITE_P(
    Steps, TableWorkFault,
    testing::Values(FaultCase{"DiskFullAtTheHeader", FsStep::Write, ENOSPC, 1},
                    FaultCase{"DiskFullAtTheRecords", FsStep::Write, ENOSPC, 2},
                    FaultCase{"CreateRefused", FsStep::CreateNew, EACCES, 1},
                    FaultCase{"FlushFails", FsStep::Flush, EIO, 1},
                    FaultCase{"CloseFails", FsStep::Close, EIO, 2},
                    FaultCase{"OlderTableNotDeletable", FsStep::Remove, EBUSY, 1},
                    FaultCase{"RenameFails", FsStep::Rename, EIO, 1},
                    FaultCase{"FolderFlushFails", FsStep::FlushFolder, EIO, 1}),
    [](const auto& info) { return std::string(info.param.name); });

// A ".tmp" that cannot be removed after a failed write is told in the
// file's failure, its one report, and nowhere else; the next pass replaces it.
// The header's write fails within the creation of the table, the records'
// write within the table work.
class UnremovableTemporary : public SourceBoundaryTest, public testing::WithParamInterface<int> {};

TEST_P(UnremovableTemporary, IsPartOfTheFileFailure) {
    const int failingWrite = GetParam();
    Source("a.txt", "/01=x\r\n/01=y\r\n");
    int writes = 0;
    files_.Before = [&](FsStep step, const fs::path& path) {
        if (path.filename() != "a.tmp") {
            return;
        }
        if (step == FsStep::Write && ++writes == failingWrite) {
            ScriptedFileSystem::Fail(ENOSPC, path);
        }
        if (step == FsStep::Remove) {
            ScriptedFileSystem::Fail(EBUSY, path);
        }
    };
    testing::internal::CaptureStderr();
    RunOnce();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    ASSERT_EQ(ws_.failures.size(), 1u);
    const std::string& reason = ws_.failures[0].second;
    EXPECT_EQ(FailuresOf("a.txt"), 1u);
    EXPECT_NE(reason.find(std::generic_category().message(ENOSPC)), std::string::npos) << reason;
    const auto removal = reason.find("; cannot remove the incomplete table");
    ASSERT_NE(removal, std::string::npos) << reason;
    EXPECT_NE(reason.find(Out("a.tmp").string(), removal), std::string::npos) << reason;
    EXPECT_NE(reason.find(std::generic_category().message(EBUSY), removal), std::string::npos)
        << reason;
    EXPECT_TRUE(fs::exists(Out("a.tmp")));
    EXPECT_EQ(FolderNames(ws_.In()), std::vector<std::string>{"a.txt"});

    ExpectTheNextPassConvertsA();
}

INSTANTIATE_TEST_SUITE_P(Writes, UnremovableTemporary, testing::Values(1, 2), [](const auto& info) {
    return std::string(info.param == 1 ? "AtTheHeader" : "AtTheRecords");
});

// Without a hold (another user's file), a file counts as free only once it
// has stayed unchanged through a whole countdown: a writer that pauses
// between passes loses nothing.
TEST_F(SourceBoundaryTest, FileWithoutHoldWaitsUntilItStaysUnchangedForAPass) {
    files_.AfterOpenSource = [](platform::SourceOpening& opening) { opening.HoldRefused = true; };
    Source("a.txt", "/01=one\r\n");
    RunPasses(4, [&](int pass) {
        if (pass == 1) {
            EXPECT_TRUE(fs::exists(In("a.txt")));
            std::ofstream(In("a.txt"), std::ios::app) << "/01=two\r\n";  // after a pause
        }
    });
    EXPECT_TRUE(FolderNames(ws_.In()).empty());
    EXPECT_EQ(Values(Out("a.dbf")), (std::vector<AnsiString>{"one", "two"}));
    EXPECT_TRUE(ws_.failures.empty());
}

// The same with the real system: a file another user owns gets no lease, and
// a writer that pauses between two passes with the file still open loses
// nothing. Needs root to act as the converter of another user.
TEST_F(SourceBoundaryTest, SlowWriterOfAnotherUserLosesNothing) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "needs root to run the worker as another user than the file's owner";
    }
    Source("a.txt", "/01=one\r\n");
    SaveConfiguration();
    for (const fs::path& path : {ws_.Root(), ws_.In(), In("a.txt"), ws_.Store()}) {
        ASSERT_EQ(::chmod(path.c_str(), 0777), 0);  // the file stays root's, writable to all
    }
    ASSERT_EQ(::chown(ws_.Out().c_str(), kNobody, kNobody), 0);
    EXPECT_TRUE(AskAsNobody([&] {
        files_.Before = nullptr;
        const int writer = ::open(In("a.txt").c_str(), O_WRONLY | O_APPEND);
        bool present = true;
        RunPasses(3, [&](int pass) {
            if (pass == 1) {  // the writer goes on after a pause, with the file open all along
                present = fs::exists(In("a.txt")) && ::write(writer, "/01=two\r\n", 9) == 9 &&
                          ::close(writer) == 0;
            }
        });
        return writer >= 0 && present && !fs::exists(In("a.txt")) && ws_.failures.empty() &&
               Values(Out("a.dbf")) == (std::vector<AnsiString>{"one", "two"});
    }));
}

// One pass cannot wait: the time of the file must be a countdown old; a time
// in the future is reported, never skipped in silence.
TEST_F(SourceBoundaryTest, SinglePassTakesAFileWithoutHoldByTheAgeOfItsTime) {
    files_.AfterOpenSource = [](platform::SourceOpening& opening) { opening.HoldRefused = true; };
    Source("fresh.txt", "/01=x\r\n");
    Source("old.txt", "/01=x\r\n");
    Source("future.txt", "/01=x\r\n");
    const auto now = fs::file_time_type::clock::now();
    fs::last_write_time(In("old.txt"), now - std::chrono::seconds(62));
    fs::last_write_time(In("future.txt"), now + std::chrono::hours(1));
    RunOnce();
    EXPECT_EQ(FolderNames(ws_.In()), (std::vector<std::string>{"fresh.txt", "future.txt"}));
    EXPECT_EQ(FolderNames(ws_.Out()), std::vector<std::string>{"old.dbf"});
    EXPECT_EQ(FailuresOf("fresh.txt"), 0u);  // busy: quiet
    EXPECT_EQ(FailuresOf("future.txt", "future"), 1u);
}

// An unreadable file is reported, not taken for busy; as another user,
// since root reads everything.
TEST_F(SourceBoundaryTest, UnreadableFileIsReported) {
    Source("a.txt", "/01=x\r\n");
    files_.Before = [&](FsStep step, const fs::path& path) {
        if (step == FsStep::ReadSource) {
            ScriptedFileSystem::Fail(EIO, path);
        }
    };
    RunOnce();
    EXPECT_EQ(FailuresOf("a.txt", "scripted"), 1u);
    EXPECT_EQ(FolderNames(ws_.In()), std::vector<std::string>{"a.txt"});
    if (::geteuid() != 0) {
        return;  // the part below needs another user
    }
    files_.Before = nullptr;
    ws_.failures.clear();
    SaveConfiguration();
    for (const fs::path& path : {ws_.Root(), ws_.In(), ws_.Store()}) {
        ASSERT_EQ(::chmod(path.c_str(), 0777), 0);
    }
    ASSERT_EQ(::chmod(In("a.txt").c_str(), 0600), 0);
    ASSERT_EQ(::chown(ws_.Out().c_str(), kNobody, kNobody), 0);
    EXPECT_TRUE(AskAsNobody([&] {
        RunOnce();
        return FailuresOf("a.txt", "Permission denied") == 1 && fs::exists(In("a.txt"));
    }));
}

// A name Windows-1251 cannot write is reported; a name in Windows-1251 bytes
// (a share that does not speak UTF-8) is converted by its bytes.
TEST_F(SourceBoundaryTest, OddNamesAreReportedOrConvertedNeverSkippedInSilence) {
    type_->Mask = "*";
    Source("\xE6\x97\xA5.txt", "/01=x\r\n");          // a CJK letter in UTF-8
    Source("\xEE\xF2\xF7\xE5\xF2.txt", "/01=y\r\n");  // "отчет" in Windows-1251
    RunOnce();
    EXPECT_EQ(FolderNames(ws_.In()), std::vector<std::string>{"\xE6\x97\xA5.txt"});
    EXPECT_EQ(FailuresOf("?.txt", "Windows-1251"), 1u);
    EXPECT_EQ(Values(Out("\xD0\xBE\xD1\x82\xD1\x87\xD0\xB5\xD1\x82.dbf")),  // UTF-8
              std::vector<AnsiString>{"y"});
}

TEST_F(SourceBoundaryTest, PrintedTablePathIsTheTableWritten) {
    type_->To = platform::Utf8ToCp1251(ws_.Out().string());  // no final separator
    Source("r.txt", "/01=x\r\n");
    RunOnce();
    ASSERT_EQ(converted_.size(), 1u);
    EXPECT_EQ(platform::NativePath(converted_[0].second), Out("r.dbf"));
    EXPECT_TRUE(fs::exists(platform::NativePath(converted_[0].second)));
}

// A file left under its work name by a run that was killed is converted,
// before a newer delivery of the same name.
TEST_F(SourceBoundaryTest, FileLeftClaimedByAKilledRunIsConvertedFirst) {
    Source(std::string(platform::kClaimPrefix) + "a.txt", "/01=old\r\n");
    Source("a.txt", "/01=new\r\n");
    RunOnce();
    EXPECT_TRUE(FolderNames(ws_.In()).empty());
    EXPECT_EQ(Values(Out("a.dbf")), std::vector<AnsiString>{"new"});
    ASSERT_EQ(converted_.size(), 2u);
}

}  // namespace
