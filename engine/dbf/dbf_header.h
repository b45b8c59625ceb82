// Binary layout of the dBASE III tables the converter writes and reads back:
// a 32-byte table header, one 32-byte descriptor per character field, the
// header terminator, fixed-length records and the end-of-file marker.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/text/codepage.h"

namespace dbf {

inline constexpr uint8_t kVersion = 0x03;             // dBASE III, no memo file
inline constexpr uint8_t kLanguageDriver1251 = 0xC9;  // Russian Windows, code page 1251
inline constexpr char kHeaderTerminator = 0x0D;
inline constexpr char kEndOfFile = 0x1A;
inline constexpr char kLiveRecord = ' ';
inline constexpr char kDeletedRecord = '*';
inline constexpr size_t kMaxHeaderLength = 0xFFFF;  // a 16-bit field holds it
inline constexpr size_t kMaxNameLength = 10;
inline constexpr int kMaxWidth = 255;
inline constexpr size_t kStampOffset = 1;  // date of last update, then the record count

struct Date {
    int year;  // full year, e.g. 2025
    int month;
    int day;
};

// The local date of today.
Date Today();

struct FieldLayout {
    AnsiString name;  // as stored: Windows-1251, upper case
    int width;
};

struct Header {
    Date lastUpdate{};
    uint32_t recordCount = 0;
    uint8_t languageDriver = kLanguageDriver1251;
    std::vector<FieldLayout> fields;

    size_t HeaderLength() const;  // 32 + 32 n + 1
    size_t RecordLength() const;  // deletion flag + widths
    uint64_t RecordsEnd() const;  // where the end marker goes
};

// The header of a table; the fields must already follow the naming rules.
std::string EncodeHeader(const Header& header);

// The bytes from kStampOffset that a table rewrites when it is closed.
std::string EncodeStamp(const Header& header);

// Decodes the header at the start of a table file of `fileSize` bytes and
// checks that the file holds the records it counts; `start` is the file's
// first kMaxHeaderLength bytes, or all of it when it is shorter. Throws
// std::runtime_error, the message starting with `source`, saying what is wrong.
Header DecodeTableStart(std::string_view start, uint64_t fileSize, const std::string& source);

// A field name as stored and as looked up: upper case in Windows-1251.
AnsiString UpperCaseName(std::string_view name);

// A stored value without the blanks that pad it to the field width.
std::string_view WithoutTrailingBlanks(std::string_view value);

}  // namespace dbf
