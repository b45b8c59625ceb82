// A transport format as its two steps: the decode step turns a source's
// lines into the format's record lines in place, the fill step appends a row
// per record line to an open table. A format keeps nothing between calls.
#pragma once

#include <cstddef>
#include <cstdint>

#include "config/descriptors.h"
#include "engine/formats/format_context.h"
#include "platform/text/line_list.h"

class TTable;

class TRecordFormat {
  public:
    virtual ~TRecordFormat() = default;

    // Keeps the record lines of the group `ident`, trimmed. A stop ends it
    // early: the list then holds the lines kept so far.
    virtual void Decode(platform::LineList& lines, const AnsiString& ident,
                        const TFormatContext& context) const = 0;
    // A row per line, unless the type's rules drop it; the table was created
    // with the type's fields. It goes to the last line, a stop or not.
    // Whatever is thrown meanwhile (memory running out, a full table, a
    // failed write) is no fault of a row: it leaves the fill.
    virtual void Fill(TTable& table, const platform::LineList& lines, const TDD& type,
                      const TFormatContext& context) const = 0;
};

// Where a table of the formats in the order of their Codec holds the format
// of `codec`. Throws std::invalid_argument when the Codec names no format.
size_t FormatIndexOf(int32_t codec);

// The format of `codec`; throws as FormatIndexOf does.
const TRecordFormat& RecordFormatOf(int32_t codec);
