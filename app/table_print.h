// A dBASE table as kvadrel-dump prints it: the fields, one line per record,
// then the count, all as UTF-8.
#pragma once

#include "engine/dbf/dbf_reader.h"

void PrintTable(const DbfContents& table);
