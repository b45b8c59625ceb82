// What the steps of a transport format get from whoever runs them, besides
// the lines and the update type: the code values, the name of the file for
// the line report, and where that report goes. The formats keep none of it.
#pragma once

#include <cstdint>

#include "engine/formats/code_values.h"
#include "engine/formats/moscow_scramble.h"
#include "platform/text/codepage.h"

// Where a step tells how far it is with a file, and learns whether to stop.
class TFormatProgress {
  public:
    virtual ~TFormatProgress() = default;

    // The step's text and the share of the file's lines done, in percent;
    // the line report calls it only when the percentage changes.
    virtual void Report(const AnsiString& text, int32_t percent) = 0;
    // Whether a stop was requested. Only the decode steps ask: a fill goes
    // on to the end of the file, so that a stop never leaves half a table.
    virtual bool StopRequested() = 0;
};

// A progress that shows nothing and never stops: for a step run by hand.
class TSilentProgress final : public TFormatProgress {
  public:
    void Report(const AnsiString&, int32_t) override {}
    bool StopRequested() override { return false; }
};

struct TFormatContext {
    const CodeList& KodObjList;
    const CodeList& TipZnakList;
    const TMoscowConstants& Moscow;
    const AnsiString& FileName;  // the file in work, as the line report names it
    TFormatProgress& Progress;
};
