#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <system_error>

#include "platform/files/internal/file_reader.h"
#include "platform/system/error_text_win32.h"
#include "platform/system/unique_handle_win32.h"

namespace platform {
namespace {

std::system_error ReadError(DWORD error, const std::filesystem::path& file) {
    return std::system_error(int(error), Win32Category(), "cannot read " + file.string());
}

}  // namespace

struct FileReader::Handle {
    UniqueHandle handle;
};

FileReader::FileReader(const std::filesystem::path& file)
    : handle_(new Handle{UniqueHandle(::CreateFileW(
          file.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
          nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr))}),
      file_(file) {
    if (!handle_->handle.valid()) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            throw MissingFileError(int(error), Win32Category(), "cannot read " + file_.string());
        }
        const DWORD attributes = ::GetFileAttributesW(file.c_str());
        if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
            // Windows calls that a denied access; the reason is that it is a folder.
            throw std::system_error(EISDIR, std::generic_category(),
                                    "cannot read " + file_.string());
        }
        throw ReadError(error, file_);
    }
}

FileReader::~FileReader() = default;

size_t FileReader::SizeHint() const {
    if (::GetFileType(handle_->handle.get()) != FILE_TYPE_DISK) {
        return 0;
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle_->handle.get(), &size)) {
        throw ReadError(::GetLastError(), file_);
    }
    return size_t(size.QuadPart);
}

size_t FileReader::Read(char* buffer, size_t capacity) {
    size_t filled = 0;
    while (filled < capacity) {
        DWORD got = 0;
        const auto wanted = DWORD(std::min<size_t>(capacity - filled, 1u << 30));
        if (!::ReadFile(handle_->handle.get(), buffer + filled, wanted, &got, nullptr)) {
            throw ReadError(::GetLastError(), file_);
        }
        if (got == 0) {
            break;
        }
        filled += got;
    }
    return filled;
}

}  // namespace platform
