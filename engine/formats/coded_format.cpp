#include "engine/formats/coded_format.h"

#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "engine/dbf/dbf_table.h"
#include "engine/formats/code_values.h"
#include "engine/formats/coded_items.h"
#include "engine/formats/line_report.h"
#include "engine/formats/strfunc.h"

namespace {

AnsiString GroupMarker(const AnsiString& ident) {
    if (ident.empty() || StartsWith(ident, "&")) {
        return ident;
    }
    return "&" + ident;
}

bool IsRecordLine(std::string_view line) {
    return !line.empty() && line[0] == '/';
}

struct FieldSlot {
    TField* Field;  // null when the table has no field of that name
    TCodedItems::Code Code;
    TCodedItems::Code ACode;
};

void FillFields(const TCodedItems& items, const std::vector<FieldSlot>& slots) {
    for (const FieldSlot& slot : slots) {
        if (slot.Field == nullptr) {
            continue;
        }
        std::string_view value = items.Value(slot.Code);
        // Emptiness is judged on the value as found: blanks alone count.
        if (value.empty() && slot.Code.Number != slot.ACode.Number) {
            value = items.Value(slot.ACode);
        }
        slot.Field->SetAsString(Trim(value));
    }
}

// The special-products rules of a row: only rows of an accepted object code
// are kept, and unless the sign type keeps its numbers, the region code is
// appended to the start and end numbers. A role field the table lacks drops
// every row.
class SpecialProducts {
  public:
    SpecialProducts(TTable& table, const TDD& type, const CodeList& kodObjList,
                    const CodeList& tipZnakList)
        : enabled_(type.SpecProd), kodObjList_(kodObjList), tipZnakList_(tipZnakList) {
        if (enabled_) {
            kodObj_ = table.FindField(type.KodObj);
            tipZnak_ = table.FindField(type.TipZnak);
            ceria_ = table.FindField(type.Ceria);
            beg_ = table.FindField(type.Beg);
            end_ = table.FindField(type.End);
        }
    }

    // Applies the rules to the row being inserted; false when it is dropped.
    bool Keep() const {
        if (!enabled_) {
            return true;
        }
        if (kodObj_ == nullptr || !InCodeList(kodObjList_, kodObj_->AsString())) {
            return false;
        }
        if (tipZnak_ == nullptr) {
            return false;
        }
        if (InCodeList(tipZnakList_, tipZnak_->AsString())) {
            return true;
        }
        if (ceria_ == nullptr || beg_ == nullptr || end_ == nullptr) {
            return false;
        }
        const AnsiString region = ceria_->AsString();
        beg_->SetAsString(beg_->AsString() + region);
        end_->SetAsString(end_->AsString() + region);
        return true;
    }

  private:
    bool enabled_;
    const CodeList& kodObjList_;
    const CodeList& tipZnakList_;
    TField* kodObj_ = nullptr;
    TField* tipZnak_ = nullptr;
    TField* ceria_ = nullptr;
    TField* beg_ = nullptr;
    TField* end_ = nullptr;
};

}  // namespace

void TCodedFormat::Decode(platform::LineList& lines, const AnsiString& ident,
                          const TFormatContext& context) const {
    const AnsiString marker = GroupMarker(ident);
    bool inside = false;
    DecodeLines(lines, context, [&](std::span<char> bytes) -> std::optional<std::string_view> {
        DosToWin(bytes);
        const std::string_view line(bytes.data(), bytes.size());
        const bool record = IsRecordLine(line);
        if (marker.empty()) {
            return record ? std::optional(line) : std::nullopt;
        }
        if (inside) {
            inside = record;  // any other line ends the group, a header too
            return record ? std::optional(line) : std::nullopt;
        }
        inside = StartsWith(line, marker);
        return std::nullopt;  // the header itself is not kept
    });
}

void TCodedFormat::Fill(TTable& table, const platform::LineList& lines, const TDD& type,
                        const TFormatContext& context) const {
    std::vector<FieldSlot> slots;
    for (const TDF* field = type.First; field != nullptr; field = field->Next) {
        slots.push_back({table.FindField(platform::Utf16ToCp1251(field->Name)),
                         TCodedItems::MakeCode(field->Code), TCodedItems::MakeCode(field->ACode)});
    }
    const SpecialProducts special(table, type, context.KodObjList, context.TipZnakList);
    TCodedItems items;
    FillRows(table, lines, context, [&](std::string_view line) {
        items.Parse(line);
        FillFields(items, slots);
        return special.Keep();
    });
}
