#include "engine/code_values.h"

#include <algorithm>

#include "engine/strfunc.h"
#include "platform/ini_file.h"

namespace {

// The items of one key; `cut` tells whether the value filled the read limit.
CodeList ReadCodeList(const std::filesystem::path& iniFile, std::u16string_view key, bool& cut) {
    CodeList list;
    const std::u16string value = platform::ReadIniString(iniFile, u"CodeValue", key, u"");
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
    TCodeValuesCut cut;
    kodObj = ReadCodeList(iniFile, u"KodObj", cut.KodObj);
    tipZnak = ReadCodeList(iniFile, u"TipZnak", cut.TipZnak);
    return cut;
}
