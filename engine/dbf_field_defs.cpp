#include "engine/dbf_field_defs.h"

#include <stdexcept>

namespace {

constexpr int kMaxFields = 255;

// Latin letters, and every Windows-1251 character of the Cyrillic block
// (Russian, Ukrainian, Belarusian, Serbian and Macedonian letters).
bool IsLetter(char c) {
    if ((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) {
        return true;
    }
    const char16_t unicode = platform::Cp1251ToUtf16(std::string_view(&c, 1)).front();
    return unicode >= 0x0400 && unicode <= 0x04FF;
}

bool IsNameCharacter(char c) {
    return IsLetter(c) || (c >= '0' && c <= '9') || c == '_';
}

// Why `name` cannot name a field, or an empty text when it can.
std::string NameFault(const std::u16string& name, const AnsiString& ansi) {
    if (name.empty()) {
        return "the name is empty";
    }
    if (platform::Cp1251ToUtf16(ansi) != name) {
        return "the name has characters outside Windows-1251";
    }
    if (ansi.size() > dbf::kMaxNameLength) {
        return "the name is longer than 10 characters";
    }
    if (!IsLetter(ansi.front())) {
        return "the name does not start with a letter";
    }
    for (char c : ansi) {
        if (!IsNameCharacter(c)) {
            return "the name may hold only letters, digits and '_'";
        }
    }
    return {};
}

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
        const AnsiString ansi = platform::Utf16ToCp1251(def.Name);
        if (const std::string fault = NameFault(def.Name, ansi); !fault.empty()) {
            refuse(fault);
        }
        const AnsiString name = dbf::UpperCaseName(ansi);
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
