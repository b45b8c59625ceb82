// What the two format targets share: the bytes of a source file cut into
// lines, decoded and filled by the format of the type's Codec into a table,
// and the table read back. Only the table lies in a file system, one held in
// memory, and one table object serves every input, so that nothing but the
// format's own work is done afresh for each.
#pragma once

#include <string_view>
#include <vector>

#include "config/descriptors.h"
#include "engine/dbf/dbf_reader.h"
#include "engine/dbf/dbf_table.h"
#include "engine/formats/format_context.h"
#include "fuzz/memory_file_system.h"

class FormatHarness {
  public:
    FormatHarness();

    struct Conversion {
        std::vector<AnsiString> Lines;  // as decoded, the lines the rows come from
        DbfContents Table;
    };
    // Converts `bytes` as a file of `type`.
    Conversion Convert(std::string_view bytes, const TDD& type);

    CodeList KodObjList;
    CodeList TipZnakList;
    TMoscowConstants Moscow;

  private:
    MemoryFileSystem files_;
    TTable table_;
};
