// The table work for one source file: the table is built under the file's
// base name with ".tmp", filled, closed and put in place of the older ".dbf"
// of that base name. The source file is the caller's (source_boundary.h).
#pragma once

#include <functional>

#include "config/descriptors.h"
#include "platform/file_system.h"

class TSession;
class TTable;

struct TTableWorkResult {
    AnsiString TablePath;  // the table written, as a path in Windows-1251
    int Records = 0;
};

// The name without its extension (the text from the last dot on).
AnsiString BaseName(const AnsiString& fileName);

// Throws when the table cannot be written; a ".tmp" it made is removed again
// and the older ".dbf" stays, unless it was already deleted for the rename.
TTableWorkResult RunTableWork(const TSession& session, const TDD& type, const AnsiString& fileName,
                              const std::function<void(TTable&)>& fill,
                              platform::FileSystem& files = platform::SystemFileSystem());
