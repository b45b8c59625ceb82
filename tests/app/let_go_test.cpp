// kvadrel-batch and another program that opens a file being converted, to
// append to it: kvadrel-batch lets go at once, and the other program's open
// returns before any table of the old content stands. The run ends with 0,
// as for a busy file, and the next run converts the whole file.
//
// No timing decides the test: kvadrel-batch is stopped (SIGSTOP) while it
// converts, the folder shows how far it is, the other program's open begins
// while it stands still, and only then does it go on.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <thread>

#include "batch_numbered_file.h"
#include "batch_progress.h"
#include "batch_workspace.h"
#include "engine/dbf/dbf_reader.h"

namespace fs = std::filesystem;

namespace {

// Large enough that a stop once the decode is seen under way nearly always
// finds the conversion far from its end.
constexpr int kRecords = 400'000;

uintmax_t SizeOf(const fs::path& file) {
    std::error_code absent;
    const uintmax_t size = fs::file_size(file, absent);
    return absent ? 0 : size;
}

TEST(LetGo, AProgramOpeningAFileBeingConvertedGetsItAtOnce) {
    BatchWorkspace ws;
    TDL config;
    NumberedFile::AddFields(*ws.AddType(config, "big"));
    ws.Save(config);
    const fs::path source = ws.In() / "big.txt";
    const fs::path table = ws.Out() / "big.dbf";
    NumberedFile::Write(source, kRecords);

    ChildProgram batch = ws.Start(ws.Arguments(true), ErrorOutput::Terminal);
    ASSERT_TRUE(batch.CollectUntil(
        [&] { return Shows(batch.Errors(), "Декодирование big.txt", 1); }, kRunBound));
    ASSERT_TRUE(batch.Pause());
    // More than one write block of the table still to come: the fill has
    // rows left, so the conversion has not asked its last question yet.
    if (fs::exists(table) ||
        SizeOf(ws.Out() / "big.tmp") + (1 << 20) >= NumberedFile::TableSize(kRecords)) {
        batch.Resume();
        batch.WaitForExit(kRunBound);
        GTEST_SKIP() << "the machine let the conversion get to its end before it was stopped";
    }
    // The other program, first without waiting: refused, since the file is
    // held, which begins the break of the hold; then waiting, on a thread of
    // its own while the output is collected.
    const int refused = ::open(source.c_str(), O_WRONLY | O_APPEND | O_NONBLOCK | O_CLOEXEC);
    const int error = errno;
    EXPECT_EQ(refused, -1);
    EXPECT_EQ(error, EWOULDBLOCK);
    if (refused >= 0) {
        ::close(refused);
    }
    bool appended = false;
    bool tableAtOpen = true;
    std::thread other([&] {
        const int fd = ::open(source.c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
        tableAtOpen = fs::exists(table) || fs::exists(ws.Out() / "big.tmp");
        const std::string record = ToDos866("/01=9999999/02=Новиков/03=Тверь") + "\r\n";
        appended = fd >= 0 && ::write(fd, record.data(), record.size()) == ssize_t(record.size());
        if (fd >= 0) {
            ::close(fd);
        }
    });
    batch.Resume();
    const int status = batch.WaitForExit(kRunBound);
    other.join();

    EXPECT_EQ(status, 0) << batch.Errors();
    EXPECT_TRUE(appended);
    EXPECT_FALSE(tableAtOpen);  // let go of with its .tmp gone, and no table put in place
    EXPECT_FALSE(Shows(batch.Errors(), "Преобразование big.txt", 99));  // the fill never ended
    EXPECT_EQ(batch.Output(), "");
    EXPECT_EQ(batch.Errors().find(source.string() + ":"), std::string::npos) << batch.Errors();
    EXPECT_FALSE(fs::exists(ws.Journal()));  // nothing converted, nothing failed
    EXPECT_TRUE(fs::is_empty(ws.Out()));

    const BatchWorkspace::Run next = ws.RunOnce();
    EXPECT_EQ(next.status, 0) << next.errors;
    EXPECT_EQ(next.output, ws.Converted("big.txt", "big.dbf", kRecords + 1));
    EXPECT_FALSE(fs::exists(source));
    const DbfContents contents = ReadDbf(table);
    ASSERT_EQ(contents.rows.size(), size_t(kRecords) + 1);
    EXPECT_EQ(contents.Value(size_t(kRecords), 0), "9999999");
}

}  // namespace
