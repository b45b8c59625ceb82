#include <windows.h>

#include <stdexcept>

#include "platform/system/local_time.h"

namespace platform {
namespace {

constexpr int64_t kTicksPerSecond = 10'000'000;        // FILETIME counts 100 ns
constexpr int64_t kUnixEpochSeconds = 11'644'473'600;  // 1601-01-01 to 1970-01-01

int64_t Ticks(const FILETIME& time) {
    return int64_t(uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime);
}

}  // namespace

LocalTime LocalTimeAt(std::chrono::system_clock::time_point time) {
    const int64_t unixSeconds =
        std::chrono::floor<std::chrono::seconds>(time.time_since_epoch()).count();
    const auto ticks = uint64_t((unixSeconds + kUnixEpochSeconds) * kTicksPerSecond);
    FILETIME utc{DWORD(ticks), DWORD(ticks >> 32)};
    FILETIME local{};
    SYSTEMTIME parts{};
    if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &parts)) {
        throw std::runtime_error("cannot determine the local time");
    }
    const int64_t utcSeconds = Ticks(utc) / kTicksPerSecond;
    const int64_t localSeconds = Ticks(local) / kTicksPerSecond;
    return {parts.wYear,
            parts.wMonth,
            parts.wDay,
            parts.wHour,
            parts.wMinute,
            parts.wSecond,
            utcSeconds - kUnixEpochSeconds,
            localSeconds - utcSeconds};
}

}  // namespace platform
