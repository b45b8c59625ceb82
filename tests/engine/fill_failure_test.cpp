// Failures while a table is filled that are no fault of a row: memory running
// out and a table that cannot take another record fail the whole file.
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <new>
#include <string>

#include "engine/dbf/dbf_table.h"
#include "engine/delta.h"
#include "engine/formats/coded_format.h"
#include "engine/formats/moscow_format.h"
#include "tests/engine/formats/format_fixture.h"
#include "tests/engine/worker_fixture.h"

namespace {

// Allocations of at least this many bytes fail; none while it is the maximum.
std::atomic<size_t> gFailingSize{std::numeric_limits<size_t>::max()};

// Makes allocations of `size` bytes or more fail while it lives.
class AllocationLimit {
  public:
    explicit AllocationLimit(size_t size) { gFailingSize = size; }
    AllocationLimit(const AllocationLimit&) = delete;
    AllocationLimit& operator=(const AllocationLimit&) = delete;
    ~AllocationLimit() { gFailingSize = std::numeric_limits<size_t>::max(); }
};

}  // namespace

// The program's allocation, replaced so that the tests can make it fail.
void* operator new(size_t size) {
    if (size >= gFailingSize.load(std::memory_order_relaxed)) {
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size != 0 ? size : 1)) {
        return memory;
    }
    throw std::bad_alloc();
}

// Every other form of the plain allocation goes the same way, so that what one
// form allocates any form may free (the sanitizers check that they match).
void* operator new[](size_t size) {
    return ::operator new(size);
}

void* operator new(size_t size, const std::nothrow_t&) noexcept {
    try {
        return ::operator new(size);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
}

void* operator new[](size_t size, const std::nothrow_t& nothrow) noexcept {
    return ::operator new(size, nothrow);
}

// The replaced allocation takes its memory from malloc, so free returns it.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* memory) noexcept {
    std::free(memory);
}

void operator delete(void* memory, size_t) noexcept {
    std::free(memory);
}

void operator delete[](void* memory) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, size_t) noexcept {
    std::free(memory);
}

void operator delete(void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}

void operator delete[](void* memory, const std::nothrow_t&) noexcept {
    std::free(memory);
}
#pragma GCC diagnostic pop

namespace {

constexpr size_t kFourMiB = size_t(4) << 20;

// A record line whose items take more than 4 MiB to index.
AnsiString LineOfManyItems() {
    AnsiString line;
    for (int i = 0; i < 300'000; ++i) {
        line += "/9=x";
    }
    return line;
}

TDD& CodedType(TDL& list) {
    TDD& type = *list.Add("t", 0, "");
    type.Add("A", 5, 1, 1);
    return type;
}

class FillFailureTest : public FormatFixture {};

TEST_F(FillFailureTest, OutOfMemoryWhileARowIsFilledFailsTheFillNotTheRow) {
    TDL list;
    const TDD& type = CodedType(list);
    const Lines lines = {"/01=a", LineOfManyItems(), "/01=c"};
    const AllocationLimit limit(kFourMiB);
    EXPECT_THROW(Fill(TCodedFormat(), lines, type), std::bad_alloc);
}

TEST(FillFailure, OutOfMemoryWhileFillingKeepsTheSourceAndWritesNoTable) {
    WorkerWorkspace workspace;
    TDL config;
    TDD* type = workspace.AddType(config, "t", 0, "");
    type->Add("A", 5, 1, 1);
    config.Save(workspace.Store());
    const auto source =
        workspace.Write("in/a.txt", "/01=a\r\n" + LineOfManyItems() + "\r\n/01=c\r\n");
    RecordingStatus status;
    {
        const AllocationLimit limit(kFourMiB);
        TDelta worker(status, status, workspace.Settings());
        worker.WaitFor();
    }
    EXPECT_TRUE(std::filesystem::exists(source));
    EXPECT_FALSE(std::filesystem::exists(workspace.Out() / "a.dbf"));
    ASSERT_EQ(workspace.failures.size(), 1u);
    EXPECT_EQ(workspace.failures[0].first, workspace.InFolder() + "a.txt");
}

// A table that holds one record less than a table may: a sparse file of that
// many blank records.
class FullTableTest : public FormatFixture {
  protected:
    void OpenNearlyFull(TTable& table, const TDD& type) {
        CreateTable(table, type, "full.dbf");
        const uint32_t records = std::numeric_limits<int32_t>::max() - 1;
        const auto path = folder_.path() / "full.dbf";
        {
            std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
            file.seekp(4);  // the record count
            for (int shift = 0; shift < 32; shift += 8) {
                file.put(char(records >> shift & 0xFF));
            }
        }
        uint64_t headerLength = 32 + 1;
        uint64_t recordLength = 1;
        for (const TDF* field = type.First; field != nullptr; field = field->Next) {
            headerLength += 32;
            recordLength += uint64_t(field->Size);
        }
        std::filesystem::resize_file(path, headerLength + records * recordLength + 1);
        table.Open();
    }
};

TEST_F(FullTableTest, ARecordPastTheLimitFailsTheFillInEitherFormat) {
    TDL list;
    TDD& coded = CodedType(list);
    TDD& moscow = *list.Add("m", 1, "R");
    moscow.Add("A", 5, 1, 5);
    const TCodedFormat codedFormat;
    const TMoscowFormat moscowFormat;
    const struct {
        const char* what;
        const TRecordFormat& format;
        const TDD& type;
        Lines lines;
    } cases[] = {
        {"numbered-code", codedFormat, coded, {"/01=a", "/01=b", "/01=c"}},
        {"Moscow-region", moscowFormat, moscow, {"Ra", "Rb", "Rc"}},
    };
    for (const auto& c : cases) {
        TTable table;
        OpenNearlyFull(table, c.type);
        try {
            c.format.Fill(table, ToLineList(c.lines), c.type, Context());
            ADD_FAILURE() << c.what << ": the rows past the limit were dropped in silence";
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find("full"), std::string::npos) << c.what;
        }
        EXPECT_EQ(table.RecordCount(), std::numeric_limits<int32_t>::max()) << c.what;
        table.Cancel();
        table.Close();
        std::filesystem::remove(folder_.path() / "full.dbf");
    }
}

}  // namespace
