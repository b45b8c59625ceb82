#include "ui/win32/led_bar.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include "tests/ui/win32/test_window.h"

namespace {

// The bar keeps its percentage within 0..100 and tells it as a progress bar
// does: PBM_SETPOS gives the previous one, PBM_GETPOS the current one.
TEST(LedBar, TakesAndTellsItsPercentageLikeAProgressBar) {
    const TTestWindow parent;
    const HWND bar = CreateLedBar(parent.Handle(), 0, 0, 379, 30);
    EXPECT_EQ(::SendMessageW(bar, PBM_GETPOS, 0, 0), 0);  // starts at 0 %
    const struct {
        int16_t set;
        LRESULT previous;
        LRESULT now;
    } cases[] = {{40, 0, 40}, {100, 40, 100}, {150, 100, 100}, {-5, 100, 0}, {60, 0, 60}};
    for (const auto& c : cases) {
        EXPECT_EQ(::SendMessageW(bar, PBM_SETPOS, WPARAM(uint16_t(c.set)), 0), c.previous) << c.set;
        EXPECT_EQ(::SendMessageW(bar, PBM_GETPOS, 0, 0), c.now) << c.set;
    }
}

TEST(LedBar, ShowsTheWorkersProgress) {
    const TTestWindow parent;
    const HWND bar = CreateLedBar(parent.Handle(), 0, 0, 379, 30);
    TBarProgress progress(bar);
    progress.SetPercent(37);
    EXPECT_EQ(::SendMessageW(bar, PBM_GETPOS, 0, 0), 37);
    progress.SetPercent(0);
    EXPECT_EQ(::SendMessageW(bar, PBM_GETPOS, 0, 0), 0);
}

}  // namespace
