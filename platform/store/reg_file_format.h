// The text format of the Windows registry editor's export ("Windows Registry
// Editor Version 5.00"), limited to keys under HKEY_CURRENT_USER: reading a
// whole file into keys and values, and writing one key at a time.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/store/registry_store.h"

namespace platform {

constexpr std::string_view kRegFileHeader = "Windows Registry Editor Version 5.00";
constexpr std::u16string_view kRegFileRoot = u"HKEY_CURRENT_USER";

struct RegFileValue {
    std::u16string name;  // "" is the key's default value ("@")
    RegValue value;
};

struct RegFileKey {
    std::vector<std::u16string> path;  // key names below HKEY_CURRENT_USER
    std::vector<RegFileValue> values;  // in file order
};

struct RegFileContents {
    std::vector<RegFileKey> keys;  // in file order; a key may come more than once
    // Malformed lines, keys of other roots with their values, values before
    // the first key, in file order. A value continued over lines counts once.
    std::vector<RegSkippedLine> skippedLines;
};

// Reads UTF-8 with or without BOM, or UTF-16LE with BOM; LF or CRLF.
RegFileContents ParseRegFile(std::string_view bytes);

// The header line.
std::string RegFileHeader();

// Appends a blank line, the key line and one line per value (a long hex list
// continues over lines as the registry editor wraps it). The names must be
// valid (SplitKeyPath, IsValidValueName).
void AppendRegFileKey(std::string& out, const std::vector<std::u16string>& path,
                      const std::vector<RegFileValue>& values);

}  // namespace platform
