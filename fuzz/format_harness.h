// What the two format targets share: one conversion of a source file's bytes
// as the worker does it (read into lines, decoded, filled into a table that
// is put under its final name), all in a file system held in memory, and the
// table read back. The format is the one of the type's Codec, with the code
// values the harness holds.
#pragma once

#include <string_view>
#include <vector>

#include "config/descriptors.h"
#include "engine/dbf/dbf_reader.h"
#include "engine/formats/format_context.h"
#include "fuzz/memory_file_system.h"

class FormatHarness {
  public:
    FormatHarness();

    struct Conversion {
        std::vector<AnsiString> Lines;  // as decoded, the lines the rows come from
        DbfContents Table;
    };
    // Converts `bytes` as a file of `type`, whose To must be OutFolder().
    Conversion Convert(std::string_view bytes, const TDD& type);

    static const char* OutFolder() { return "/out/"; }

    CodeList KodObjList;
    CodeList TipZnakList;
    TMoscowConstants Moscow;

  private:
    MemoryFileSystem files_;
};
