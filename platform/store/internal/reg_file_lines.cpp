#include "platform/store/internal/reg_file_lines.h"

#include "platform/text/codepage.h"

namespace platform {
namespace {

void DropCarriageReturn(std::u16string& line) {
    if (line.ends_with(u'\r')) {
        line.pop_back();
    }
}

RegFileLines DecodeUtf16Le(std::string_view bytes) {
    RegFileLines decoded;
    decoded.strayByte = bytes.size() % 2 != 0;
    std::u16string line;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto unit = char16_t(uint8_t(bytes[i]) | uint8_t(bytes[i + 1]) << 8);
        if (unit == u'\n') {
            DropCarriageReturn(line);
            decoded.lines.emplace_back(std::move(line));
            line.clear();
        } else {
            line += unit;
        }
    }
    DropCarriageReturn(line);
    decoded.lines.emplace_back(std::move(line));
    return decoded;
}

RegFileLines DecodeUtf8(std::string_view bytes) {
    RegFileLines decoded;
    for (;;) {
        const size_t end = bytes.find('\n');
        auto line = bytes.substr(0, end);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        auto text = Utf8ToUtf16(line);
        if (Utf16ToUtf8(text) == line) {
            decoded.lines.emplace_back(std::move(text));
        } else {
            decoded.lines.emplace_back(std::nullopt);
        }
        if (end == std::string_view::npos) {
            return decoded;
        }
        bytes.remove_prefix(end + 1);
    }
}

}  // namespace

RegFileLines SplitRegFileLines(std::string_view bytes) {
    if (bytes.starts_with("\xFF\xFE")) {
        return DecodeUtf16Le(bytes.substr(2));
    }
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        bytes.remove_prefix(3);
    }
    return DecodeUtf8(bytes);
}

}  // namespace platform
