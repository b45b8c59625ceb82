#include "ui/win32/debug_note.h"

#include <windows.h>

#include "platform/text/codepage.h"
#include "ui/win32/wide_text.h"

void DebugNote(const std::string& text) {
    ::OutputDebugStringW(Wide(u"kvadrel: " + platform::Utf8ToUtf16(text)).c_str());
}
