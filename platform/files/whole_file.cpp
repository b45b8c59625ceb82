#include "platform/files/whole_file.h"

#include <memory>

#include "platform/files/internal/file_reader.h"

namespace platform {
namespace {

std::string ReadAll(FileReader& reader) {
    return ReadToEnd(
        [&reader](char* buffer, size_t capacity) { return reader.Read(buffer, capacity); },
        reader.SizeHint());
}

}  // namespace

std::string ReadToEnd(const ReadSome& read, size_t sizeHint) {
    std::string bytes;
    bytes.reserve(sizeHint);
    bytes.resize(bytes.capacity());
    size_t filled = 0;
    while (filled < bytes.size()) {
        const size_t got = read(bytes.data() + filled, bytes.size() - filled);
        if (got == 0) {
            bytes.resize(filled);
            return bytes;
        }
        filled += got;
    }
    // Full: the end is looked for through a piece of its own, so that a file
    // of exactly the size expected never makes the string grow.
    constexpr size_t kPiece = 1 << 20;
    const auto piece = std::make_unique_for_overwrite<char[]>(kPiece);
    while (const size_t got = read(piece.get(), kPiece)) {
        bytes.append(piece.get(), got);
    }
    return bytes;
}

std::string ReadWholeFile(const std::filesystem::path& file) {
    FileReader reader(file);
    return ReadAll(reader);
}

std::optional<std::string> ReadWholeFileIfPresent(const std::filesystem::path& file) {
    std::optional<FileReader> reader;
    try {
        reader.emplace(file);
    } catch (const MissingFileError&) {
        return std::nullopt;
    }
    return ReadAll(*reader);
}

}  // namespace platform
