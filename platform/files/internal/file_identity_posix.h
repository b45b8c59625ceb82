// The identity of a file as this system's stat tells it.
#pragma once

#include <sys/stat.h>

#include "platform/files/file_system.h"

namespace platform {

inline FileIdentity IdentityOf(const struct stat& status) {
    return {uint64_t(status.st_dev), uint64_t(status.st_ino), uint64_t(status.st_size),
            int64_t(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec};
}

}  // namespace platform
