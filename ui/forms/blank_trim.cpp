#include "ui/forms/blank_trim.h"

std::u16string TrimBlanks(std::u16string_view text) {
    size_t first = 0;
    size_t last = text.size();
    while (first < last && text[first] <= u' ') {
        ++first;
    }
    while (last > first && text[last - 1] <= u' ') {
        --last;
    }
    return std::u16string(text.substr(first, last - first));
}
