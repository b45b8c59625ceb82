#include "engine/formats/moscow_format.h"

#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "engine/dbf/dbf_table.h"
#include "engine/formats/code_values.h"
#include "engine/formats/line_report.h"
#include "engine/formats/moscow_scramble.h"
#include "engine/formats/strfunc.h"

namespace {

// A date field left blank reads ".  ."; such a text is stored empty.
constexpr std::string_view kBlankDate = ".  .";

}  // namespace

void TMoscowFormat::Decode(platform::LineList& lines, const AnsiString& ident,
                           const TFormatContext& context) const {
    TMoscowUnscrambler unscrambler(context.Moscow);
    AnsiString padded;  // a line that ends in a short block, completed
    DecodeLines(lines, context, [&](std::span<char> line) -> std::optional<std::string_view> {
        if (line.empty()) {
            return std::nullopt;
        }
        const auto& tables = unscrambler.ForLine(line[0]);
        const size_t blocks = (line.size() + kMoscowBlock - 1) / kMoscowBlock;
        std::span<char> text = line;  // whole blocks are unscrambled where they stand
        if (line.size() % kMoscowBlock != 0) {
            padded.assign(line.begin(), line.end());
            padded.resize(blocks * kMoscowBlock, kMoscowFiller);  // the conversion keeps 127
            text = padded;
        }
        for (size_t block = 0; block < blocks; ++block) {
            if (context.Progress.StopRequested()) {
                text = text.first(block * kMoscowBlock);
                break;
            }
            TMoscowUnscrambler::Unscramble(tables, &text[block * kMoscowBlock]);
        }
        const std::string_view unscrambled(text.data(), text.size());
        // Tested before trimming: a leading blank drops the line.
        return StartsWith(unscrambled, ident) ? std::optional(unscrambled) : std::nullopt;
    });
}

void TMoscowFormat::Fill(TTable& table, const platform::LineList& lines, const TDD& type,
                         const TFormatContext& context) const {
    std::vector<std::pair<TField*, const TDF*>> fields;
    for (const TDF* field = type.First; field != nullptr; field = field->Next) {
        fields.emplace_back(table.FindField(platform::Utf16ToCp1251(field->Name)), field);
    }
    TField* const kodObj = type.SpecProd ? table.FindField(type.KodObj) : nullptr;
    FillRows(table, lines, context, [&](std::string_view line) {
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
        return !type.SpecProd ||
               (kodObj != nullptr && InCodeList(context.KodObjList, kodObj->AsString()));
    });
}
