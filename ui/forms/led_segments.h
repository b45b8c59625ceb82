// What the main window's LED bar lights for a percentage.
#pragma once

inline constexpr int kLedSegments = 12;

// Segments lit for a percentage (taken within 0..100): a segment lights only
// once its whole share of the range is reached, so 100 % lights them all and
// anything below 100 / 12 % lights none.
int LitSegments(int percent);
