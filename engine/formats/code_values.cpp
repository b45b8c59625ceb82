#include "engine/formats/code_values.h"

#include <algorithm>

#include "engine/formats/strfunc.h"

namespace {

// The items of one key; `cut` tells whether the value filled the read limit.
CodeList ReadCodeList(const platform::IniText& ini, std::u16string_view key, bool& cut) {
    CodeList list;
    const std::u16string value = ini.ReadString(u"CodeValue", key, u"");
    cut = value.size() >= platform::kIniValueLimit;
    SplitText(platform::Utf16ToCp1251(value), list, ';');
    return list;
}

}  // namespace

bool InCodeList(const CodeList& list, std::string_view value) {
    return std::any_of(list.begin(), list.end(),
                       [value](const AnsiString& item) { return SameText(item, value); });
}

TCodeValuesCut LoadCodeValues(const std::filesystem::path& iniFile, CodeList& kodObj,
                              CodeList& tipZnak) {
    // Emptied first, so that a failed read leaves nothing of an earlier load.
    kodObj = CodeList();
    tipZnak = CodeList();
    return LoadCodeValues(platform::IniText::Read(iniFile), kodObj, tipZnak);
}

TCodeValuesCut LoadCodeValues(const platform::IniText& ini, CodeList& kodObj, CodeList& tipZnak) {
    TCodeValuesCut cut;
    kodObj = ReadCodeList(ini, u"KodObj", cut.KodObj);
    tipZnak = ReadCodeList(ini, u"TipZnak", cut.TipZnak);
    return cut;
}
