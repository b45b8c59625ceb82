// The open file of a dBASE table: a descriptor that is closed with the
// object, with whole-buffer positioned reads and writes.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <string>
#include <string_view>

namespace dbf {

class TableFile {
  public:
    // Creates the file new; a name that exists already, a link included, is
    // refused. Throws std::system_error.
    static TableFile CreateNew(const std::filesystem::path& path);
    // Opens an existing regular file for reading and writing, never through a
    // link. Throws std::system_error.
    static TableFile OpenExisting(const std::filesystem::path& path);

    TableFile(TableFile&& other) noexcept;
    TableFile& operator=(TableFile&&) = delete;
    TableFile(const TableFile&) = delete;
    ~TableFile();

    const std::filesystem::path& Path() const { return path_; }

    // All of `bytes` at `offset`; throws std::system_error.
    void WriteAt(std::string_view bytes, off_t offset);
    // Up to `length` bytes from `offset`: fewer when the file ends before.
    std::string ReadUpTo(size_t length, off_t offset);
    off_t Size() const;
    void Truncate(off_t size);
    // Flushes data and metadata to the disk.
    void Flush();
    // Closes the descriptor; throws std::system_error when the system
    // reports a failure of the last writes.
    void Close();

  private:
    TableFile(int fd, std::filesystem::path path) : fd_(fd), path_(std::move(path)) {}
    [[noreturn]] void Fail(const char* what) const;

    int fd_;
    std::filesystem::path path_;
};

}  // namespace dbf
