#include "config/store_load.h"

namespace {

constexpr size_t kNumbersShown = 10;

}  // namespace

std::vector<std::string> TStoreLoad::Problems() const {
    std::vector<std::string> problems;
    if (!ReadError.empty()) {
        problems.push_back("the configuration cannot be read (" + ReadError +
                           "): no update type is loaded");
    }
    if (!SkippedLines.empty()) {
        std::string numbers;
        for (size_t i = 0; i < SkippedLines.size() && i < kNumbersShown; ++i) {
            numbers += (i == 0 ? "" : ", ") + std::to_string(SkippedLines[i].number);
        }
        if (SkippedLines.size() > kNumbersShown) {
            numbers += ", ...";
        }
        const bool one = SkippedLines.size() == 1;
        problems.push_back(
            std::to_string(SkippedLines.size()) +
            (one ? " line could not be read and is" : " lines could not be read and are") +
            " left out of the configuration (" + (one ? "line " : "lines ") + numbers +
            "); the next save keeps the file as it is now in " + File.string() +
            ".bad-<date>-<time>");
    }
    return problems;
}
