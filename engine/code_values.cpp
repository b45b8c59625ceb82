#include "engine/code_values.h"

#include <algorithm>

#include "engine/strfunc.h"

namespace {

CodeList ReadCodeList(const platform::IniText& ini, std::u16string_view key) {
    CodeList list;
    const std::u16string value = ini.ReadString(u"CodeValue", key, u"");
    SplitText(platform::Utf16ToCp1251(value), list, ';');
    return list;
}

}  // namespace

bool InCodeList(const CodeList& list, std::string_view value) {
    return std::any_of(list.begin(), list.end(),
                       [value](const AnsiString& item) { return SameText(item, value); });
}

void LoadCodeValues(const std::filesystem::path& iniFile, CodeList& kodObj, CodeList& tipZnak) {
    // Emptied first, so that a failed read leaves nothing of an earlier load.
    kodObj = CodeList();
    tipZnak = CodeList();
    LoadCodeValues(platform::IniText::Read(iniFile), kodObj, tipZnak);
}

void LoadCodeValues(const platform::IniText& ini, CodeList& kodObj, CodeList& tipZnak) {
    kodObj = ReadCodeList(ini, u"KodObj");
    tipZnak = ReadCodeList(ini, u"TipZnak");
}
