// A file opened for reading from start to end, closed with the object.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <system_error>

namespace platform {

// There is no such file, nor a folder on the way to it.
class MissingFileError : public std::system_error {
  public:
    using std::system_error::system_error;
};

class FileReader {
  public:
    // Throws std::system_error naming the file when it cannot be opened,
    // MissingFileError when it is not there.
    explicit FileReader(const std::filesystem::path& file);
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // The size of a regular file, 0 for anything else (a pipe, a device).
    // Throws std::system_error naming the file.
    size_t SizeHint() const;

    // Fills `buffer` up to `capacity` bytes; fewer only at the end of the
    // file. Throws std::system_error naming the file.
    size_t Read(char* buffer, size_t capacity);

  private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
    std::filesystem::path file_;
};

}  // namespace platform
