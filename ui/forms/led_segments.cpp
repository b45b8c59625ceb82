#include "ui/forms/led_segments.h"

#include <algorithm>

int LitSegments(int percent) {
    constexpr int kPercentMax = 100;
    return std::clamp(percent, 0, kPercentMax) * kLedSegments / kPercentMax;
}
