// The file system as the converter sees it: every operating-system call of
// the engine's file handling goes through this one interface, so that a test
// can wrap it and make any single step fail, and an in-memory or another
// system's backend can stand in for the real one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What tells one delivery from another under the same name: the file itself
// (device and inode, or volume and file id) and its size and modification
// time.
struct FileIdentity {
    uint64_t Device = 0;
    uint64_t File = 0;
    uint64_t Size = 0;
    int64_t ModifiedNs = 0;  // nanoseconds since 1970-01-01 UTC

    bool operator==(const FileIdentity&) const = default;
};

enum class EntryKind { Regular, Folder, Other };  // Other: a link, FIFO, device...

// A directory entry as it is, never what a link points at.
struct EntryStatus {
    EntryKind Kind = EntryKind::Other;
    FileIdentity Identity;
};

// A source file opened for reading and, where the system allows, held so
// that nobody else may open it.
class SourceFile {
  public:
    virtual ~SourceFile() = default;
    // The open file's identity now.
    virtual FileIdentity Identity() = 0;
    // Up to `capacity` bytes from the current position; 0 at the end.
    virtual size_t Read(char* buffer, size_t capacity) = 0;
    // Whether the hold taken by the opening is still unbroken: false once
    // another program has tried to open the file (it then waits for us), and
    // always false where no hold could be taken.
    virtual bool HeldAlone() = 0;
};

// Why OpenSource gave no file.
enum class SourceRefusal {
    None,        // opened
    Busy,        // another program has it open
    NotRegular,  // a link, FIFO, folder, device... (never followed, never waited on)
    Missing,     // gone since it was listed
    Unreadable,  // the system refused to open or examine it (Reason says why)
};

struct SourceOpening {
    std::unique_ptr<SourceFile> File;  // set when Refusal is None
    SourceRefusal Refusal = SourceRefusal::None;
    // Opened, but the system refused the hold for lack of rights (another
    // user's file): nobody else is kept out, the caller must judge by time.
    bool HoldRefused = false;
    std::string Reason;  // for Unreadable
};

// A table file being written: positioned writes and reads.
class WritableFile {
  public:
    virtual ~WritableFile() = default;
    virtual void WriteAt(std::string_view bytes, uint64_t offset) = 0;
    // Up to `length` bytes from `offset`: fewer when the file ends before.
    virtual std::string ReadAt(size_t length, uint64_t offset) = 0;
    virtual uint64_t Size() = 0;
    virtual void Truncate(uint64_t size) = 0;
    // Data and metadata on the disk.
    virtual void Flush() = 0;
    // Throws when the system reports a failure of the last writes; the file
    // is closed either way.
    virtual void Close() = 0;
};

// Every call throws std::system_error naming the path and the reason unless
// it says otherwise.
class FileSystem {
  public:
    virtual ~FileSystem() = default;

    // The names (no folder) of the regular files of `folder`, in no order,
    // hidden names included; links and everything else left out. A missing
    // folder, or a path that is no folder, gives an empty list.
    virtual std::vector<std::filesystem::path> ListFiles(const std::filesystem::path& folder) = 0;

    // Opens a source without following a link and without ever blocking,
    // checks that it is a regular file, and takes the hold that keeps other
    // programs out while we read it. Refusals are results, not exceptions.
    virtual SourceOpening OpenSource(const std::filesystem::path& file) = 0;

    // A new file (mode 0666 less the umask); an existing name, a link
    // included, is refused.
    virtual std::unique_ptr<WritableFile> CreateNew(const std::filesystem::path& file) = 0;
    // An existing regular file for reading and writing, never through a link.
    virtual std::unique_ptr<WritableFile> OpenExisting(const std::filesystem::path& file) = 0;

    // The entry itself (a link is not followed); nullopt when there is none.
    virtual std::optional<EntryStatus> Status(const std::filesystem::path& path) = 0;
    // Whether `path` names a folder, following links.
    virtual bool IsFolder(const std::filesystem::path& path) = 0;

    // Renames within one folder, never replacing: false, changing nothing,
    // when `to` exists already.
    virtual bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // Removes the entry (a link itself, never its target).
    virtual void Remove(const std::filesystem::path& file) = 0;
    // Makes the creates, renames and removes in `folder` durable.
    virtual void FlushFolder(const std::filesystem::path& folder) = 0;
};

// The operating system's file system.
FileSystem& SystemFileSystem();

}  // namespace platform
