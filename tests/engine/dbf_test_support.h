// Helpers of the table tests: a scratch directory, whole-file bytes, a table
// defined in a directory, and the check that an operation fails saying why.
#pragma once

#include <gtest/gtest.h>

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "engine/dbf_table.h"
#include "platform/codepage.h"

// A fresh directory for one test's tables, removed with everything in it.
class ScratchDir {
  public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "kvadrel-dbf-XXXXXX");
        if (::mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot make a scratch directory");
        }
        path_ = pattern;
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    ~ScratchDir() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
        if (error) {
            std::cerr << "cannot remove " << path_ << ": " << error.message() << '\n';
        }
    }

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  private:
    std::filesystem::path path_;
};

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(stream), std::istreambuf_iterator<char>());
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

// Runs `operation` and expects an exception whose message holds `part`.
template <typename Operation>
void ExpectFailure(Operation&& operation, const std::string& part) {
    try {
        operation();
        ADD_FAILURE() << "no exception; expected one saying: " << part;
    } catch (const std::exception& error) {
        EXPECT_NE(std::string(error.what()).find(part), std::string::npos) << error.what();
    }
}

// Windows-1251 bytes of UTF-8 text written in a test.
inline AnsiString Ansi(std::string_view utf8) {
    return platform::Utf8ToCp1251(utf8);
}

using FieldList = std::vector<std::pair<std::u16string, int>>;

// Points `table` at `name` in `dir` with character fields (name, width).
inline void DefineTable(TTable& table, const ScratchDir& dir, const std::string& name,
                        const FieldList& fields) {
    table.DatabaseName = Ansi(dir.Path().string()) + "/";
    table.TableName = name;
    table.TableType = ttDBase;
    table.FieldDefs.Clear();
    for (const auto& [fieldName, width] : fields) {
        table.FieldDefs.Add(fieldName, ftString, width, false);
    }
}
