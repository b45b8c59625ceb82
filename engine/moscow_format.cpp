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
    size_t kept = 0;
    const size_t count = lines.size();
    AnsiString text;
    for (size_t i = 0; i < count; ++i) {
        ReportLine(TStep::Decode, i, count);
        if (Terminated()) {
            break;
        }
        const AnsiString& line = lines[i];
        DosToWin(lines[i]);
        if (line.empty()) {
            continue;
        }
        const int key = Moscow.LineKey(line[0]);
        const size_t blocks = (line.size() + kMoscowBlock - 1) / kMoscowBlock;
        text.assign(blocks * kMoscowBlock, '\0');
        for (size_t block = 0; block < blocks; ++block) {
            if (Terminated()) {
                text.resize(block * kMoscowBlock);
                break;
            }
            char bytes[kMoscowBlock];
            for (size_t j = 0; j < kMoscowBlock; ++j) {
                const size_t at = block * kMoscowBlock + j;
                bytes[j] = at < line.size() && line[at] != '\0' ? line[at] : kMoscowFiller;
            }
            UnscrambleBlock(bytes, key, Moscow, &text[block * kMoscowBlock]);
        }
        if (StartsWith(text, ident)) {  // before trimming: a leading blank drops the line
            text.swap(lines[i]);
            KeepTrimmed(lines, i, kept++);
        }
    }
    lines.resize(kept);
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
