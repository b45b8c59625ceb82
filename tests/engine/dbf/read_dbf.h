// Reads a table with an independent dBASE reader (read_dbf.py beside this
// file, on Debian's python3-dbfread) and returns the line of JSON it prints.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

inline std::string ReadWithDbfread(const std::filesystem::path& table) {
    // The reader library is a system package: only the system interpreter has it.
    const std::filesystem::path script =
        std::filesystem::path(KVADREL_FIXTURES).parent_path() / "engine" / "dbf" / "read_dbf.py";
    const std::string command =
        "/usr/bin/python3 '" + script.string() + "' '" + table.string() + "' 2>&1";
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        ADD_FAILURE() << "cannot run " << command;
        return {};
    }
    std::string output;
    char chunk[4096];
    while (const size_t got = std::fread(chunk, 1, sizeof chunk, pipe)) {
        output.append(chunk, got);
    }
    EXPECT_EQ(::pclose(pipe), 0) << output;
    return output;
}
