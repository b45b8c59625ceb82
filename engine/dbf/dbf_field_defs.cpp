#include "engine/dbf/dbf_field_defs.h"

#include <stdexcept>

#include "engine/dbf/dbf_field_name.h"

namespace {

constexpr int kMaxFields = 255;

}  // namespace

void TFieldDefs::Add(const std::u16string& name, TFieldType type, int size, bool required) {
    defs_.push_back({name, type, size, required});
}

std::vector<dbf::FieldLayout> TFieldDefs::Layout() const {
    if (defs_.empty()) {
        throw std::runtime_error("a table needs at least one field");
    }
    if (defs_.size() > size_t(kMaxFields)) {
        throw std::runtime_error("a table holds at most 255 fields, " +
                                 std::to_string(defs_.size()) + " given");
    }
    std::vector<dbf::FieldLayout> layout;
    for (size_t i = 0; i < defs_.size(); ++i) {
        const TFieldDef& def = defs_[i];
        const auto refuse = [&](const std::string& reason) {
            throw std::runtime_error("field " + std::to_string(i + 1) + " '" +
                                     platform::Utf16ToUtf8(def.Name) + "': " + reason);
        };
        if (const auto fault = dbf::CheckFieldName(def.Name)) {
            refuse(dbf::Describe(*fault));
        }
        const AnsiString name = dbf::StoredFieldName(def.Name);
        for (size_t j = 0; j < i; ++j) {
            if (layout[j].name == name) {
                refuse("the name repeats field " + std::to_string(j + 1) + " (case ignored)");
            }
        }
        if (def.Size < 1 || def.Size > dbf::kMaxWidth) {
            refuse("the width " + std::to_string(def.Size) + " is outside 1 to 255");
        }
        if (def.Required) {
            refuse("a dBASE character field cannot be required");
        }
        layout.push_back({name, def.Size});
    }
    return layout;
}
