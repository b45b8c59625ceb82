// What the two format targets share: one conversion of a source file's bytes
// as the worker does it (read into lines, decoded, filled into a table that
// is put under its final name), all in a file system held in memory, and the
// table read back. The format steps are those of a real worker whose own pass,
// over an empty configuration, has ended: they then run on the calling thread.
#pragma once

#include <string_view>
#include <vector>

#include "engine/dbf/dbf_reader.h"
#include "engine/delta.h"
#include "fuzz/memory_file_system.h"

class FormatHarness : public TStatusPane, public TProgressBar {
  public:
    FormatHarness();

    struct Conversion {
        std::vector<AnsiString> Lines;  // as decoded, the lines the rows come from
        DbfContents Table;
    };
    // Converts `bytes` as a file of `type`, whose To must be OutFolder().
    Conversion Convert(std::string_view bytes, const TDD& type);

    static const char* OutFolder() { return "/out/"; }
    TDelta& Worker() { return worker_; }

    void SetCaption(const AnsiString&) override {}
    void SetPercent(int16_t) override {}

  private:
    static TDeltaSettings Settings(MemoryFileSystem& files);

    MemoryFileSystem files_;
    TDelta worker_;
};
