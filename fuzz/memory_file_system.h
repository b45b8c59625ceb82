// A file system held in memory, for the fuzz targets: folders and regular
// files under absolute paths, nothing on the disk. No other program shares
// it, so a source is always held alone and nothing is ever busy.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "platform/files/file_system.h"

class MemoryFileSystem : public platform::FileSystem {
  public:
    // A file's bytes with what identifies them; an open file keeps them
    // alive after its name is removed, as on a disk.
    struct Data {
        std::string Bytes;
        uint64_t Inode = 0;
        int64_t ModifiedNs = 0;
    };

    // Makes the folder and every missing folder above it.
    void MakeFolders(const std::filesystem::path& folder);
    // Writes a regular file in an existing folder, replacing what the name held.
    void Put(const std::filesystem::path& file, std::string bytes);
    // The bytes of a regular file; nullopt when the name holds none.
    std::optional<std::string> Bytes(const std::filesystem::path& file) const;

    std::vector<std::filesystem::path> ListFiles(const std::filesystem::path& folder) override;
    platform::SourceOpening OpenSource(const std::filesystem::path& file) override;
    std::unique_ptr<platform::WritableFile> CreateNew(const std::filesystem::path& file) override;
    std::unique_ptr<platform::WritableFile> OpenExisting(
        const std::filesystem::path& file) override;
    std::optional<platform::EntryStatus> Status(const std::filesystem::path& path) override;
    bool IsFolder(const std::filesystem::path& path) override;
    bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) override;
    void Remove(const std::filesystem::path& file) override;
    void FlushFolder(const std::filesystem::path& folder) override;

  private:
    // A folder when `data` is null.
    struct Entry {
        std::shared_ptr<Data> data;
    };

    static std::string Key(const std::filesystem::path& path);
    const Entry* Find(const std::filesystem::path& path) const;
    // Throws std::system_error naming the path unless its folder exists.
    void RequireParent(const std::filesystem::path& path) const;
    std::shared_ptr<Data> NewData(std::string bytes);

    std::map<std::string, Entry> entries_{{"/", Entry{}}};
    uint64_t nextInode_ = 1;
    int64_t clock_ = 0;  // each new file a later time
};
