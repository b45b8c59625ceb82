// The file system of Windows. A source is held by opening it without sharing
// its reading or writing: while we have it, nobody else can open it for
// either, and while anybody else has it open so, we cannot. Only the sharing
// of deletion is granted, because the claimed file is renamed and deleted
// through its name while we hold it.
#include <windows.h>

#include <string>
#include <system_error>

#include "platform/files/file_system.h"
#include "platform/system/error_text_win32.h"
#include "platform/system/unique_handle_win32.h"
#include "platform/text/codepage.h"

namespace platform {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kUnixEpochTicks = 116'444'736'000'000'000;  // 1601-01-01 to 1970-01-01 in 100 ns

std::string Quoted(const fs::path& path) {
    const std::wstring& wide = path.native();
    std::string quoted = Utf16ToUtf8(std::u16string(wide.begin(), wide.end()));
    quoted.insert(quoted.begin(), '\'');  // not "'" + ...: GCC 12 warns falsely
    quoted += '\'';
    return quoted;
}

std::system_error Error(DWORD code, const std::string& action, const fs::path& path) {
    return std::system_error(int(code), Win32Category(), action + " " + Quoted(path));
}

[[noreturn]] void Fail(const std::string& action, const fs::path& path) {
    throw Error(::GetLastError(), action, path);
}

bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ||
           error == ERROR_INVALID_NAME || error == ERROR_DIRECTORY;
}

// The entry itself: a link or other reparse point is opened, not followed.
// Asks for no data access, so it works while others hold the file unshared.
UniqueHandle OpenEntry(const fs::path& path, DWORD extraFlags = FILE_FLAG_OPEN_REPARSE_POINT) {
    return UniqueHandle(::CreateFileW(
        path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
        nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | extraFlags, nullptr));
}

EntryKind KindOf(HANDLE handle, DWORD attributes) {
    if (attributes & FILE_ATTRIBUTE_REPARSE_POINT) {
        return EntryKind::Other;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        return EntryKind::Folder;
    }
    return ::GetFileType(handle) == FILE_TYPE_DISK ? EntryKind::Regular : EntryKind::Other;
}

FileIdentity IdentityOf(const BY_HANDLE_FILE_INFORMATION& info) {
    FileIdentity identity;
    identity.Device = info.dwVolumeSerialNumber;
    identity.File = uint64_t(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    identity.Size = uint64_t(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    const int64_t ticks = int64_t(uint64_t(info.ftLastWriteTime.dwHighDateTime) << 32 |
                                  info.ftLastWriteTime.dwLowDateTime);
    identity.ModifiedNs = (ticks - kUnixEpochTicks) * 100;
    return identity;
}

BY_HANDLE_FILE_INFORMATION Information(HANDLE handle, const fs::path& path) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) {
        Fail("cannot examine", path);
    }
    return info;
}

class Win32Source : public SourceFile {
  public:
    Win32Source(HANDLE handle, fs::path path) : handle_(handle), path_(std::move(path)) {}

    FileIdentity Identity() override { return IdentityOf(Information(handle_.get(), path_)); }

    size_t Read(char* buffer, size_t capacity) override {
        DWORD got = 0;
        const auto wanted = DWORD(std::min<size_t>(capacity, 1u << 30));
        if (!::ReadFile(handle_.get(), buffer, wanted, &got, nullptr)) {
            Fail("cannot read", path_);
        }
        return got;
    }

    // Nobody can open the file while we have it without sharing.
    bool HeldAlone() override { return true; }

  private:
    UniqueHandle handle_;
    fs::path path_;
};

class Win32WritableFile : public WritableFile {
  public:
    Win32WritableFile(HANDLE handle, fs::path path) : handle_(handle), path_(std::move(path)) {}

    void WriteAt(std::string_view bytes, uint64_t offset) override {
        while (!bytes.empty()) {
            OVERLAPPED position = At(offset);
            const auto chunk = DWORD(std::min<size_t>(bytes.size(), 1u << 30));
            DWORD written = 0;
            if (!::WriteFile(handle_.get(), bytes.data(), chunk, &written, &position)) {
                Fail("cannot write", path_);
            }
            bytes.remove_prefix(written);
            offset += written;
        }
    }

    std::string ReadAt(size_t length, uint64_t offset) override {
        std::string bytes(length, '\0');
        size_t done = 0;
        while (done < length) {
            OVERLAPPED position = At(offset + done);
            const auto chunk = DWORD(std::min<size_t>(length - done, 1u << 30));
            DWORD got = 0;
            if (!::ReadFile(handle_.get(), bytes.data() + done, chunk, &got, &position)) {
                if (::GetLastError() == ERROR_HANDLE_EOF) {
                    break;
                }
                Fail("cannot read", path_);
            }
            if (got == 0) {
                break;
            }
            done += got;
        }
        bytes.resize(done);
        return bytes;
    }

    uint64_t Size() override {
        LARGE_INTEGER size{};
        if (!::GetFileSizeEx(handle_.get(), &size)) {
            Fail("cannot examine", path_);
        }
        return uint64_t(size.QuadPart);
    }

    void Truncate(uint64_t size) override {
        FILE_END_OF_FILE_INFO end{};
        end.EndOfFile.QuadPart = LONGLONG(size);
        if (!::SetFileInformationByHandle(handle_.get(), FileEndOfFileInfo, &end, sizeof end)) {
            Fail("cannot set the size of", path_);
        }
    }

    void Flush() override {
        if (!::FlushFileBuffers(handle_.get())) {
            Fail("cannot flush", path_);
        }
    }

    void Close() override {
        if (!handle_.Close()) {
            Fail("cannot close", path_);
        }
    }

  private:
    static OVERLAPPED At(uint64_t offset) {
        OVERLAPPED position{};
        position.Offset = DWORD(offset);
        position.OffsetHigh = DWORD(offset >> 32);
        return position;
    }

    UniqueHandle handle_;
    fs::path path_;
};

class Win32FileSystem : public FileSystem {
  public:
    // Hidden and system files, folders and reparse points (links) are left
    // out, as a search for the archive attribute leaves them out.
    std::vector<fs::path> ListFiles(const fs::path& folder) override {
        constexpr DWORD kLeftOut = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                                   FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_REPARSE_POINT |
                                   FILE_ATTRIBUTE_DEVICE;
        const fs::path pattern = (folder.empty() ? fs::path(L".") : folder) / L"*";
        WIN32_FIND_DATAW entry{};
        const HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &entry,
                                                 FindExSearchNameMatch, nullptr, 0);
        if (search == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if (IsMissing(error) || error == ERROR_NO_MORE_FILES) {
                return {};
            }
            throw Error(error, "cannot list", folder);
        }
        std::vector<fs::path> names;
        do {
            if ((entry.dwFileAttributes & kLeftOut) == 0) {
                names.emplace_back(entry.cFileName);
            }
        } while (::FindNextFileW(search, &entry));
        const DWORD error = ::GetLastError();
        ::FindClose(search);
        if (error != ERROR_NO_MORE_FILES) {
            throw Error(error, "cannot list", folder);
        }
        return names;
    }

    SourceOpening OpenSource(const fs::path& file) override {
        SourceOpening opening;
        const HANDLE handle =
            ::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                          FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION) {
                opening.Refusal = SourceRefusal::Busy;
            } else if (IsMissing(error)) {
                opening.Refusal = SourceRefusal::Missing;
            } else if (const auto status = Status(file);
                       status && status->Kind != EntryKind::Regular) {
                opening.Refusal = SourceRefusal::NotRegular;  // a folder cannot be opened so
            } else {
                opening.Refusal = SourceRefusal::Unreadable;
                opening.Reason = Error(error, "cannot open", file).what();
            }
            return opening;
        }
        auto source = std::make_unique<Win32Source>(handle, file);
        BY_HANDLE_FILE_INFORMATION info{};
        if (!::GetFileInformationByHandle(handle, &info)) {
            opening.Refusal = SourceRefusal::Unreadable;
            opening.Reason = Error(::GetLastError(), "cannot examine", file).what();
        } else if (KindOf(handle, info.dwFileAttributes) != EntryKind::Regular) {
            opening.Refusal = SourceRefusal::NotRegular;
        } else {
            opening.File = std::move(source);
        }
        return opening;
    }

    std::unique_ptr<WritableFile> CreateNew(const fs::path& file) override {
        // CREATE_NEW refuses any existing name, a link included.
        const HANDLE handle =
            ::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            Fail("cannot create", file);
        }
        return std::make_unique<Win32WritableFile>(handle, file);
    }

    std::unique_ptr<WritableFile> OpenExisting(const fs::path& file) override {
        const HANDLE handle =
            ::CreateFileW(file.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                          OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            Fail("cannot open", file);
        }
        auto opened = std::make_unique<Win32WritableFile>(handle, file);
        if (KindOf(handle, Information(handle, file).dwFileAttributes) != EntryKind::Regular) {
            throw Error(ERROR_INVALID_PARAMETER, "cannot open", file);
        }
        return opened;
    }

    std::optional<EntryStatus> Status(const fs::path& path) override {
        const UniqueHandle entry = OpenEntry(path);
        if (!entry.valid()) {
            const DWORD error = ::GetLastError();
            if (IsMissing(error)) {
                return std::nullopt;
            }
            throw Error(error, "cannot examine", path);
        }
        const BY_HANDLE_FILE_INFORMATION info = Information(entry.get(), path);
        return EntryStatus{KindOf(entry.get(), info.dwFileAttributes), IdentityOf(info)};
    }

    bool IsFolder(const fs::path& path) override {
        const UniqueHandle entry = OpenEntry(path, 0);  // through links
        if (!entry.valid()) {
            return false;
        }
        return (Information(entry.get(), path).dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    }

    bool Rename(const fs::path& from, const fs::path& to) override {
        // Without MOVEFILE_REPLACE_EXISTING an existing `to` is never replaced.
        if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) {
            return true;
        }
        const DWORD error = ::GetLastError();
        if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS) {
            return false;
        }
        throw Error(error, "cannot rename " + Quoted(from) + " to", to);
    }

    void Remove(const fs::path& file) override {
        if (!::DeleteFileW(file.c_str())) {
            Fail("cannot delete", file);
        }
    }

    // Renames are written through (MOVEFILE_WRITE_THROUGH) and NTFS journals
    // its folders; a folder is flushed where the system lets a user do it.
    void FlushFolder(const fs::path& folder) override {
        const UniqueHandle handle(::CreateFileW(
            (folder.empty() ? fs::path(L".") : folder).c_str(), GENERIC_READ | GENERIC_WRITE,
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
            FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!handle.valid()) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_ACCESS_DENIED) {
                return;  // the write-through renames are all there is
            }
            throw Error(error, "cannot open", folder);
        }
        if (!::FlushFileBuffers(handle.get())) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_ACCESS_DENIED || error == ERROR_INVALID_FUNCTION) {
                return;
            }
            throw Error(error, "cannot flush", folder);
        }
    }
};

}  // namespace

FileSystem& SystemFileSystem() {
    static Win32FileSystem system;
    return system;
}

}  // namespace platform
