// The numbered-code decoder from bytes to rows, for one of two update types:
// every record line of the file, or the records of one group under the
// special-products rules. The last byte of an input chooses (odd: special
// products); the bytes before it are the file. Every decoded line is a
// trimmed record line; the first type gives a row for each of them, the
// second keeps only rows of an accepted object code.
#include <cstddef>
#include <cstdint>

#include "engine/formats/strfunc.h"
#include "fuzz/format_harness.h"
#include "fuzz/fuzz_check.h"

namespace {

struct CodedTypes {
    CodedTypes() {
        // Codes of the direct index and past it, a negative one, fall-back
        // codes; widths from 1 to 255.
        all.Add("A", 10, 1, 1);
        all.Add("B", 255, 2, 7);
        all.Add("C", 1, 999, 1000);
        all.Add("D", 20, 12345, 0);
        all.Add("E", 5, -1, 3);

        special.SpecProd = true;
        special.KodObj = "KOD";
        special.TipZnak = "TIP";
        special.Ceria = "SER";
        special.Beg = "BEG";
        special.End = "END";
        special.Add("KOD", 3, 1, 1);
        special.Add("TIP", 2, 2, 2);
        special.Add("SER", 2, 3, 3);
        special.Add("BEG", 10, 4, 4);
        special.Add("END", 10, 5, 5);
        special.Add("NAME", 20, 6, 7);
    }

    TDD all{"all", 0, ""};
    TDD special{"special", 0, "\xC0\xCC\xD2"};  // "АМТ"
};

void CheckDecoded(const std::vector<AnsiString>& lines) {
    for (const AnsiString& line : lines) {
        FuzzCheck(!line.empty() && line[0] == '/', "a decoded line is a record line");
        FuzzCheck(Trim(line).size() == line.size(), "a decoded line is trimmed");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static FormatHarness harness;
    static const CodedTypes types;
    if (size == 0) {
        return 0;
    }
    harness.KodObjList = {"01", "02"};
    harness.TipZnakList = {"77"};
    const std::string_view file = FuzzBytes(data, size - 1);
    if (data[size - 1] % 2 == 0) {
        const auto all = harness.Convert(file, types.all);
        CheckDecoded(all.Lines);
        FuzzCheck(all.Table.rows.size() == all.Lines.size(), "every record line gives a row");
        return 0;
    }
    const auto special = harness.Convert(file, types.special);
    CheckDecoded(special.Lines);
    FuzzCheck(special.Table.rows.size() <= special.Lines.size(), "no more rows than lines");
    for (size_t row = 0; row < special.Table.rows.size(); ++row) {
        FuzzCheck(InCodeList(harness.KodObjList, special.Table.Value(row, 0)),
                  "a special-products row has an accepted object code");
    }
    return 0;
}
