#include <windows.h>

#include <optional>
#include <system_error>

#include "platform/files/journal_file.h"
#include "platform/system/error_text_win32.h"
#include "platform/system/unique_handle_win32.h"

namespace platform {
namespace {

// Writers lock one byte far past any journal's end, so the lock only orders
// them and never stands in the way of a write.
constexpr DWORD kLockOffsetHigh = 0x7FFFFFFF;

[[noreturn]] void Fail(DWORD error, const std::string& action, const std::filesystem::path& file) {
    throw std::system_error(int(error), Win32Category(), "cannot " + action + " " + file.string());
}

// Every write goes to the end (append data without write data); the read
// right is there for the lock. Others may rename the journal while it is open.
UniqueHandle OpenForAppending(const std::filesystem::path& journal) {
    UniqueHandle handle(::CreateFileW(journal.c_str(),
                                      FILE_APPEND_DATA | FILE_READ_DATA | FILE_READ_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle.valid()) {
        Fail(::GetLastError(), "open", journal);
    }
    return handle;
}

uint64_t SizeOf(HANDLE handle, const std::filesystem::path& journal) {
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(handle, &size)) {
        Fail(::GetLastError(), "examine", journal);
    }
    return uint64_t(size.QuadPart);
}

// Whether the name `journal` still leads to the file open as `handle`.
bool StillNamed(HANDLE handle, const std::filesystem::path& journal) {
    const UniqueHandle named(::CreateFileW(journal.c_str(), FILE_READ_ATTRIBUTES,
                                           FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    BY_HANDLE_FILE_INFORMATION open{};
    BY_HANDLE_FILE_INFORMATION found{};
    if (!::GetFileInformationByHandle(handle, &open)) {
        Fail(::GetLastError(), "examine", journal);
    }
    return named.get() != INVALID_HANDLE_VALUE &&
           ::GetFileInformationByHandle(named.get(), &found) &&
           open.dwVolumeSerialNumber == found.dwVolumeSerialNumber &&
           open.nFileIndexHigh == found.nFileIndexHigh && open.nFileIndexLow == found.nFileIndexLow;
}

// Called with the journal open as `handle` and found full. Under an exclusive
// lock on that file, renames it unless another writer has done so already.
// Returns false when `handle` is still the journal (not full after all).
bool RotateFull(HANDLE handle, const std::filesystem::path& journal, std::uintmax_t rotateAt) {
    OVERLAPPED place{};
    place.OffsetHigh = kLockOffsetHigh;
    if (!::LockFileEx(handle, LOCKFILE_EXCLUSIVE_LOCK, 0, 1, 0, &place)) {
        Fail(::GetLastError(), "lock", journal);
    }
    bool rotated = true;  // also when another writer did it meanwhile: open the new one
    DWORD error = ERROR_SUCCESS;
    if (StillNamed(handle, journal)) {
        if (SizeOf(handle, journal) < rotateAt) {
            rotated = false;
        } else if (!::MoveFileExW(journal.c_str(), PreviousJournal(journal).c_str(),
                                  MOVEFILE_REPLACE_EXISTING)) {
            error = ::GetLastError();
        }
    }
    ::UnlockFileEx(handle, 0, 1, 0, &place);
    if (error != ERROR_SUCCESS) {
        Fail(error, "rotate", journal);
    }
    return rotated;
}

}  // namespace

void AppendJournalLine(const std::filesystem::path& journal, std::string_view line,
                       std::uintmax_t rotateAt) {
    std::filesystem::create_directories(journal.parent_path());
    std::optional<UniqueHandle> handle(OpenForAppending(journal));
    // Another writer may rotate between our open and our check; a few rounds settle it.
    for (int round = 0; round < 3; ++round) {
        if (SizeOf(handle->get(), journal) < rotateAt ||
            !RotateFull(handle->get(), journal, rotateAt)) {
            break;
        }
        handle.emplace(OpenForAppending(journal));
    }
    DWORD written = 0;
    if (!::WriteFile(handle->get(), line.data(), DWORD(line.size()), &written, nullptr)) {
        Fail(::GetLastError(), "write to", journal);
    }
    if (written != line.size()) {
        Fail(ERROR_DISK_FULL, "write to", journal);
    }
}

}  // namespace platform
