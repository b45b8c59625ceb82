#include "platform/files/text_file.h"

#include <cstdint>
#include <cstring>
#include <string_view>
#include <utility>

#include "platform/files/whole_file.h"
#include "platform/text/codepage.h"

namespace platform {
namespace {

enum class Encoding { Bytes, Utf8, Utf16LE, Utf16BE };

// The encoding a byte-order mark at the start of `text` announces, and the
// mark's length.
std::pair<Encoding, size_t> ByteOrderMark(std::string_view text) {
    constexpr std::pair<std::string_view, Encoding> kMarks[] = {
        {"\xEF\xBB\xBF", Encoding::Utf8},
        {"\xFF\xFE", Encoding::Utf16LE},
        {"\xFE\xFF", Encoding::Utf16BE},
    };
    for (const auto& [mark, encoding] : kMarks) {
        if (text.starts_with(mark)) {
            return {encoding, mark.size()};
        }
    }
    return {Encoding::Bytes, 0};
}

// Converts the UTF-16 text from `from` on to Windows-1251 at the start of
// `bytes`, piece by piece, and cuts `bytes` to it. A lone last byte becomes '?'.
void Utf16ToCp1251InPlace(std::string& bytes, size_t from, Encoding encoding) {
    constexpr size_t kPieceUnits = 1 << 16;
    const size_t pairsEnd = from + (bytes.size() - from) / 2 * 2;
    std::u16string units;
    size_t read = from;
    size_t written = 0;
    while (read < pairsEnd) {
        units.clear();
        for (; read < pairsEnd && units.size() < kPieceUnits; read += 2) {
            const auto first = static_cast<unsigned char>(bytes[read]);
            const auto second = static_cast<unsigned char>(bytes[read + 1]);
            units += encoding == Encoding::Utf16BE ? char16_t(first << 8 | second)
                                                   : char16_t(second << 8 | first);
        }
        // A first half of a pair waits for its second half in the next piece.
        if (read < pairsEnd && units.back() >= 0xD800 && units.back() <= 0xDBFF) {
            units.pop_back();
            read -= 2;
        }
        // One byte a character, each from at least two bytes read.
        const AnsiString text = Utf16ToCp1251(units);
        std::memcpy(bytes.data() + written, text.data(), text.size());
        written += text.size();
    }
    if (pairsEnd != bytes.size()) {
        bytes[written++] = '?';
    }
    bytes.resize(written);
}

// Whether a line ends at text[i]: an LF, or a CR that no LF follows.
bool EndsLine(std::string_view text, size_t i) {
    return text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
}

// Lines of the text, exactly: one per break, and one for text after the last.
size_t CountLines(std::string_view text) {
    // In blocks of a fixed length, which the compiler turns into vector
    // instructions: byte by byte this costs more than the cutting itself.
    constexpr size_t kBlock = 64;
    size_t lines = 0;
    size_t i = 0;
    for (; i + kBlock < text.size(); i += kBlock) {
        uint8_t inBlock = 0;
        for (size_t j = i; j < i + kBlock; ++j) {
            const int lf = text[j] == '\n';
            const int crAlone = int(text[j] == '\r') & int(text[j + 1] != '\n');
            inBlock += uint8_t(lf | crAlone);
        }
        lines += inBlock;
    }
    for (; i < text.size(); ++i) {
        lines += size_t(EndsLine(text, i));
    }
    if (!text.empty() && text.back() != '\n' && text.back() != '\r') {
        ++lines;
    }
    return lines;
}

const char* Find(const char* from, const char* end, char byte) {
    const void* found = std::memchr(from, byte, size_t(end - from));
    return found != nullptr ? static_cast<const char*>(found) : end;
}

}  // namespace

LineList SplitTextLines(std::string bytes) {
    auto [encoding, start] = ByteOrderMark(bytes);
    if (encoding == Encoding::Utf16LE || encoding == Encoding::Utf16BE) {
        // CR and LF bytes occur inside other UTF-16 characters: convert first.
        Utf16ToCp1251InPlace(bytes, start, encoding);
        start = 0;
    }
    LineList::CheckSize(bytes.size() - start);
    LineList lines;
    lines.starts_.reserve(CountLines(std::string_view(bytes).substr(start)) + 1);
    // The lines stay where they are, with their breaks. Lines converted from
    // UTF-8 move to the end of the one before, which they never pass.
    char* const data = bytes.data();
    const char* const end = data + bytes.size();
    const char* p = data + start;
    const char* lf = Find(p, end, '\n');
    size_t written = 0;
    while (p != end) {
        if (lf < p) {
            lf = Find(p, end, '\n');
        }
        const char* const lineEnd = Find(p, lf, '\r');
        const char* next = lineEnd;
        if (next != end && *next++ == '\r' && next != end && *next == '\n') {
            ++next;
        }
        if (encoding == Encoding::Utf8) {
            // UTF-8 never has CR or LF bytes inside a character: cut, then convert.
            const AnsiString line = Utf8ToCp1251(std::string_view(p, size_t(lineEnd - p)));
            std::memcpy(data + written, line.data(), line.size());
            written += line.size();
        } else {
            written = size_t(next - data);
        }
        lines.starts_.push_back(uint32_t(written));
        p = next;
    }
    bytes.resize(written);
    lines.bytes_ = std::move(bytes);
    return lines;
}

LineList ReadTextLines(const std::filesystem::path& file) {
    return SplitTextLines(ReadWholeFile(file));
}

LineList ReadTextLines(SourceFile& file) {
    return SplitTextLines(
        ReadToEnd([&file](char* buffer, size_t capacity) { return file.Read(buffer, capacity); },
                  size_t(file.Identity().Size)));
}

}  // namespace platform
