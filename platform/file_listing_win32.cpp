#include "platform/file_listing.h"
#include "platform/file_system.h"
#include "platform/native_path.h"
#include "platform/wildcard_mask.h"

namespace platform {

// The folder ends at the last '\' or '/'; the names come in the order the
// system's search gives them.
std::vector<AnsiString> FindFiles(const AnsiString& pattern) {
    const size_t slash = pattern.find_last_of("\\/");
    const bool hasFolder = slash != AnsiString::npos;
    const auto folder = NativePath(hasFolder ? pattern.substr(0, slash + 1) : ".");
    const std::string_view mask =
        hasFolder ? std::string_view(pattern).substr(slash + 1) : std::string_view(pattern);
    std::vector<AnsiString> names;
    for (const auto& name : SystemFileSystem().ListFiles(folder)) {
        AnsiString ansi = AnsiFileName(name);
        if (MatchesMask(ansi, mask)) {
            names.push_back(std::move(ansi));
        }
    }
    return names;
}

}  // namespace platform
