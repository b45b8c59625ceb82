// Lists of lines as the tests write them, and as the worker holds them.
#pragma once

#include <string>
#include <vector>

#include "platform/text/line_list.h"

using Lines = std::vector<std::string>;

inline platform::LineList ToLineList(const Lines& lines) {
    platform::LineList list;
    for (const std::string& line : lines) {
        list.Add(line);
    }
    return list;
}

inline Lines ToLines(const platform::LineList& list) {
    Lines lines;
    for (size_t i = 0; i < list.size(); ++i) {
        lines.emplace_back(list[i]);
    }
    return lines;
}
