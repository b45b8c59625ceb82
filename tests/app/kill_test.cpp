// Killing kvadrel-batch (SIGKILL, as the OOM killer or a "kill -9" would)
// while it converts a large file: whatever the moment, no partial table ever
// stands under the .dbf name, the source is never gone before its table is
// complete, and the next run completes the file.
#include <gtest/gtest.h>
#include <signal.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <map>
#include <random>
#include <string>

#include "batch_numbered_file.h"
#include "batch_progress.h"
#include "batch_workspace.h"
#include "engine/dbf/dbf_reader.h"
#include "platform/files/file_listing.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRecords = 300'000;
constexpr int kRounds = 12;

// Where in the conversion a round aims its kill.
enum class Aim { Decoding, Filling, Replacing };

uintmax_t Size(const fs::path& file) {
    std::error_code absent;
    return fs::file_size(file, absent);
}

// Tables equal but for the date of their last update (bytes 1-3), which
// changes at midnight.
bool SameTable(const std::string& a, const std::string& b) {
    return a.size() == b.size() && a.size() > 4 && a[0] == b[0] &&
           a.compare(4, std::string::npos, b, 4) == 0;
}

TEST(KillTest, KilledAnywhereItNeverLosesAnUpdateNorLeavesAPartialTable) {
    BatchWorkspace ws;
    TDL config;
    NumberedFile::AddFields(*ws.AddType(config, "big"));
    ws.Save(config);
    const fs::path source = ws.In() / "big.txt";
    // Where the source stands while its delete is checked: a kill then leaves
    // it there, and the next run takes it from there.
    const fs::path claimed = ws.In() / (std::string(platform::kClaimPrefix) + "big.txt");
    const fs::path table = ws.Out() / "big.dbf";
    const fs::path temporary = ws.Out() / "big.tmp";
    const std::string converted = ws.Converted("big.txt", "big.dbf", kRecords);

    // An older table of the same name, which every round's table replaces.
    NumberedFile::Write(source, 1);
    ASSERT_EQ(ws.RunOnce().status, 0);
    const std::string older = ReadBytes(table);
    ASSERT_EQ(ReadDbf(table).rows.size(), 1u);

    // The large source, and its table from a run left alone, read back in full.
    const fs::path large = ws.Root() / "large.txt";
    NumberedFile::Write(large, kRecords);
    fs::copy_file(large, source);
    ASSERT_EQ(ws.RunOnce().output, converted);
    NumberedFile::ExpectTable(ReadDbf(table), kRecords);
    ASSERT_FALSE(HasFailure());
    const std::string complete = ReadBytes(table);

    std::mt19937 random(20261210);
    std::map<std::string, int> moments;  // what the kills interrupted, for the log
    for (int round = 0; round < kRounds; ++round) {
        fs::copy_file(large, source);
        std::ofstream(table, std::ios::binary | std::ios::trunc) << older;
        const Aim aim = Aim(round % 3);
        SCOPED_TRACE("round " + std::to_string(round) + ", aim " + std::to_string(int(aim)));

        ChildProgram batch = ws.Start(ws.Arguments(true), ErrorOutput::Terminal);
        const auto percent = std::uniform_int_distribution(0, 99)(random);
        switch (aim) {
            case Aim::Decoding:
                batch.CollectUntil(
                    [&] { return Shows(batch.Errors(), "Декодирование big.txt", percent); },
                    kRunBound);
                break;
            case Aim::Filling:
                batch.CollectUntil(
                    [&] { return Shows(batch.Errors(), "Преобразование big.txt", percent); },
                    kRunBound);
                break;
            case Aim::Replacing: {
                // The table is written out: then it is flushed, put in place
                // of the older one, and the source is deleted. The kill comes
                // when the round's step of these has been seen.
                const auto full = complete.size();
                const auto written = [&] { return Size(temporary) == full; };
                const auto inPlace = [&] { return Size(table) == full; };
                const std::function<bool()> steps[] = {
                    [&] { return written() || inPlace(); },
                    [&] { return (written() && !fs::exists(table)) || inPlace(); },
                    inPlace,
                };
                batch.CollectUntil(steps[std::uniform_int_distribution(0, 2)(random)], kRunBound);
                break;
            }
        }
        batch.Signal(SIGKILL);
        const int status = batch.WaitForExit(kRunBound);
        EXPECT_TRUE(status == 128 + SIGKILL || status == 0) << status;

        // Under the .dbf name only a complete table: the new one, or the older
        // one while the source is still there.
        const bool sourceKept = fs::exists(source) || fs::exists(claimed);
        const std::string found = fs::exists(table) ? ReadBytes(table) : std::string();
        const bool replaced = SameTable(found, complete);
        EXPECT_TRUE(found.empty() || replaced || SameTable(found, older))
            << "a partial table under the .dbf name: " << found.size() << " bytes";
        EXPECT_TRUE(sourceKept || replaced) << "the source is gone without its table";
        const std::string moment =
            !sourceKept ? "finished"
            : replaced  ? "table in place, source not yet deleted"
            : Size(temporary) == complete.size()
                ? (found.empty() ? "table written, older removed" : "table written, older in place")
            : fs::exists(temporary) ? "filling"
                                    : "reading or decoding";
        ++moments[moment];

        // The next run completes the file.
        const BatchWorkspace::Run next = ws.RunOnce();
        EXPECT_EQ(next.status, 0) << next.errors;
        EXPECT_EQ(next.errors, "");
        EXPECT_EQ(next.output, sourceKept ? converted : "");
        EXPECT_FALSE(fs::exists(source));
        EXPECT_FALSE(fs::exists(claimed));
        EXPECT_FALSE(fs::exists(temporary));
        EXPECT_TRUE(SameTable(ReadBytes(table), complete));
        if (HasFailure()) {
            return;  // the rounds after would only repeat the failure
        }
    }

    std::string log;
    for (const auto& [moment, count] : moments) {
        log += moment + ": " + std::to_string(count) + "; ";
    }
    std::cout << "kills interrupted: " << log << '\n';
    RecordProperty("moments", log);
}

}  // namespace
