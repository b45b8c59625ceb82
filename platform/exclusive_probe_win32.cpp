#include "platform/exclusive_probe.h"
#include "platform/file_system.h"

namespace platform {

// An open without sharing: it fails while anybody else has the file open.
ProbeResult ProbeExclusiveOpen(const std::filesystem::path& file) {
    switch (SystemFileSystem().OpenSource(file).Refusal) {
        case SourceRefusal::None:
            return ProbeResult::Free;  // closed again as the opening goes
        case SourceRefusal::Busy:
            return ProbeResult::Busy;
        default:
            return ProbeResult::CannotOpen;
    }
}

}  // namespace platform
