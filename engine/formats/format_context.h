// What the steps of a transport format get from whoever runs them, besides
// the lines and the update type: the code values, the name of the file for
// the line report, and where that report goes. The formats keep none of it.
#pragma once

#include <cstdint>
#include <stdexcept>

#include "engine/formats/code_values.h"
#include "engine/formats/moscow_scramble.h"
#include "platform/text/codepage.h"

// Where a step tells how far it is with a file, and learns whether to stop
// or to let go of the file.
class TFormatProgress {
  public:
    virtual ~TFormatProgress() = default;

    // The step's text and the share of the file's lines done, in percent;
    // the line report calls it only when the percentage changes.
    virtual void Report(const AnsiString& text, int32_t percent) = 0;
    // Whether a stop was requested. Only the decode steps ask: a fill goes
    // on to the end of the file, so that a stop never leaves half a table.
    virtual bool StopRequested() = 0;
    // Whether another program wants the file in work: it tried to open it
    // while we hold it, and waits for us. The line report asks with each of
    // its reports and once at the end of a step, and then ends the step by
    // throwing TSourceWanted.
    virtual bool SourceWanted() = 0;
};

// Ends a step on a file another program wants, so that the file is let go of
// at once, with no table of it: the file is busy, neither failed nor stopped.
// A std::runtime_error, so that whoever cleans up after a failed step does so
// for this one too, and makes it a failure only when the cleanup fails.
class TSourceWanted : public std::runtime_error {
  public:
    TSourceWanted()
        : std::runtime_error("another program opened the source while it was converted") {}
};

// A progress that shows nothing, never stops and holds no file: for a step
// run by hand.
class TSilentProgress final : public TFormatProgress {
  public:
    void Report(const AnsiString&, int32_t) override {}
    bool StopRequested() override { return false; }
    bool SourceWanted() override { return false; }
};

struct TFormatContext {
    const CodeList& KodObjList;
    const CodeList& TipZnakList;
    const TMoscowConstants& Moscow;
    const AnsiString& FileName;  // the file in work, as the line report names it
    TFormatProgress& Progress;
};
