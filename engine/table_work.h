// The table work for one source file: the table is built under the file's
// base name with ".tmp", filled, closed, put in place of the older ".dbf" of
// that base name, and only then is the source deleted.
#pragma once

#include <functional>

#include "config/descriptors.h"

class TSession;
class TTable;

struct TTableWorkResult {
    AnsiString TablePath;
    int Records = 0;
};

// The name without its extension (the text from the last dot on).
AnsiString BaseName(const AnsiString& fileName);

// Throws when the table cannot be written; the source file then stays.
TTableWorkResult RunTableWork(const TSession& session, const TDD& type, const AnsiString& fileName,
                              const std::function<void(TTable&)>& fill);
