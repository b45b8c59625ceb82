// Text that kvadrel-batch prints: file names come from shared folders and
// may hold control characters, which must not act on the operator's terminal.
#pragma once

#include <string>
#include <string_view>

// The UTF-8 text with every control character (C0, DEL and C1) written as
// "\xNN" for each of its bytes; everything else as it stands.
std::string TerminalSafe(std::string_view utf8);
