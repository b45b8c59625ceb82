#include "engine/type_field_defs.h"

TFieldDefs TypeFieldDefs(const TDD& type) {
    TFieldDefs defs;
    for (const TDF* field = type.First; field != nullptr; field = field->Next) {
        defs.Add(field->Name, ftString, field->Size, false);
    }
    return defs;
}
