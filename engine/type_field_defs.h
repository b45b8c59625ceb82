// The field definitions of the table made from each file of an update type:
// one character field per field of the type, in its order.
#pragma once

#include "config/descriptors.h"
#include "engine/dbf/dbf_field_defs.h"

TFieldDefs TypeFieldDefs(const TDD& type);
