#include "platform/ini_file.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>
#include <system_error>

#include "platform/codepage.h"
#include "platform/text_lines.h"

namespace platform {
namespace {

// The whole file, or nothing when it does not exist.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& file) {
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT || errno == ENOTDIR) {
            return std::nullopt;
        }
        throw std::system_error(errno, std::generic_category(), "cannot open " + file.string());
    }
    std::string bytes;
    std::array<char, 65536> buffer;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            const int error = errno;
            ::close(fd);
            throw std::system_error(error, std::generic_category(), "cannot read " + file.string());
        }
        if (got == 0) {
            break;
        }
        bytes.append(buffer.data(), size_t(got));
    }
    ::close(fd);
    return bytes;
}

std::u16string DecodeUtf16Le(std::string_view bytes) {
    std::u16string text(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < text.size(); ++i) {
        const auto low = static_cast<unsigned char>(bytes[2 * i]);
        const auto high = static_cast<unsigned char>(bytes[2 * i + 1]);
        text[i] = char16_t(low | (high << 8));
    }
    return text;
}

std::u16string DecodeText(std::string_view bytes) {
    constexpr std::string_view kUtf16LeBom = "\xFF\xFE";
    constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
    if (bytes.starts_with(kUtf16LeBom)) {
        return DecodeUtf16Le(bytes.substr(kUtf16LeBom.size()));
    }
    if (bytes.starts_with(kUtf8Bom)) {
        return Utf8ToUtf16(bytes.substr(kUtf8Bom.size()));
    }
    // Text that is valid UTF-8 survives the round trip unchanged; any invalid
    // sequence would come back as U+FFFD and differ.
    std::u16string text = Utf8ToUtf16(bytes);
    return Utf16ToUtf8(text) == bytes ? text : Cp1251ToUtf16(bytes);
}

std::u16string_view TrimBlanks(std::u16string_view text) {
    const auto first = text.find_first_not_of(u" \t");
    if (first == std::u16string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(u" \t") - first + 1);
}

std::u16string_view Unquote(std::u16string_view value) {
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// Upper case of a character by the one case rule of the system, that of
// Windows-1251; a character outside that code page compares as it is.
char16_t UpperCase(char16_t c) {
    const AnsiString narrow = Utf16ToCp1251(std::u16string_view(&c, 1));
    if (narrow[0] == '?' && c != u'?') {
        return c;
    }
    return Cp1251ToUtf16(std::string(1, UpperCase1251(narrow[0])))[0];
}

bool SameName(std::u16string_view a, std::u16string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return UpperCase(x) == UpperCase(y); });
}

}  // namespace

std::u16string ReadIniString(const std::filesystem::path& file, std::u16string_view section,
                             std::u16string_view key, std::u16string_view defaultValue) {
    const std::optional<std::string> bytes = ReadFileBytes(file);
    if (!bytes) {
        return std::u16string(defaultValue);
    }
    const std::u16string decoded = DecodeText(*bytes);
    const std::u16string_view text = decoded;
    bool inSection = false;
    for (size_t pos = 0; pos < text.size();) {
        const std::u16string_view line = TrimBlanks(NextLine(text, pos));
        if (line.empty() || line.front() == u';') {
            continue;
        }
        if (line.front() == u'[') {
            const std::u16string_view name =
                line.substr(1, line.find(u']') - 1);  // no ']': to the end
            inSection = SameName(TrimBlanks(name), section);
            continue;
        }
        const size_t equals = line.find(u'=');
        if (inSection && equals != std::u16string_view::npos &&
            SameName(TrimBlanks(line.substr(0, equals)), key)) {
            return std::u16string(
                Unquote(TrimBlanks(line.substr(equals + 1))).substr(0, kIniValueLimit));
        }
    }
    return std::u16string(defaultValue);
}

}  // namespace platform
