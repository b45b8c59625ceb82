// The Moscow-region decoder from bytes to rows, for one of two update types
// with the same columns (those of real records, and columns before, at and
// past the ends of a line): all records of the group, or only those of an
// accepted object code. The last byte of an input chooses (odd: the second);
// the bytes before it are the file. Every decoded line starts with the group
// identifier; the first type gives a row for each of them.
#include <cstddef>
#include <cstdint>

#include "engine/formats/strfunc.h"
#include "fuzz/format_harness.h"
#include "fuzz/fuzz_check.h"

namespace {

struct MoscowTypes {
    MoscowTypes() {
        for (TDD* type : {&all, &special}) {
            type->Add("KOD", 5, 1, 0);
            type->Add("NAME", 10, 7, 0);
            type->Add("DATE", 8, 75, 0);
            type->Add("BEFORE", 3, -4, 0);
            type->Add("ZERO", 2, 0, 0);
            type->Add("PAST", 255, 390, 0);
            type->Add("WHOLE", 255, 1, 0);
        }
        special.SpecProd = true;
        special.KodObj = "KOD";
    }

    TDD all{"all", 1, "R_AMT"};
    TDD special{"special", 1, "R_AMT"};
};

void CheckDecoded(const std::vector<AnsiString>& lines, const AnsiString& ident) {
    for (const AnsiString& line : lines) {
        FuzzCheck(StartsWith(line, ident), "a decoded line starts with the group identifier");
        FuzzCheck(Trim(line).size() == line.size(), "a decoded line is trimmed");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FormatHarness harness;
    static const MoscowTypes types;
    if (size == 0) {
        return 0;
    }
    harness.KodObjList = {"R_AMT", "R_AM"};
    const std::string_view file = FuzzBytes(data, size - 1);
    if (data[size - 1] % 2 == 0) {
        const auto all = harness.Convert(file, types.all);
        CheckDecoded(all.Lines, types.all.Ident);
        FuzzCheck(all.Table.rows.size() == all.Lines.size(), "every decoded line gives a row");
        return 0;
    }
    const auto special = harness.Convert(file, types.special);
    CheckDecoded(special.Lines, types.special.Ident);
    FuzzCheck(special.Table.rows.size() <= special.Lines.size(), "no more rows than lines");
    for (size_t row = 0; row < special.Table.rows.size(); ++row) {
        FuzzCheck(InCodeList(harness.KodObjList, special.Table.Value(row, 0)),
                  "a special-products row has an accepted object code");
    }
    return 0;
}
