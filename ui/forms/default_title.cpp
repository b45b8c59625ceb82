#include "ui/forms/default_title.h"

std::u16string DefaultTitle(std::u16string_view executableFileName,
                            std::u16string (*lower)(std::u16string_view text)) {
    const std::u16string_view name = executableFileName.substr(0, executableFileName.find(u'.'));
    if (name.empty()) {
        return {};
    }
    return std::u16string(name.substr(0, 1)) + lower(name.substr(1));
}
