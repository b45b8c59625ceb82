// Reading a whole file into memory, held once: in a string as large as the
// file's size says, which grows only for a stream or a file that grew
// meanwhile.
#pragma once

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

namespace platform {

// Reads up to `capacity` bytes into `buffer`; 0 only at the end.
using ReadSome = std::function<size_t(char* buffer, size_t capacity)>;

// Everything `read` gives up to its end, `sizeHint` being the size expected.
std::string ReadToEnd(const ReadSome& read, size_t sizeHint);

// The whole file. Throws std::system_error naming the file when it cannot be
// read (MissingFileError when it is not there).
std::string ReadWholeFile(const std::filesystem::path& file);

// The same; nullopt when there is no such file, nor a folder on the way to it.
std::optional<std::string> ReadWholeFileIfPresent(const std::filesystem::path& file);

}  // namespace platform
