// The name of an update type is the name of its key in the per-user store:
// it must be one storable key name and differ from the other types' names
// ignoring case, or the types could not be stored and loaded back apart.
#pragma once

#include <string>
#include <string_view>

#include "config/descriptors.h"

// Why `name` cannot name the update type `self` among the types of `list`
// (which may hold `self`); an empty text when it can. An empty name is left to
// the editor's OK rule.
std::u16string TypeNameProblem(std::u16string_view name, const TDL* list, const TDD* self);
