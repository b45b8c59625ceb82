#include "platform/store/registry_store.h"

#include <cerrno>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <system_error>

#include "platform/files/atomic_file.h"
#include "platform/files/whole_file.h"
#include "platform/store/reg_file_format.h"
#include "platform/store/reg_names.h"
#include "platform/system/local_time.h"
#include "platform/system/user_folders.h"

namespace platform {
namespace {

// Sub-keys are kept by their upper-cased names, which makes the map's order
// the enumeration order; the names themselves keep the case they came with.
class FileKey : public RegistryKey {
  public:
    explicit FileKey(std::u16string name) : name(std::move(name)) {}

    std::u16string name;
    std::map<std::u16string, std::unique_ptr<FileKey>> subKeys;
    std::vector<RegFileValue> values;             // in the order first set
    std::map<std::u16string, size_t> valueIndex;  // upper-cased name -> position in values
};

FileKey& Node(RegistryKey& key) {
    return static_cast<FileKey&>(key);
}

const FileKey& Node(const RegistryKey& key) {
    return static_cast<const FileKey&>(key);
}

constexpr size_t kMaxValueBytes = 1024 * 1024;
constexpr int kMaxBackupsPerSecond = 100;

// Returns the sub-key, creating it when `create` is set (and then setting
// `created`); null when it is missing and not to be created.
FileKey* SubKey(FileKey& key, const std::u16string& name, bool create, bool& created) {
    auto upper = RegistryNameKey(name);
    const auto found = key.subKeys.find(upper);
    if (found != key.subKeys.end()) {
        return found->second.get();
    }
    if (!create) {
        return nullptr;
    }
    created = true;
    auto& slot = key.subKeys[std::move(upper)];
    slot = std::make_unique<FileKey>(name);
    return slot.get();
}

FileKey* Walk(FileKey& root, const std::vector<std::u16string>& names, bool create, bool& created) {
    FileKey* key = &root;
    for (const auto& name : names) {
        key = SubKey(*key, name, create, created);
        if (key == nullptr) {
            return nullptr;
        }
    }
    return key;
}

// Returns true when the key's data changed. A new name goes to the end; an
// existing one keeps its place and the case it was first written with.
bool Assign(FileKey& key, std::u16string_view name, RegValue value) {
    const auto [index, added] =
        key.valueIndex.try_emplace(RegistryNameKey(name), key.values.size());
    if (added) {
        key.values.push_back({std::u16string(name), std::move(value)});
        return true;
    }
    RegValue& stored = key.values[index->second].value;
    if (stored == value) {
        return false;
    }
    stored = std::move(value);
    return true;
}

void AppendTree(std::string& out, const FileKey& key, std::vector<std::u16string>& path) {
    if (!path.empty() || !key.values.empty()) {  // the root appears only to hold values
        AppendRegFileKey(out, path, key.values);
    }
    for (const auto& [upper, subKey] : key.subKeys) {
        path.push_back(subKey->name);
        AppendTree(out, *subKey, path);
        path.pop_back();
    }
}

std::string LocalTimeStamp() {
    const LocalTime now = CurrentLocalTime();
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%04d%02d%02d-%02d%02d%02d", now.Year, now.Month, now.Day,
                  now.Hour, now.Minute, now.Second);
    return stamp;
}

// Keeps the original as <file>.bad-YYYYMMDD-HHMMSS (with "-2", "-3"... when
// that name is taken); returns the copy's name.
std::filesystem::path WriteBackup(const std::filesystem::path& file, std::string_view original) {
    const std::string base = file.string() + ".bad-" + LocalTimeStamp();
    for (int number = 1; number <= kMaxBackupsPerSecond; ++number) {
        const auto name = number == 1 ? base : base + "-" + std::to_string(number);
        if (WriteNewFile(name, original)) {
            return name;
        }
    }
    throw std::system_error(EEXIST, std::generic_category(), "cannot create " + base);
}

}  // namespace

struct RegistryStore::Impl {
    std::filesystem::path file;
    FileKey root{u""};
    bool modified = false;
    std::vector<RegSkippedLine> skippedLines;
    bool backupDue = false;
    std::string original;   // the loaded bytes while a backup is due
    std::string readError;  // why the file could not be read; empty when it was
    std::filesystem::path backupFile;
};

RegistryStore::RegistryStore(std::filesystem::path file) : impl_(std::make_unique<Impl>()) {
    impl_->file = std::move(file);
    std::optional<std::string> bytes;
    try {
        bytes = ReadWholeFileIfPresent(impl_->file);
    } catch (const std::system_error& error) {
        impl_->readError = error.code().message();
        return;
    }
    if (!bytes) {
        return;
    }
    auto contents = ParseRegFile(*bytes);
    bool created = false;
    for (auto& key : contents.keys) {
        FileKey& node = *Walk(impl_->root, key.path, true, created);
        for (auto& value : key.values) {
            Assign(node, value.name, std::move(value.value));
        }
    }
    impl_->skippedLines = std::move(contents.skippedLines);
    if (!impl_->skippedLines.empty()) {
        impl_->backupDue = true;
        impl_->original = std::move(*bytes);
    }
}

RegistryStore::~RegistryStore() = default;

RegistryKey* RegistryStore::CreateKey(std::u16string_view path) {
    const auto names = SplitKeyPath(path);
    if (!names) {
        return nullptr;
    }
    bool created = false;
    FileKey* key = Walk(impl_->root, *names, true, created);
    impl_->modified |= created;
    return key;
}

std::vector<std::u16string> RegistryStore::SubKeyNames(const RegistryKey& key) const {
    std::vector<std::u16string> names;
    names.reserve(Node(key).subKeys.size());
    for (const auto& [upper, subKey] : Node(key).subKeys) {
        names.push_back(subKey->name);
    }
    return names;
}

std::optional<RegValue> RegistryStore::QueryValue(const RegistryKey& key,
                                                  std::u16string_view name) const {
    const FileKey& node = Node(key);
    const auto found = node.valueIndex.find(RegistryNameKey(name));
    if (found == node.valueIndex.end()) {
        return std::nullopt;
    }
    return node.values[found->second].value;
}

bool RegistryStore::SetString(RegistryKey& key, std::u16string_view name,
                              std::u16string_view text) {
    const size_t bytes = (text.size() + 1) * sizeof(char16_t);  // with the terminating NUL
    if (bytes > kMaxValueBytes || !IsValidValueName(name)) {
        return false;
    }
    RegValue value;
    value.type = uint32_t(RegType::String);
    value.text = text;
    impl_->modified |= Assign(Node(key), name, std::move(value));
    return true;
}

bool RegistryStore::SetDWord(RegistryKey& key, std::u16string_view name, uint32_t value) {
    if (!IsValidValueName(name)) {
        return false;
    }
    RegValue stored;
    stored.type = uint32_t(RegType::DWord);
    stored.dword = value;
    impl_->modified |= Assign(Node(key), name, std::move(stored));
    return true;
}

void RegistryStore::DeleteTree(std::u16string_view path) {
    auto names = SplitKeyPath(path);
    if (!names || names->empty()) {  // the root itself cannot be deleted
        return;
    }
    const auto last = RegistryNameKey(names->back());
    names->pop_back();
    bool created = false;
    if (FileKey* parent = Walk(impl_->root, *names, false, created)) {
        impl_->modified |= parent->subKeys.erase(last) > 0;
    }
}

void RegistryStore::Close() {
    Impl& impl = *impl_;
    if (!impl.modified) {
        return;
    }
    const std::string name = impl.file.string();
    if (!impl.readError.empty()) {
        // What is on disk was never seen; writing would lose it.
        throw std::runtime_error("cannot save " + name + ": the file there could not be read (" +
                                 impl.readError + "), so it is left as it is");
    }
    try {
        CreateFolders(impl.file.parent_path());
        if (impl.backupDue) {
            impl.backupFile = WriteBackup(impl.file, impl.original);
            impl.backupDue = false;
            impl.original.clear();
        }
        ReplaceFileAtomically(impl.file, Serialize());
    } catch (const std::exception& error) {
        throw std::runtime_error("cannot save " + name + ": " + error.what());
    }
    impl.modified = false;
}

std::string RegistryStore::Serialize() const {
    std::string out = RegFileHeader();
    std::vector<std::u16string> path;
    AppendTree(out, impl_->root, path);
    return out;
}

const std::vector<RegSkippedLine>& RegistryStore::SkippedLines() const {
    return impl_->skippedLines;
}

const std::string& RegistryStore::ReadError() const {
    return impl_->readError;
}

const std::filesystem::path& RegistryStore::BackupFile() const {
    return impl_->backupFile;
}

}  // namespace platform
