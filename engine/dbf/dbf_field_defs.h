// The field definitions a table is created with, and the rules a dBASE
// character field must follow.
#pragma once

#include <string>
#include <vector>

#include "engine/dbf/dbf_header.h"

enum TFieldType { ftString };

struct TFieldDef {
    std::u16string Name;
    TFieldType DataType;
    int Size;
    bool Required;
};

class TFieldDefs {
  public:
    void Add(const std::u16string& name, TFieldType type, int size, bool required);
    void Clear() { defs_.clear(); }
    int Count() const { return int(defs_.size()); }
    const TFieldDef& operator[](int index) const { return defs_.at(size_t(index)); }

    // The stored fields of these definitions. Throws std::runtime_error naming
    // the first definition that breaks a rule and the rule: a name of 1 to 10
    // Windows-1251 characters, a letter first, then letters, digits or '_',
    // unique ignoring case; width 1 to 255; not required; 1 to 255 fields.
    std::vector<dbf::FieldLayout> Layout() const;

  private:
    std::vector<TFieldDef> defs_;
};
