// The open file of a dBASE table: closed with the object, with whole-buffer
// positioned reads and writes, through the file-system interface.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "platform/files/file_system.h"

namespace dbf {

class TableFile {
  public:
    // Creates the file new; a name that exists already, a link included, is
    // refused. Throws std::system_error.
    static TableFile CreateNew(platform::FileSystem& files, const std::filesystem::path& path);
    // Opens an existing regular file for reading and writing, never through a
    // link. Throws std::system_error.
    static TableFile OpenExisting(platform::FileSystem& files, const std::filesystem::path& path);

    const std::filesystem::path& Path() const { return path_; }

    // All of `bytes` at `offset`; throws std::system_error.
    void WriteAt(std::string_view bytes, uint64_t offset) { file_->WriteAt(bytes, offset); }
    // Up to `length` bytes from `offset`: fewer when the file ends before.
    std::string ReadUpTo(size_t length, uint64_t offset) { return file_->ReadAt(length, offset); }
    uint64_t Size() const { return file_->Size(); }
    void Truncate(uint64_t size) { file_->Truncate(size); }
    // Flushes data and metadata to the disk.
    void Flush() { file_->Flush(); }
    // Closes the file; throws std::system_error when the system reports a
    // failure of the last writes.
    void Close() { file_->Close(); }

  private:
    TableFile(std::unique_ptr<platform::WritableFile> file, std::filesystem::path path)
        : file_(std::move(file)), path_(std::move(path)) {}

    std::unique_ptr<platform::WritableFile> file_;
    std::filesystem::path path_;
};

}  // namespace dbf
