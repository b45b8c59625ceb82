// The INI reader and what the converter takes from the code-value file: the
// code lists of special products and the Moscow-region constants, which then
// build the unscrambling tables for every possible first byte of a line.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/formats/code_values.h"
#include "engine/formats/moscow_scramble.h"
#include "fuzz/fuzz_check.h"
#include "platform/store/ini_file.h"

namespace {

void CheckValue(const std::u16string& value) {
    FuzzCheck(value.size() <= platform::kIniValueLimit, "a value is cut at the read limit");
    FuzzCheck(value.find_first_of(u"\r\n") == std::u16string::npos,
              "a value never holds a line break");
}

void CheckList(const CodeList& list) {
    for (const AnsiString& item : list) {
        FuzzCheck(InCodeList(list, item), "every item of a code list matches itself");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const platform::IniText ini(FuzzBytes(data, size));
    // A section and key outside ASCII, whose case the reader folds too.
    CheckValue(ini.ReadString(u"Раздел", u"Ключ", u""));
    CheckValue(ini.ReadString(u"CodeValue", u"KodObj", u""));

    CodeList kodObj;
    CodeList tipZnak;
    LoadCodeValues(ini, kodObj, tipZnak);
    CheckList(kodObj);
    CheckList(tipZnak);

    std::vector<std::string> ignored;
    const TMoscowConstants constants = TMoscowConstants::Load(ini, ignored);
    FuzzCheck(ignored.size() <= 5, "at most one value ignored for each of the five keys");
    FuzzCheck(constants.KeyDivisor != 0, "the line key's divisor is never zero");
    TMoscowUnscrambler unscrambler(constants);
    for (int first = 0; first < 256; ++first) {
        char block[kMoscowBlock] = {char(first), 'a', 'b', 'c', 'd', 'e', 'f', 'g'};
        TMoscowUnscrambler::Unscramble(unscrambler.ForLine(char(first)), block);
    }
    return 0;
}
