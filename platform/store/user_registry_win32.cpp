// The user's store on Windows: the registry under HKEY_CURRENT_USER itself,
// so a configuration that operators already have is used as it stands.
#include <windows.h>

#include <algorithm>
#include <vector>

#include "platform/store/reg_names.h"
#include "platform/store/registry_store.h"

namespace platform {
namespace {

std::wstring Wide(std::u16string_view text) {
    return std::wstring(text.begin(), text.end());
}

// The sub-key path below HKEY_CURRENT_USER, without the leading "\", which
// the registry calls refuse; null when the path cannot name a key.
std::optional<std::wstring> SubKeyPath(std::u16string_view path) {
    const auto names = SplitKeyPath(path);
    if (!names) {
        return std::nullopt;
    }
    std::wstring joined;
    for (const auto& name : *names) {
        if (!joined.empty()) {
            joined += L'\\';
        }
        joined += Wide(name);
    }
    return joined;
}

class OpenKey : public RegistryKey {
  public:
    explicit OpenKey(HKEY handle) : handle(handle) {}
    ~OpenKey() override { ::RegCloseKey(handle); }
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;

    const HKEY handle;
};

HKEY Handle(const RegistryKey& key) {
    return static_cast<const OpenKey&>(key).handle;
}

// The names of the sub-keys of an open key, in the order the registry gives them.
std::vector<std::u16string> EnumerateSubKeys(HKEY key) {
    DWORD count = 0;
    DWORD longest = 0;
    if (::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr,
                           nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
        return {};
    }
    std::vector<std::u16string> names;
    std::vector<wchar_t> buffer(std::max<DWORD>(longest, 255) + 1);
    for (DWORD index = 0;; ++index) {
        auto length = DWORD(buffer.size());
        const LONG result =
            ::RegEnumKeyExW(key, index, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr);
        if (result == ERROR_MORE_DATA) {
            buffer.resize(buffer.size() * 2);
            --index;
            continue;
        }
        if (result != ERROR_SUCCESS) {
            return names;  // ERROR_NO_MORE_ITEMS, or the key is gone
        }
        names.emplace_back(buffer.data(), buffer.data() + length);
    }
}

// Deletes the sub-key `name` of `parent` and all below it, deepest first.
void DeleteSubTree(HKEY parent, const std::wstring& name) {
    HKEY key = nullptr;
    if (::RegOpenKeyExW(parent, name.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS) {
        return;  // missing: nothing to delete
    }
    for (const auto& child : EnumerateSubKeys(key)) {
        DeleteSubTree(key, Wide(child));
    }
    ::RegCloseKey(key);
    ::RegDeleteKeyW(parent, name.c_str());
}

class SystemRegistry : public Registry {
  public:
    RegistryKey* CreateKey(std::u16string_view path) override {
        const auto subKey = SubKeyPath(path);
        if (!subKey) {
            return nullptr;
        }
        HKEY handle = nullptr;
        if (::RegCreateKeyExW(HKEY_CURRENT_USER, subKey->c_str(), 0, nullptr,
                              REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr, &handle,
                              nullptr) != ERROR_SUCCESS) {
            return nullptr;
        }
        keys_.push_back(std::make_unique<OpenKey>(handle));
        return keys_.back().get();
    }

    std::vector<std::u16string> SubKeyNames(const RegistryKey& key) const override {
        // The registry lists in this order already; sorting makes it a promise.
        auto names = EnumerateSubKeys(Handle(key));
        std::stable_sort(names.begin(), names.end(), [](const auto& a, const auto& b) {
            return RegistryNameKey(a) < RegistryNameKey(b);
        });
        return names;
    }

    std::optional<RegValue> QueryValue(const RegistryKey& key,
                                       std::u16string_view name) const override {
        const std::wstring valueName = Wide(name);
        DWORD type = 0;
        std::vector<BYTE> data(64);
        for (;;) {
            auto size = DWORD(data.size());
            const LONG result = ::RegQueryValueExW(Handle(key), valueName.c_str(), nullptr, &type,
                                                   data.data(), &size);
            if (result == ERROR_MORE_DATA) {
                data.resize(size);
                continue;
            }
            if (result != ERROR_SUCCESS) {
                return std::nullopt;  // missing, or unreadable
            }
            data.resize(size);
            return Decode(type, data);
        }
    }

    bool SetString(RegistryKey& key, std::u16string_view name, std::u16string_view text) override {
        std::wstring data = Wide(text);
        const auto bytes = DWORD((data.size() + 1) * sizeof(wchar_t));  // with the closing NUL
        return ::RegSetValueExW(Handle(key), Wide(name).c_str(), 0, REG_SZ,
                                reinterpret_cast<const BYTE*>(data.c_str()),
                                bytes) == ERROR_SUCCESS;
    }

    bool SetDWord(RegistryKey& key, std::u16string_view name, uint32_t value) override {
        const DWORD data = value;
        return ::RegSetValueExW(Handle(key), Wide(name).c_str(), 0, REG_DWORD,
                                reinterpret_cast<const BYTE*>(&data), sizeof data) == ERROR_SUCCESS;
    }

    void DeleteTree(std::u16string_view path) override {
        const auto subKey = SubKeyPath(path);
        if (subKey && !subKey->empty()) {  // the root itself is never deleted
            DeleteSubTree(HKEY_CURRENT_USER, *subKey);
        }
    }

    // The registry keeps every change as it is made; closing only lets go of the keys.
    void Close() override { keys_.clear(); }

    // No file of ours lies behind the registry: nothing is skipped or kept.
    const std::vector<RegSkippedLine>& SkippedLines() const override { return noLines_; }
    const std::string& ReadError() const override { return noError_; }
    const std::filesystem::path& BackupFile() const override { return noBackup_; }

  private:
    static RegValue Decode(DWORD type, const std::vector<BYTE>& data) {
        RegValue value;
        value.type = type;
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            for (size_t i = 0; i + 1 < data.size(); i += 2) {
                value.text += char16_t(data[i] | data[i + 1] << 8);
            }
            while (!value.text.empty() && value.text.back() == u'\0') {
                value.text.pop_back();  // the closing NUL, when the data has one
            }
        } else if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
            value.dword = DWORD(data[0] | data[1] << 8 | data[2] << 16 | DWORD(data[3]) << 24);
        } else {
            // Also a DWORD of the wrong length: no read takes it for a number.
            value.type = type == REG_DWORD ? REG_BINARY : type;
            value.bytes = data;
        }
        return value;
    }

    std::vector<std::unique_ptr<OpenKey>> keys_;  // every key opened, closed with the store
    const std::vector<RegSkippedLine> noLines_;
    const std::string noError_;
    const std::filesystem::path noBackup_;
};

}  // namespace

std::filesystem::path UserStorePath() {
    return {};
}

std::unique_ptr<Registry> OpenRegistry(const std::filesystem::path& file) {
    if (file.empty()) {
        return std::make_unique<SystemRegistry>();
    }
    return std::make_unique<RegistryStore>(file);
}

}  // namespace platform
