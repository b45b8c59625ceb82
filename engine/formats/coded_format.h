// The numbered-code transport format: record lines of items "/<code>=<value>"
// in groups opened by a header line "&<group>". The decode step keeps the
// record lines of the type's group; the fill step gives each field the value
// of its code's item and, for special products, drops or amends rows by the
// code lists.
#pragma once

#include "engine/formats/record_format.h"

class TCodedFormat final : public TRecordFormat {
  public:
    void Decode(platform::LineList& lines, const AnsiString& ident,
                const TFormatContext& context) const override;
    void Fill(TTable& table, const platform::LineList& lines, const TDD& type,
              const TFormatContext& context) const override;
};
