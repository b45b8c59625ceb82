#include "ui/forms/type_name_rule.h"

#include "platform/store/reg_names.h"

std::u16string TypeNameProblem(std::u16string_view name, const TDL* list, const TDD* self) {
    // What is stored: the Windows-1251 form of the name.
    const AnsiString ansi = platform::Utf16ToCp1251(name);
    const std::u16string keyName = platform::Cp1251ToUtf16(ansi);
    if (keyName.empty()) {
        return {};
    }
    if (keyName.find(u'\\') != std::u16string::npos) {
        return u"Имя не может содержать «\\»";
    }
    if (keyName.size() > platform::kMaxKeyNameLength) {
        return u"Имя длиннее 255 знаков";
    }
    if (!platform::SplitKeyPath(keyName)) {
        return u"Имя не может содержать перевод строки";
    }
    if (list != nullptr) {
        const std::u16string key = platform::RegistryNameKey(keyName);
        for (const TDD* other = list->First; other != nullptr; other = other->Next) {
            if (other != self &&
                platform::RegistryNameKey(platform::Cp1251ToUtf16(other->Name)) == key) {
                return u"Тип с таким именем уже есть";
            }
        }
    }
    return {};
}
