// The store-file parser: any bytes parse without a fault, and what it reads
// it writes back so that it reads the same again, with no line skipped: a
// save never alters what the operator's file held.
#include <cstddef>
#include <cstdint>

#include "fuzz/fuzz_check.h"
#include "platform/store/reg_file_format.h"

namespace {

bool SameKeys(const platform::RegFileContents& a, const platform::RegFileContents& b) {
    if (a.keys.size() != b.keys.size()) {
        return false;
    }
    for (size_t i = 0; i < a.keys.size(); ++i) {
        const auto& x = a.keys[i];
        const auto& y = b.keys[i];
        if (x.path != y.path || x.values.size() != y.values.size()) {
            return false;
        }
        for (size_t j = 0; j < x.values.size(); ++j) {
            if (x.values[j].name != y.values[j].name || x.values[j].value != y.values[j].value) {
                return false;
            }
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const platform::RegFileContents read = platform::ParseRegFile(FuzzBytes(data, size));
    std::string written = platform::RegFileHeader();
    for (const auto& key : read.keys) {
        platform::AppendRegFileKey(written, key.path, key.values);
    }
    const platform::RegFileContents reread = platform::ParseRegFile(written);
    FuzzCheck(reread.skippedLines.empty(), "a written store file reads back without skipped lines");
    FuzzCheck(SameKeys(read, reread), "a written store file reads back the same keys and values");
    return 0;
}
