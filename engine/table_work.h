// The table of one source file: built under the file's base name with ".tmp",
// filled by the caller, closed and put in place of the older ".dbf" of that
// base name. The source file is the caller's (source_boundary.h).
#pragma once

#include <functional>
#include <string>

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
    // Removes the ".tmp" unless Write() saw to it, silent about a failure: a
    // destructor has no one to tell. Write() is the path that reports.
    ~TTableWork();
    TTableWork(const TTableWork&) = delete;
    TTableWork& operator=(const TTableWork&) = delete;

    // Hands the open, empty table to `fill`, then closes it and renames it to
    // the ".dbf" name, deleting the older table of that name first. When any
    // of it fails, the ".tmp" is removed and the failure thrown again; a
    // failure to remove the ".tmp" is added to its reason. The older ".dbf"
    // then stays, unless it was already deleted for the rename.
    TTableWorkResult Write(const std::function<void(TTable& table)>& fill);

  private:
    TTableWorkResult PutInPlace();
    // Removes the ".tmp" after a failure, which the caller reports; gives
    // what to add to that report: nothing, or why the ".tmp" stays.
    std::string RemoveTemporary();

    const AnsiString folder_;
    const AnsiString base_;
    Orv::Auto<TDatabase> database_;
    Orv::Auto<TTable> table_;
    bool done_ = false;  // put in place, or removed (or tried to be) by Write()
};
