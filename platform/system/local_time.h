// The local date and time, as the system's time zone settings give them.
#pragma once

#include <chrono>
#include <cstdint>

namespace platform {

struct LocalTime {
    int Year = 0;                  // e.g. 2026
    int Month = 0;                 // 1 to 12
    int Day = 0;                   // 1 to 31
    int Hour = 0;                  // 0 to 23
    int Minute = 0;                // 0 to 59
    int Second = 0;                // 0 to 59 (60 for a leap second where the system has one)
    int64_t UnixSeconds = 0;       // the same moment in seconds since 1970-01-01 UTC
    int64_t UtcOffsetSeconds = 0;  // local time minus UTC
};

// The local time of a moment (to the second); throws std::runtime_error when
// the system cannot tell it.
LocalTime LocalTimeAt(std::chrono::system_clock::time_point time);

// Now.
inline LocalTime CurrentLocalTime() {
    return LocalTimeAt(std::chrono::system_clock::now());
}

}  // namespace platform
