// TDL::Load and TDL::Save: the configuration's layout in the per-user store.
#include <stdexcept>

#include "config/descriptors.h"
#include "platform/store/registry_store.h"

using platform::Registry;
using platform::RegistryKey;
using platform::RegType;

namespace {

const std::u16string kConfigurationKey = u"\\Vestrakon\\Delta\\Type";
constexpr int kFirstFieldNumber = 100;

// Reads the values of one key in order; the first failed read ends the key
// (later reads do nothing and the members keep their defaults).
class KeyReader {
  public:
    KeyReader(const Registry& store, const RegistryKey& key) : store_(store), key_(key) {}

    // A missing string reads as empty and is no failure.
    void String(std::u16string_view name, std::u16string& member) {
        if (failed_) {
            return;
        }
        const auto value = store_.QueryValue(key_, name);
        if (!value) {
            member.clear();
        } else if (value->type == uint32_t(RegType::String) ||
                   value->type == uint32_t(RegType::ExpandString)) {
            member = value->text;
        } else {
            failed_ = true;
        }
    }

    void String(std::u16string_view name, AnsiString& member) {
        std::u16string text;
        String(name, text);
        if (!failed_) {
            member = platform::Utf16ToCp1251(text);
        }
    }

    // A missing or non-DWORD value is a failed read.
    void Integer(std::u16string_view name, int32_t& member) {
        if (failed_) {
            return;
        }
        const auto value = store_.QueryValue(key_, name);
        if (value && value->type == uint32_t(RegType::DWord)) {
            member = int32_t(value->dword);
        } else {
            failed_ = true;
        }
    }

    void Boolean(std::u16string_view name, bool& member) {
        int32_t value = 0;
        Integer(name, value);
        if (!failed_) {
            member = value != 0;
        }
    }

  private:
    const Registry& store_;
    const RegistryKey& key_;
    bool failed_ = false;
};

class KeyWriter {
  public:
    KeyWriter(Registry& store, RegistryKey& key) : store_(store), key_(key) {}

    void String(std::u16string_view name, std::u16string_view text) {
        Check(name, store_.SetString(key_, name, text));
    }
    void String(std::u16string_view name, const AnsiString& text) {
        String(name, platform::Cp1251ToUtf16(text));
    }
    void Integer(std::u16string_view name, int32_t value) {
        Check(name, store_.SetDWord(key_, name, uint32_t(value)));
    }
    void Boolean(std::u16string_view name, bool value) { Integer(name, value ? 1 : 0); }

  private:
    static void Check(std::u16string_view name, bool written) {
        if (!written) {
            throw std::runtime_error("Failed to set data for '" + platform::Utf16ToUtf8(name) +
                                     "'");
        }
    }

    Registry& store_;
    RegistryKey& key_;
};

// The values of an update type's key and of a field's key, in the order in
// which they are written and read; `Type` and `Field` are const when saving.
template <class Type, class Access>
void TypeValues(Type& type, Access& access) {
    access.Integer(u"Codec", type.Codec);
    access.String(u"Ident", type.Ident);
    access.String(u"From", type.From);
    access.String(u"To", type.To);
    access.String(u"Mask", type.Mask);
    access.Boolean(u"SpecProd", type.SpecProd);
    access.String(u"Beg", type.Beg);
    access.String(u"End", type.End);
    access.String(u"Ceria", type.Ceria);
    access.String(u"KodObj", type.KodObj);
    access.String(u"TipZnak", type.TipZnak);
}

template <class Field, class Access>
void FieldValues(Field& field, Access& access) {
    access.String(u"Name", field.Name);
    access.Integer(u"Size", field.Size);
    access.Integer(u"Code", field.Code);
    access.Integer(u"ACode", field.ACode);
}

void LoadField(TDD& type, const Registry& store, const RegistryKey& key) {
    KeyReader read(store, key);
    FieldValues(*type.Add("", 10, 1, 1), read);
}

void LoadType(TDL& list, Registry& store, const std::u16string& name) {
    const std::u16string path = kConfigurationKey + u"\\" + name;
    RegistryKey* key = store.CreateKey(path);
    if (key == nullptr) {
        return;
    }
    TDD& type = *list.Add(platform::Utf16ToCp1251(name), -1, "");
    KeyReader read(store, *key);
    TypeValues(type, read);
    for (const auto& fieldName : store.SubKeyNames(*key)) {
        if (RegistryKey* fieldKey = store.CreateKey(path + u"\\" + fieldName)) {
            LoadField(type, store, *fieldKey);
        }
    }
}

void SaveType(const TDD& type, Registry& store) {
    const std::u16string path = kConfigurationKey + u"\\" + platform::Cp1251ToUtf16(type.Name);
    RegistryKey* key = store.CreateKey(path);
    if (key == nullptr) {
        return;
    }
    KeyWriter write(store, *key);
    TypeValues(type, write);
    int number = kFirstFieldNumber;
    for (const TDF* field = type.First; field != nullptr; field = field->Next, ++number) {
        const auto numberText = std::to_string(number);
        RegistryKey* fieldKey =
            store.CreateKey(path + u"\\" + std::u16string(numberText.begin(), numberText.end()));
        if (fieldKey == nullptr) {
            continue;
        }
        KeyWriter writeField(store, *fieldKey);
        FieldValues(*field, writeField);
    }
}

}  // namespace

TStoreLoad TDL::Load() {
    return Load(platform::UserStorePath());
}

TStoreLoad TDL::Load(const std::filesystem::path& storeFile) {
    const auto opened = platform::OpenRegistry(storeFile);
    Registry& store = *opened;
    TStoreLoad found{storeFile, store.ReadError(), store.SkippedLines(), ""};
    RegistryKey* key = store.CreateKey(kConfigurationKey);
    if (key == nullptr) {
        return found;
    }
    KeyReader(store, *key).Boolean(u"AutoRun", AutoRun);
    for (const auto& name : store.SubKeyNames(*key)) {
        LoadType(*this, store, name);
    }
    if (!found.ReadError.empty() || !found.SkippedLines.empty()) {
        return found;  // only a save, which keeps a copy first, replaces a damaged file
    }
    try {
        store.Close();  // keeps the configuration key that the load created
    } catch (const std::exception& error) {
        found.CloseError = error.what();  // no failure of the load, which has all there is
    }
    return found;
}

TStoreSave TDL::Save() const {
    return Save(platform::UserStorePath());
}

// The store file is worked on in memory and written only when everything is
// in place: a failure leaves the previous configuration on disk. The Windows
// registry takes each change as it is made.
TStoreSave TDL::Save(const std::filesystem::path& storeFile) const {
    const auto opened = platform::OpenRegistry(storeFile);
    Registry& store = *opened;
    store.DeleteTree(kConfigurationKey);
    RegistryKey* key = store.CreateKey(kConfigurationKey);
    if (key == nullptr) {
        throw std::runtime_error("cannot open the configuration key");
    }
    KeyWriter(store, *key).Boolean(u"AutoRun", AutoRun);
    for (const TDD* type = First; type != nullptr; type = type->Next) {
        SaveType(*type, store);
    }
    store.Close();
    return {storeFile, store.BackupFile()};
}
