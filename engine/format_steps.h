// The two steps of an update type's transport format, chosen once for a
// file: the decode step turns the source's lines into the format's record
// lines in place, the fill step appends a row per record line to the open
// table. Both are the worker's own (coded_format.cpp, moscow_format.cpp).
#pragma once

#include "config/descriptors.h"
#include "platform/text/line_list.h"

class TDelta;
class TTable;

class TFormatSteps {
  public:
    // Throws std::invalid_argument when the type has no transport format.
    TFormatSteps(TDelta& worker, const TDD& type);

    void Decode(platform::LineList& lines) const;
    void Fill(TTable& table, const platform::LineList& lines) const;

  private:
    using TDecodeStep = void (TDelta::*)(platform::LineList& lines, const AnsiString& ident);
    using TFillStep = void (TDelta::*)(TTable& table, const platform::LineList& lines,
                                       const TDD& type);

    TDelta& worker_;
    const TDD& type_;
    TDecodeStep decode_ = nullptr;
    TFillStep fill_ = nullptr;
};
