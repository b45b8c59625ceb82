#include "platform/files/file_listing.h"

#include <algorithm>
#include <tuple>

#include "platform/files/internal/wildcard_mask.h"
#include "platform/files/native_path.h"

namespace platform {
namespace {

// Lists, for the converter, the name a file is known by.
ListedFile Listed(const std::filesystem::path& entry) {
    ListedFile file{{}, entry, true, false};
    file.Name = EntryName(entry, file.NameFits);
    file.Claimed = file.Name.starts_with(kClaimPrefix);
    if (file.Claimed) {
        file.Name.erase(0, kClaimPrefix.size());
    }
    return file;
}

}  // namespace

std::filesystem::path PatternFolder(const AnsiString& pattern) {
    const size_t slash = FolderEnd(pattern);
    return NativePath(slash != AnsiString::npos ? pattern.substr(0, slash + 1) : ".");
}

std::vector<ListedFile> FindFiles(const AnsiString& pattern, FileSystem& files) {
    const size_t slash = FolderEnd(pattern);
    const std::string_view mask =
        slash != AnsiString::npos ? std::string_view(pattern).substr(slash + 1) : pattern;
    // Each with its name upper-cased: the order of listing ignores case.
    std::vector<std::pair<AnsiString, ListedFile>> found;
    for (const auto& entry : files.ListFiles(PatternFolder(pattern))) {
        ListedFile file = Listed(entry);
        if (file.Name.empty() || (file.Name[0] == '.' && !file.Claimed)) {
            continue;
        }
        if (MatchesMask(file.Name, mask)) {
            found.emplace_back(UpperCase1251(file.Name), std::move(file));
        }
    }
    std::sort(found.begin(), found.end(), [](const auto& a, const auto& b) {
        return std::tie(a.first, b.second.Claimed, a.second.Entry) <
               std::tie(b.first, a.second.Claimed, b.second.Entry);
    });
    std::vector<ListedFile> listed;
    listed.reserve(found.size());
    for (auto& [key, file] : found) {
        listed.push_back(std::move(file));
    }
    return listed;
}

}  // namespace platform
