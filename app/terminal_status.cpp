#include "app/terminal_status.h"

#include <cstdio>

#include "app/terminal_text.h"
#include "platform/system/console.h"

namespace {
constexpr int kBarWidth = 12;  // as many segments as the window's LED bar
}

TerminalStatus::TerminalStatus(bool enabled) : enabled_(enabled) {}

TerminalStatus::~TerminalStatus() {
    Clear();
}

void TerminalStatus::SetCaption(const AnsiString& text) {
    caption_ = platform::ConsoleText(TerminalSafe(platform::Cp1251ToUtf8(text)));
    Draw();
}

void TerminalStatus::SetPercent(int16_t percent) {
    percent_ = percent;
    Draw();
}

void TerminalStatus::Clear() {
    if (drawn_) {
        std::fputs("\r\033[K", stderr);
        drawn_ = false;
    }
}

void TerminalStatus::Draw() {
    if (!enabled_) {
        return;
    }
    const int filled = percent_ * kBarWidth / 100;
    std::string bar(size_t(filled), '#');
    bar.append(size_t(kBarWidth - filled), '.');
    std::fprintf(stderr, "\r\033[K[%s] %3d%% %s", bar.c_str(), percent_, caption_.c_str());
    std::fflush(stderr);
    drawn_ = true;
}
