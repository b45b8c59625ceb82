// The rule a name must follow to name a character field of the dBASE tables
// the converter writes. The table writer refuses a field list that breaks it,
// and the field editor refuses such a name before it is ever stored.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/text/codepage.h"

namespace dbf {

enum class FieldNameFault { Empty, OutsideCodePage, TooLong, NoLeadingLetter, BadCharacter };

// Why `name` cannot name a field, or nothing when it can: 1 to 10 Windows-1251
// characters, a Latin or Cyrillic letter first, then letters, digits or '_'.
// Names must also differ from the other fields' names as StoredFieldName
// gives them; that check is the caller's, who knows the other fields.
std::optional<FieldNameFault> CheckFieldName(std::u16string_view name);

// The fault in words, for error messages.
const char* Describe(FieldNameFault fault);

// The name as a table stores and compares it: Windows-1251, upper case.
AnsiString StoredFieldName(std::u16string_view name);

}  // namespace dbf
