// The Moscow-region transport format: every line a scrambled record of fixed
// columns. The decode step unscrambles each line and keeps those that begin
// with the type's identifier; the fill step cuts the fields by column and,
// for special products, keeps only rows of an accepted object code.
#pragma once

#include "engine/formats/record_format.h"

class TMoscowFormat final : public TRecordFormat {
  public:
    void Decode(platform::LineList& lines, const AnsiString& ident,
                const TFormatContext& context) const override;
    void Fill(TTable& table, const platform::LineList& lines, const TDD& type,
              const TFormatContext& context) const override;
};
