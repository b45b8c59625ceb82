// Splits the bytes of a store file into lines of UTF-16 text: UTF-16LE with
// a BOM, else UTF-8 with or without one; LF or CRLF line ends.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// A line of the file, or null when its bytes are not valid UTF-8: such a line
// would come back altered when the store is written, so it is not loaded.
using RegFileLine = std::optional<std::u16string>;

struct RegFileLines {
    std::vector<RegFileLine> lines;
    bool strayByte = false;  // a last byte of UTF-16 without its pair
};

RegFileLines SplitRegFileLines(std::string_view bytes);

}  // namespace platform
