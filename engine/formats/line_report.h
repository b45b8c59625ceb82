// The report a step makes before each line of a file, and the decode and
// fill loops of the formats that make it. The report is the step's text
// ("Декодирование " or "Преобразование " and the file's name) with the share
// of lines done, line i of n being i * 100 / n percent; the progress gets it
// only when the percentage changes. With each report, and once at the end of
// the step, the report asks whether another program wants the file, and ends
// the step by throwing TSourceWanted when it does: a hundred questions a
// file, however long.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "engine/dbf/dbf_table.h"
#include "engine/formats/format_context.h"
#include "engine/formats/strfunc.h"
#include "platform/text/line_list.h"

enum class TFormatStep { Decode, Fill };

class TLineReport {
  public:
    TLineReport(TFormatStep step, const TFormatContext& context, size_t count);

    // Before line i of the count. Inline: it runs for every line.
    void Before(size_t i) {
        // The lines of the percentage last reported need no division.
        if (i < first_ || i >= end_) {
            Report(i);
        }
    }
    // After the step's last line.
    void End() { LetGoIfWanted(); }

  private:
    void Report(size_t i);
    void LetGoIfWanted();

    TFormatProgress& progress_;
    const AnsiString text_;
    const size_t count_;
    // The lines whose percentage is the one last reported; none at first.
    size_t first_ = 0;
    size_t end_ = 0;
};

// The decode step's loop: after the line report and the stop question, each
// line goes to `decode`, which may change it in place and gives the text to
// keep (a part of the line, or text it holds itself), or nothing. The list
// then holds the kept texts, trimmed, also after a stop; a file another
// program wants ends the loop with TSourceWanted, its lines of no more use.
template <typename Decode>
void DecodeLines(platform::LineList& lines, const TFormatContext& context, Decode&& decode) {
    TLineReport report(TFormatStep::Decode, context, lines.size());
    platform::LineList::Rewrite rewrite(lines);
    for (size_t i = 0; rewrite.Next(); ++i) {
        report.Before(i);
        if (context.Progress.StopRequested()) {
            break;
        }
        if (const std::optional<std::string_view> kept = decode(rewrite.Line())) {
            rewrite.Keep(Trim(*kept));
        }
    }
    rewrite.Finish();
    report.End();
}

// The fill step's loop: a row per line, filled by `fillRow`, which says
// whether the format's rules keep the row. Whatever is thrown leaves the
// loop, TSourceWanted from the line report too, between two rows.
template <typename FillRow>
void FillRows(TTable& table, const platform::LineList& lines, const TFormatContext& context,
              FillRow&& fillRow) {
    const size_t count = lines.size();
    TLineReport report(TFormatStep::Fill, context, count);
    for (size_t i = 0; i < count; ++i) {
        report.Before(i);  // no stop question: a stop waits for the whole file
        table.Insert();
        if (fillRow(lines[i])) {
            table.Post();
        } else {
            table.Cancel();
        }
    }
    report.End();
}
