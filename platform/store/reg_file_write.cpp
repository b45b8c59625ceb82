// Writing the store file: RegFileHeader and AppendRegFileKey.
#include "platform/store/reg_file_format.h"

#include <cstdio>

#include "platform/store/reg_names.h"
#include "platform/text/codepage.h"

namespace platform {
namespace {

constexpr size_t kWrapColumn = 77;  // where the registry editor breaks hex lists

void AppendQuoted(std::string& out, std::u16string_view text) {
    out += '"';
    for (const char c : Utf16ToUtf8(text)) {
        if (c == '\\' || c == '"') {
            out += '\\';
        }
        out += c;
    }
    out += '"';
}

void AppendHexList(std::string& out, size_t lineStart, const std::vector<uint8_t>& bytes) {
    constexpr char kDigits[] = "0123456789abcdef";
    for (size_t i = 0; i < bytes.size(); ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 0xF];
        if (i + 1 == bytes.size()) {
            break;
        }
        out += ',';
        if (out.size() - lineStart >= kWrapColumn) {
            out += "\\\n  ";
            lineStart = out.size() - 2;
        }
    }
}

std::vector<uint8_t> BytesOfText(std::u16string_view text) {
    std::vector<uint8_t> bytes;
    bytes.reserve(text.size() * 2 + 2);
    for (const char16_t unit : text) {
        bytes.push_back(uint8_t(unit));
        bytes.push_back(uint8_t(unit >> 8));
    }
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}

std::string HexPrefix(uint32_t type) {
    if (type == uint32_t(RegType::Binary)) {
        return "hex:";
    }
    char prefix[16];
    std::snprintf(prefix, sizeof prefix, "hex(%x):", type);
    return prefix;
}

void AppendValue(std::string& out, const RegFileValue& named) {
    const size_t lineStart = out.size();
    if (named.name.empty()) {
        out += '@';
    } else {
        AppendQuoted(out, named.name);
    }
    out += '=';
    const RegValue& value = named.value;
    const bool isText =
        value.type == uint32_t(RegType::String) || value.type == uint32_t(RegType::ExpandString);
    if (value.type == uint32_t(RegType::String) && FitsOnOneLine(value.text)) {
        AppendQuoted(out, value.text);
    } else if (value.type == uint32_t(RegType::DWord)) {
        char data[16];
        std::snprintf(data, sizeof data, "dword:%08x", value.dword);
        out += data;
    } else {
        out += HexPrefix(value.type);
        AppendHexList(out, lineStart, isText ? BytesOfText(value.text) : value.bytes);
    }
    out += '\n';
}

}  // namespace

std::string RegFileHeader() {
    return std::string(kRegFileHeader) + "\n";
}

void AppendRegFileKey(std::string& out, const std::vector<std::u16string>& path,
                      const std::vector<RegFileValue>& values) {
    out += "\n[";
    out += Utf16ToUtf8(kRegFileRoot);
    for (const auto& name : path) {
        out += '\\';
        out += Utf16ToUtf8(name);
    }
    out += "]\n";
    for (const auto& value : values) {
        AppendValue(out, value);
    }
}

}  // namespace platform
