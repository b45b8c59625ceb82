#include <ctime>
#include <stdexcept>

#include "platform/system/local_time.h"

namespace platform {

LocalTime LocalTimeAt(std::chrono::system_clock::time_point time) {
    const std::time_t now = std::chrono::system_clock::to_time_t(time);
    std::tm local{};
    if (::localtime_r(&now, &local) == nullptr) {
        throw std::runtime_error("cannot determine the local time");
    }
    return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
            local.tm_min,         local.tm_sec,     int64_t(now),  int64_t(local.tm_gmtoff)};
}

}  // namespace platform
