#include "engine/dbf/dbf_file.h"

namespace dbf {

TableFile TableFile::CreateNew(platform::FileSystem& files, const std::filesystem::path& path) {
    return TableFile(files.CreateNew(path), path);
}

TableFile TableFile::OpenExisting(platform::FileSystem& files, const std::filesystem::path& path) {
    return TableFile(files.OpenExisting(path), path);
}

}  // namespace dbf
