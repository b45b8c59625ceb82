// The code-value lists that steer the special-products rules: the object codes
// whose rows go into the table and the sign types whose numbers stay as they
// are. Both come from the code-value file beside the executable.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

#include "platform/store/ini_file.h"
#include "platform/text/codepage.h"

// Trimmed items in file order; empty items and duplicates stay.
using CodeList = std::vector<AnsiString>;

// Whether `value`, as it is (not trimmed), equals an item without regard to case.
bool InCodeList(const CodeList& list, std::string_view value);

// Which values reached the read limit, and so may have lost codes past it.
struct TCodeValuesCut {
    bool KodObj = false;
    bool TipZnak = false;
};

// Replaces both lists by the values of keys "KodObj" and "TipZnak" of section
// "CodeValue" of `iniFile`, each split at ";". A missing file, section or key
// gives an empty list; a value is read up to its 2047th character. Throws
// std::system_error when the file exists but cannot be read.
TCodeValuesCut LoadCodeValues(const std::filesystem::path& iniFile, CodeList& kodObj,
                              CodeList& tipZnak);
// The same from the text of a code-value file already read.
TCodeValuesCut LoadCodeValues(const platform::IniText& ini, CodeList& kodObj, CodeList& tipZnak);
