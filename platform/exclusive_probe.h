// Whether a source file may be taken: the stand-in for opening it with
// exclusive sharing, which fails while any other process has it open.
#pragma once

#include <filesystem>

namespace platform {

enum class ProbeResult {
    Free,        // nobody else has the file open
    Busy,        // another process has it open (or, see below, it changed just now)
    CannotOpen,  // missing, not readable, or not a regular file
};

// Tries a write lease on the file, which the kernel grants only while no
// other open file descriptor refers to it; one held by this same process
// counts as well, so the caller must not have the file open. The lease is
// released at once.
//
// Where the kernel refuses a lease for another reason than an open file (the
// file belongs to another user, the file system has no leases, as on network
// mounts), the file counts as busy while it was modified less than 2 seconds
// ago (or has a modification time in the future).
ProbeResult ProbeExclusiveOpen(const std::filesystem::path& file);

}  // namespace platform
