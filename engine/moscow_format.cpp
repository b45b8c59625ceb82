// The Moscow-region transport format: every line a scrambled fixed-column
// record that begins with its identifier.
#include "engine/code_values.h"
#include "engine/delta.h"
#include "engine/field_lookup.h"
#include "engine/strfunc.h"

namespace {

// A date field left blank reads ".  ."; such a text is stored empty.
constexpr std::string_view kBlankDate = ".  .";

}  // namespace

void TDelta::DecodeMoscow(TStringList& lines, const AnsiString& ident) {
    TMoscowUnscrambler unscrambler(Moscow);
    DecodeLines(lines, [&](AnsiString& line) {
        // The line is unscrambled where it stands: no copy of the file is made.
        if (line.empty()) {
            return false;
        }
        const auto& tables = unscrambler.ForLine(line[0]);
        const size_t blocks = (line.size() + kMoscowBlock - 1) / kMoscowBlock;
        line.resize(blocks * kMoscowBlock, kMoscowFiller);  // the conversion keeps 127 as it is
        for (size_t block = 0; block < blocks; ++block) {
            if (Terminated()) {
                line.resize(block * kMoscowBlock);
                break;
            }
            TMoscowUnscrambler::Unscramble(tables, &line[block * kMoscowBlock]);
        }
        return StartsWith(line, ident);  // before trimming: a leading blank drops the line
    });
}

void TDelta::ConvertMoscow(TTable& table, const TStringList& lines, const TDD& type) {
    std::vector<std::pair<TField*, const TDF*>> fields;
    for (const TDF* field = type.First; field != nullptr; field = field->Next) {
        fields.emplace_back(FieldOrNull(table, platform::Utf16ToCp1251(field->Name)), field);
    }
    TField* const kodObj = type.SpecProd ? FieldOrNull(table, type.KodObj) : nullptr;
    FillRows(table, lines, [&](const AnsiString& line) {
        for (const auto& [field, descriptor] : fields) {
            if (field == nullptr) {
                continue;  // a field the table lacks stays empty
            }
            std::string_view text = Copy(line, descriptor->Code, descriptor->Size);
            if (text.find(kBlankDate) != std::string_view::npos) {
                text = {};
            }
            field->SetAsString(Trim(text));
        }
        return !type.SpecProd || (kodObj != nullptr && InCodeList(KodObjList, kodObj->AsString()));
    });
}
