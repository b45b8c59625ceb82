// Reads a whole dBASE III table of character fields into memory, checking
// its layout: for tests and for showing tables.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "engine/dbf/dbf_header.h"

struct DbfContents {
    struct Field {
        AnsiString name;
        int width;
    };

    std::vector<Field> fields;
    // Live records only, each value as stored: padded with blanks to the width.
    std::vector<std::vector<AnsiString>> rows;
    uint8_t languageDriver = 0;
    dbf::Date lastUpdate{};

    // A value without its padding blanks.
    AnsiString Value(size_t row, size_t field) const;
};

// Throws std::runtime_error naming the file and what is wrong when it cannot
// be read or is not a well-formed table: a header that is not dBASE III with
// character fields, fewer records than the header counts, an unknown record
// flag, or bytes after the records other than the end marker.
DbfContents ReadDbf(const std::filesystem::path& path);
// The same for the bytes of a table, read from `source`, which the messages name.
DbfContents DecodeDbf(std::string_view bytes, const std::string& source);
