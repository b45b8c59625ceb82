// What kvadrel-batch draws on a terminal: frames "[bar] NNN% caption", each
// drawn over the one before after "\r\033[K".
#pragma once

#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

struct ProgressFrame {
    int percent;
    std::string caption;  // UTF-8
};

// The frames of the terminal output, first to last.
inline std::vector<ProgressFrame> ProgressFrames(std::string_view terminal) {
    constexpr std::string_view kRedraw = "\r\033[K";
    constexpr size_t kBar = 1 + 12 + 2;  // "[", the segments, "] "
    std::vector<ProgressFrame> frames;
    size_t start = terminal.find(kRedraw);
    while (start != std::string_view::npos) {
        start += kRedraw.size();
        const size_t end = terminal.find(kRedraw, start);
        const std::string_view frame = terminal.substr(start, end - start);
        // "NNN% " after the bar. A frame still being written lacks it or part
        // of its caption, and so shows no caption a test looks for.
        int percent = 0;
        if (frame.size() >= kBar + 5 && frame[0] == '[' && frame.substr(kBar + 3, 2) == "% " &&
            std::sscanf(std::string(frame.substr(kBar, 3)).c_str(), "%d", &percent) == 1) {
            frames.push_back({percent, std::string(frame.substr(kBar + 5))});
        }
        start = end;
    }
    return frames;
}

// Whether some frame shows `caption` at `percent` or beyond.
inline bool Shows(std::string_view terminal, std::string_view caption, int percent = 0) {
    for (const auto& frame : ProgressFrames(terminal)) {
        if (frame.caption == caption && frame.percent >= percent) {
            return true;
        }
    }
    return false;
}
