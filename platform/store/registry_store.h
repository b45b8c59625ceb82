// The per-user hierarchical key-value store under HKEY_CURRENT_USER: the
// Windows registry itself on Windows; elsewhere RegistryStore, one text file
// in the format the Windows registry editor exports.
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

// An open key; owned by the store that gave it.
class RegistryKey {
  public:
    virtual ~RegistryKey() = default;

  protected:
    RegistryKey() = default;
};

// The operations on the store, the same on every system.
class Registry {
  public:
    virtual ~Registry() = default;

    // Opens the key at a path such as "\Vestrakon\Delta\Type\Name", creating
    // every missing key on the way. A leading "\" is optional. Returns null
    // when the key cannot be opened or the path cannot name a key (an empty
    // component, a component longer than 255 characters or holding a NUL, a
    // line break or an unpaired surrogate, more than 512 levels); "" and "\"
    // open the root itself. The key stays valid until it or a parent is
    // deleted or the store is closed or destroyed.
    virtual RegistryKey* CreateKey(std::u16string_view path) = 0;

    // Names of the sub-keys, in ascending order of their upper-cased form
    // compared code unit by code unit (the registry's enumeration order).
    virtual std::vector<std::u16string> SubKeyNames(const RegistryKey& key) const = 0;

    // Value names compare case-insensitively. Null when the value is missing
    // or cannot be read.
    virtual std::optional<RegValue> QueryValue(const RegistryKey& key,
                                               std::u16string_view name) const = 0;

    // Return false when the value cannot be stored. "" names the key's
    // default value.
    virtual bool SetString(RegistryKey& key, std::u16string_view name,
                           std::u16string_view text) = 0;
    virtual bool SetDWord(RegistryKey& key, std::u16string_view name, uint32_t value) = 0;

    // Deletes the key at a path with all its sub-keys; a missing key is no
    // failure. The root is never deleted.
    virtual void DeleteTree(std::u16string_view path) = 0;

    // Ends the work on the store: what was changed is kept for good. Throws
    // std::runtime_error naming the store and the reason when it cannot be.
    virtual void Close() = 0;

    // What the store's file showed when it was loaded: the lines that could
    // not be parsed (counting also the keys of roots other than
    // HKEY_CURRENT_USER with their values), and why it could not be read
    // (empty when it was read or is missing). The system registry has no file
    // and reports neither.
    virtual const std::vector<RegSkippedLine>& SkippedLines() const = 0;
    virtual const std::string& ReadError() const = 0;

    // Where Close() kept the original of a file with skipped lines; empty
    // while no copy was made, and always for the system registry.
    virtual const std::filesystem::path& BackupFile() const = 0;
};

// The file that holds the user's store: $XDG_CONFIG_HOME/kvadrel/registry.reg,
// or ~/.config/kvadrel/registry.reg. Empty on Windows, where the user's store
// is the system registry.
std::filesystem::path UserStorePath();

// The store a path names: the store file `file`, or the user's own store when
// `file` is empty (see UserStorePath).
std::unique_ptr<Registry> OpenRegistry(const std::filesystem::path& file);

class RegistryStore : public Registry {
  public:
    // $XDG_CONFIG_HOME/kvadrel/registry.reg, or ~/.config/kvadrel/registry.reg.
    static std::filesystem::path UserStorePath() { return platform::UserStorePath(); }

    // Loads the file (a missing file is an empty store). Lines that cannot be
    // parsed are skipped; the next Close() that writes keeps the original
    // file as <file>.bad-YYYYMMDD-HHMMSS first (BackupFile()). A file that
    // exists but cannot be read gives an empty store (ReadError()) whose
    // Close() throws rather than replace it.
    explicit RegistryStore(std::filesystem::path file);
    ~RegistryStore() override;
    RegistryStore(const RegistryStore&) = delete;
    RegistryStore& operator=(const RegistryStore&) = delete;

    RegistryKey* CreateKey(std::u16string_view path) override;
    std::vector<std::u16string> SubKeyNames(const RegistryKey& key) const override;
    std::optional<RegValue> QueryValue(const RegistryKey& key,
                                       std::u16string_view name) const override;

    // Return false also for data longer than the registry allows for one
    // value (1 MiB), or a name longer than 16383 code units or holding a NUL,
    // a line break or an unpaired surrogate.
    bool SetString(RegistryKey& key, std::u16string_view name, std::u16string_view text) override;
    bool SetDWord(RegistryKey& key, std::u16string_view name, uint32_t value) override;

    void DeleteTree(std::u16string_view path) override;

    // Writes the file when anything changed since it was loaded. Throws
    // std::runtime_error naming the file and the reason when it cannot; the
    // file on disk is then the old one.
    void Close() override;

    // The text of the store in the export format (what Close() writes).
    std::string Serialize() const;

    const std::vector<RegSkippedLine>& SkippedLines() const override;
    const std::string& ReadError() const override;
    const std::filesystem::path& BackupFile() const override;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace platform
