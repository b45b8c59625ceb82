// The table of one source file: built under the file's base name with ".tmp",
// filled by the caller, closed and put in place of the older ".dbf" of that
// base name. The source file is the caller's (source_boundary.h).
#pragma once

#include "config/auto.h"
#include "config/descriptors.h"
#include "engine/dbf/dbf_database.h"
#include "engine/dbf/dbf_table.h"
#include "platform/files/file_system.h"

struct TTableWorkResult {
    AnsiString TablePath;  // the table written, as a path in Windows-1251
    int Records = 0;
};

// The name without its extension (the text from the last dot on).
AnsiString BaseName(const AnsiString& fileName);

class TTableWork {
  public:
    // Creates the ".tmp" table with the type's fields in `folder` (the
    // type's To, for the worker), replacing a leftover of an earlier attempt,
    // and opens it. Throws when it cannot.
    TTableWork(const TSession& session, const TDD& type, const AnsiString& folder,
               const AnsiString& fileName,
               platform::FileSystem& files = platform::SystemFileSystem());
    // Removes the ".tmp" unless it was put in place.
    ~TTableWork();
    TTableWork(const TTableWork&) = delete;
    TTableWork& operator=(const TTableWork&) = delete;

    // The open, empty table for the fill step.
    TTable& Table() { return *table_; }

    // Closes the table and renames it to the ".dbf" name, deleting the older
    // table of that name first. Throws when it cannot; the older ".dbf" then
    // stays, unless it was already deleted for the rename.
    TTableWorkResult PutInPlace();

  private:
    void RemoveTemporary();

    const AnsiString folder_;
    const AnsiString base_;
    Orv::Auto<TDatabase> database_;
    Orv::Auto<TTable> table_;
    bool inPlace_ = false;
};
