// The per-user hierarchical key-value store that stands in for the Windows
// registry under HKEY_CURRENT_USER. It lives in one text file in the format
// the Windows registry editor exports.
//
// A store is opened, worked on in memory and closed: Close() writes the file
// atomically when something changed (new file, flushed, renamed over the old
// one), so a crash leaves either the old or the new contents.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Value types, numbered as the Windows registry numbers them.
enum class RegType : uint32_t {
    None = 0,
    String = 1,        // REG_SZ
    ExpandString = 2,  // REG_EXPAND_SZ
    Binary = 3,        // REG_BINARY
    DWord = 4,         // REG_DWORD
};

struct RegValue {
    uint32_t type = 0;           // a RegType, or any other number from a hex(N): line
    std::u16string text;         // REG_SZ, REG_EXPAND_SZ (without the terminating NUL)
    uint32_t dword = 0;          // REG_DWORD
    std::vector<uint8_t> bytes;  // every other type: the raw data

    bool operator==(const RegValue&) const = default;
};

// A line of the store file that does not make it into the store.
struct RegSkippedLine {
    int number;                          // from 1; a value continued over lines: its first
    std::optional<std::u16string> text;  // null when the line is not UTF-8 text

    bool operator==(const RegSkippedLine&) const = default;
};

class RegistryKey;  // a node of the tree; owned by the store

class RegistryStore {
  public:
    // $XDG_CONFIG_HOME/kvadrel/registry.reg, or ~/.config/kvadrel/registry.reg.
    static std::filesystem::path UserStorePath();

    // Loads the file (a missing file is an empty store). Lines that cannot be
    // parsed are skipped; the next Close() that writes keeps the original
    // file as <file>.bad-YYYYMMDD-HHMMSS first (BackupFile()). A file that
    // exists but cannot be read gives an empty store (ReadError()) whose
    // Close() throws rather than replace it.
    explicit RegistryStore(std::filesystem::path file);
    ~RegistryStore();
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    // Opens the key at a path such as "\Vestrakon\Delta\Type\Name", creating
    // every missing key on the way. A leading "\" is optional. Returns null
    // when the path cannot name a key (an empty component, a component longer
    // than 255 characters or holding a NUL, a line break or an unpaired
    // surrogate, more than 512 levels); "" and "\" open the root itself. The
    // key stays valid until it or a parent is deleted or the store is destroyed.
    RegistryKey* CreateKey(std::u16string_view path);

    // Names of the sub-keys, in ascending order of their upper-cased form
    // compared code unit by code unit (the registry's enumeration order).
    std::vector<std::u16string> SubKeyNames(const RegistryKey& key) const;

    // Value names compare case-insensitively.
    std::optional<RegValue> QueryValue(const RegistryKey& key, std::u16string_view name) const;

    // Return false when the value cannot be stored (data longer than the
    // registry allows for one value: 1 MiB; a name longer than 16383 code
    // units or holding a NUL, a line break or an unpaired surrogate). "" names
    // the key's default value.
    bool SetString(RegistryKey& key, std::u16string_view name, std::u16string_view text);
    bool SetDWord(RegistryKey& key, std::u16string_view name, uint32_t value);

    // Deletes the key at a path with all its sub-keys; a missing key is no
    // failure. The root is never deleted.
    void DeleteTree(std::u16string_view path);

    // Writes the file when anything changed since it was loaded. Throws
    // std::runtime_error naming the file and the reason when it cannot; the
    // file on disk is then the old one.
    void Close();

    // The text of the store in the export format (what Close() writes).
    std::string Serialize() const;

    // The lines of the loaded file that could not be parsed, counting also
    // the keys of roots other than HKEY_CURRENT_USER with their values.
    const std::vector<RegSkippedLine>& SkippedLines() const;

    // Why the file could not be read; empty when it was read or is missing.
    const std::string& ReadError() const;

    // Where Close() kept the original of a file with skipped lines; empty
    // while no copy was made.
    const std::filesystem::path& BackupFile() const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
