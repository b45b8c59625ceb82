// The system trims its texts of leading and trailing codes up to the blank.
#pragma once

#include <string>
#include <string_view>

std::u16string TrimBlanks(std::u16string_view text);
