#include "platform/files/whole_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <system_error>

#include "platform/files/internal/file_reader.h"
#include "tests/temp_directory.h"

namespace platform {
namespace {

// `size` bytes that differ from one position to the next.
std::string Pattern(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        bytes[i] = char('a' + i % 23);
    }
    return bytes;
}

// Gives `source` at most `mostAtOnce` bytes a call.
ReadSome PiecesOf(const std::string& source, size_t mostAtOnce) {
    return [&source, mostAtOnce, position = size_t(0)](char* buffer, size_t capacity) mutable {
        const size_t count = std::min({capacity, mostAtOnce, source.size() - position});
        std::copy_n(source.data() + position, count, buffer);
        position += count;
        return count;
    };
}

TEST(ReadToEnd, TakesEverythingWhateverTheSizeExpected) {
    constexpr size_t kBig = (3 << 20) + 5;  // beyond the pieces read past the size expected
    const struct {
        const char* what;
        size_t size, sizeHint, mostAtOnce;
    } cases[] = {
        {"exactly the size expected", kBig, kBig, kBig},
        {"the same, a little at a time", 100000, 100000, 7},
        {"grown meanwhile", kBig, 1000, 65536},
        {"shrunk meanwhile", 1000, kBig, kBig},
        {"a stream of no known size", kBig, 0, 4096},
        {"empty", 0, 0, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::string source = Pattern(c.size);
        const std::string read = ReadToEnd(PiecesOf(source, c.mostAtOnce), c.sizeHint);
        EXPECT_TRUE(read == source) << read.size() << " bytes of " << source.size();
    }
}

TEST(ReadToEnd, HoldsAFileOfTheSizeExpectedOnce) {
    const std::string source = Pattern(5 << 20);
    const std::string read = ReadToEnd(PiecesOf(source, source.size()), source.size());
    ASSERT_EQ(read.size(), source.size());
    EXPECT_LT(read.capacity(), 2 * source.size()) << "the string grew to find the end";
}

TEST(WholeFile, ReadsTheFileAsItIs) {
    const TempDirectory directory;
    const std::string bytes = Pattern((1 << 20) + 3) + std::string("\0\r\n\x1A\xFF", 5);
    const auto file = directory.Write("file", bytes);
    EXPECT_TRUE(ReadWholeFile(file) == bytes);
    EXPECT_TRUE(ReadWholeFileIfPresent(file) == bytes);
    EXPECT_EQ(ReadWholeFile(directory.Write("empty", "")), "");
}

// A file standing where a folder of the path should be: POSIX systems say
// so; Windows finds no such path.
#ifdef _WIN32
constexpr std::errc kFileOnTheWay = std::errc::no_such_file_or_directory;
#else
constexpr std::errc kFileOnTheWay = std::errc::not_a_directory;
#endif

TEST(WholeFile, AMissingFileIsToldFromOtherFailures) {
    const TempDirectory directory;
    const auto notAFolder = directory.Write("plain", "x");
    const struct {
        const char* what;
        std::filesystem::path file;
        std::errc error;
    } missing[] = {
        {"no such file", directory.path() / "missing", std::errc::no_such_file_or_directory},
        {"a file on the way", notAFolder / "inside", kFileOnTheWay},
    };
    for (const auto& c : missing) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadWholeFileIfPresent(c.file), std::nullopt);
        try {
            ReadWholeFile(c.file);
            ADD_FAILURE() << "no exception";
        } catch (const MissingFileError& error) {
            EXPECT_EQ(error.code(), c.error);
            EXPECT_EQ(std::string(error.what()).find("cannot read " + c.file.string()), 0u)
                << error.what();
        }
    }
    // A folder is there but cannot be read as a file: an error, never "missing".
    for (const auto& read :
         {+[](const std::filesystem::path& file) { ReadWholeFile(file); },
          +[](const std::filesystem::path& file) { ReadWholeFileIfPresent(file); }}) {
        try {
            read(directory.path());
            ADD_FAILURE() << "no exception";
        } catch (const MissingFileError& error) {
            ADD_FAILURE() << "taken for a missing file: " << error.what();
        } catch (const std::system_error& error) {
            EXPECT_EQ(error.code(), std::errc::is_a_directory);
            EXPECT_NE(std::string(error.what()).find(directory.path().string()), std::string::npos);
        }
    }
}

}  // namespace
}  // namespace platform
