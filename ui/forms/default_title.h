// The program's title before it sets its own, as the single-instance error
// box shows it.
#pragma once

#include <string>
#include <string_view>

// The executable's file name up to its first dot, every character after the
// first in lower case; `lower` is the toolkit's lower case of a text.
std::u16string DefaultTitle(std::u16string_view executableFileName,
                            std::u16string (*lower)(std::u16string_view text));
