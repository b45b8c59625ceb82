#include "fuzz/memory_file_system.h"

#include <algorithm>
#include <cstring>
#include <system_error>

namespace {

constexpr uint64_t kDevice = 1;

[[noreturn]] void Fail(std::errc error, const std::string& what,
                       const std::filesystem::path& path) {
    throw std::system_error(std::make_error_code(error), what + " " + path.string());
}

platform::FileIdentity IdentityOf(const MemoryFileSystem::Data& data) {
    return {kDevice, data.Inode, data.Bytes.size(), data.ModifiedNs};
}

class MemorySourceFile : public platform::SourceFile {
  public:
    explicit MemorySourceFile(std::shared_ptr<MemoryFileSystem::Data> data)
        : data_(std::move(data)) {}

    platform::FileIdentity Identity() override { return IdentityOf(*data_); }
    bool HeldAlone() override { return true; }

    size_t Read(char* buffer, size_t capacity) override {
        const size_t count =
            std::min(capacity, data_->Bytes.size() - std::min(position_, data_->Bytes.size()));
        std::memcpy(buffer, data_->Bytes.data() + position_, count);
        position_ += count;
        return count;
    }

  private:
    std::shared_ptr<MemoryFileSystem::Data> data_;
    size_t position_ = 0;
};

class MemoryWritableFile : public platform::WritableFile {
  public:
    explicit MemoryWritableFile(std::shared_ptr<MemoryFileSystem::Data> data)
        : data_(std::move(data)) {}

    void WriteAt(std::string_view bytes, uint64_t offset) override {
        std::string& file = data_->Bytes;
        if (file.size() < offset + bytes.size()) {
            file.resize(offset + bytes.size(), '\0');
        }
        file.replace(offset, bytes.size(), bytes);
        ++data_->ModifiedNs;
    }

    std::string ReadAt(size_t length, uint64_t offset) override {
        const std::string& file = data_->Bytes;
        return offset >= file.size() ? std::string() : file.substr(offset, length);
    }

    uint64_t Size() override { return data_->Bytes.size(); }

    void Truncate(uint64_t size) override {
        data_->Bytes.resize(size, '\0');
        ++data_->ModifiedNs;
    }

    void Flush() override {}
    void Close() override {}

  private:
    std::shared_ptr<MemoryFileSystem::Data> data_;
};

}  // namespace

std::string MemoryFileSystem::Key(const std::filesystem::path& path) {
    std::string key = path.lexically_normal().string();
    while (key.size() > 1 && key.back() == '/') {
        key.pop_back();
    }
    return key;
}

const MemoryFileSystem::Entry* MemoryFileSystem::Find(const std::filesystem::path& path) const {
    const auto found = entries_.find(Key(path));
    return found == entries_.end() ? nullptr : &found->second;
}

void MemoryFileSystem::RequireParent(const std::filesystem::path& path) const {
    const Entry* parent = Find(std::filesystem::path(Key(path)).parent_path());
    if (parent == nullptr || parent->data != nullptr) {
        Fail(std::errc::no_such_file_or_directory, "no folder for", path);
    }
}

std::shared_ptr<MemoryFileSystem::Data> MemoryFileSystem::NewData(std::string bytes) {
    return std::make_shared<Data>(Data{std::move(bytes), nextInode_++, ++clock_});
}

void MemoryFileSystem::MakeFolders(const std::filesystem::path& folder) {
    std::filesystem::path path;
    for (const auto& part : std::filesystem::path(Key(folder))) {
        path /= part;
        entries_.try_emplace(Key(path));
    }
}

void MemoryFileSystem::Put(const std::filesystem::path& file, std::string bytes) {
    RequireParent(file);
    entries_[Key(file)] = Entry{NewData(std::move(bytes))};
}

std::optional<std::string> MemoryFileSystem::Bytes(const std::filesystem::path& file) const {
    const Entry* entry = Find(file);
    if (entry == nullptr || entry->data == nullptr) {
        return std::nullopt;
    }
    return entry->data->Bytes;
}

std::vector<std::filesystem::path> MemoryFileSystem::ListFiles(
    const std::filesystem::path& folder) {
    std::vector<std::filesystem::path> names;
    const std::string key = Key(folder);
    for (const auto& [path, entry] : entries_) {
        const std::filesystem::path entryPath(path);
        if (entry.data != nullptr && entryPath.parent_path() == key) {
            names.push_back(entryPath.filename());
        }
    }
    return names;
}

platform::SourceOpening MemoryFileSystem::OpenSource(const std::filesystem::path& file) {
    platform::SourceOpening opening;
    const Entry* entry = Find(file);
    if (entry == nullptr) {
        opening.Refusal = platform::SourceRefusal::Missing;
    } else if (entry->data == nullptr) {
        opening.Refusal = platform::SourceRefusal::NotRegular;
    } else {
        opening.File = std::make_unique<MemorySourceFile>(entry->data);
    }
    return opening;
}

std::unique_ptr<platform::WritableFile> MemoryFileSystem::CreateNew(
    const std::filesystem::path& file) {
    RequireParent(file);
    auto [entry, added] = entries_.try_emplace(Key(file), Entry{});
    if (!added) {
        Fail(std::errc::file_exists, "cannot create", file);
    }
    entry->second.data = NewData({});
    return std::make_unique<MemoryWritableFile>(entry->second.data);
}

std::unique_ptr<platform::WritableFile> MemoryFileSystem::OpenExisting(
    const std::filesystem::path& file) {
    const Entry* entry = Find(file);
    if (entry == nullptr) {
        Fail(std::errc::no_such_file_or_directory, "cannot open", file);
    }
    if (entry->data == nullptr) {
        Fail(std::errc::is_a_directory, "cannot open", file);
    }
    return std::make_unique<MemoryWritableFile>(entry->data);
}

std::optional<platform::EntryStatus> MemoryFileSystem::Status(const std::filesystem::path& path) {
    const Entry* entry = Find(path);
    if (entry == nullptr) {
        return std::nullopt;
    }
    if (entry->data == nullptr) {
        return platform::EntryStatus{platform::EntryKind::Folder, {}};
    }
    return platform::EntryStatus{platform::EntryKind::Regular, IdentityOf(*entry->data)};
}

bool MemoryFileSystem::IsFolder(const std::filesystem::path& path) {
    const Entry* entry = Find(path);
    return entry != nullptr && entry->data == nullptr;
}

bool MemoryFileSystem::Rename(const std::filesystem::path& from, const std::filesystem::path& to) {
    const auto source = entries_.find(Key(from));
    if (source == entries_.end() || source->second.data == nullptr) {
        Fail(std::errc::no_such_file_or_directory, "cannot rename", from);
    }
    RequireParent(to);
    if (!entries_.try_emplace(Key(to), source->second).second) {
        return false;
    }
    entries_.erase(source);
    return true;
}

void MemoryFileSystem::Remove(const std::filesystem::path& file) {
    const auto found = entries_.find(Key(file));
    if (found == entries_.end()) {
        Fail(std::errc::no_such_file_or_directory, "cannot remove", file);
    }
    if (found->second.data == nullptr) {
        Fail(std::errc::is_a_directory, "cannot remove", file);
    }
    entries_.erase(found);
}

void MemoryFileSystem::FlushFolder(const std::filesystem::path& folder) {
    if (!IsFolder(folder)) {
        Fail(std::errc::no_such_file_or_directory, "cannot flush", folder);
    }
}
