#include <windows.h>

#include <algorithm>
#include <string>
#include <system_error>

#include "platform/files/atomic_file.h"
#include "platform/system/error_text_win32.h"
#include "platform/system/unique_handle_win32.h"

namespace platform {
namespace {

[[noreturn]] void Fail(DWORD error, const std::string& action, const std::filesystem::path& name) {
    throw std::system_error(int(error), Win32Category(), "cannot " + action + " " + name.string());
}

// Writes all bytes and flushes them to the disk.
void WriteAndFlush(const UniqueHandle& file, std::string_view bytes,
                   const std::filesystem::path& name) {
    while (!bytes.empty()) {
        const DWORD chunk = DWORD(std::min<size_t>(bytes.size(), 1 << 20));
        DWORD written = 0;
        if (!::WriteFile(file.get(), bytes.data(), chunk, &written, nullptr)) {
            Fail(::GetLastError(), "write", name);
        }
        bytes.remove_prefix(written);
    }
    if (!::FlushFileBuffers(file.get())) {
        Fail(::GetLastError(), "flush", name);
    }
}

// A new file only this user may read (the user's default rights, which the
// profile folder gives).
UniqueHandle CreateNew(const std::filesystem::path& file) {
    return UniqueHandle(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

void CreateFolders(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw std::system_error(error, "cannot create the folder " + folder.string());
    }
}

bool WriteNewFile(const std::filesystem::path& file, std::string_view bytes) {
    UniqueHandle handle = CreateNew(file);
    if (!handle.valid()) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) {
            return false;
        }
        Fail(error, "create", file);
    }
    try {
        WriteAndFlush(handle, bytes, file);
    } catch (...) {
        handle.Close();
        ::DeleteFileW(file.c_str());
        throw;
    }
    return true;
}

void ReplaceFileAtomically(const std::filesystem::path& file, std::string_view bytes) {
    std::filesystem::path temporary;
    for (unsigned number = ::GetCurrentProcessId();; ++number) {
        temporary = file;
        temporary += ".tmp-" + std::to_string(number);
        if (WriteNewFile(temporary, bytes)) {
            break;
        }
    }
    if (!::MoveFileExW(temporary.c_str(), file.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        const DWORD error = ::GetLastError();
        ::DeleteFileW(temporary.c_str());
        Fail(error, "rename " + temporary.string() + " to", file);
    }
}

}  // namespace platform
