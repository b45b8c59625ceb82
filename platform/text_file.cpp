#include "platform/text_file.h"

#include <cstring>
#include <memory>
#include <string_view>

#include "platform/file_reader.h"

namespace platform {
namespace {

// Read in pieces of this size, so that a big file is never held twice (as
// bytes and as lines) at the same time.
constexpr size_t kChunkSize = 1 << 20;

// Reads through a source file, by its path or through an open one.
class SourceReader {
  public:
    explicit SourceReader(SourceFile& file) : file_(file) {}

    // Fills `buffer` up to `capacity` bytes; fewer only at the end of the file.
    size_t Fill(char* buffer, size_t capacity) {
        size_t filled = 0;
        while (filled < capacity) {
            const size_t got = file_.Read(buffer + filled, capacity - filled);
            if (got == 0) {
                break;
            }
            filled += got;
        }
        return filled;
    }

  private:
    SourceFile& file_;
};

// A file opened by its path, for reading only.
class PathSourceFile : public SourceFile {
  public:
    explicit PathSourceFile(const std::filesystem::path& file) : reader_(file) {}

    FileIdentity Identity() override { return {}; }
    bool HeldAlone() override { return false; }
    size_t Read(char* buffer, size_t capacity) override { return reader_.Fill(buffer, capacity); }

  private:
    FileReader reader_;
};

// Cuts text that arrives in pieces into lines at CR, LF and CRLF, also where
// a line or a CRLF spans two pieces.
class LineSplitter {
  public:
    explicit LineSplitter(std::vector<AnsiString>& lines) : lines_(lines) {}

    void Feed(std::string_view text) {
        const char* p = text.data();
        const char* const end = p + text.size();
        if (afterCr_ && p != end) {
            afterCr_ = false;
            if (*p == '\n') {
                ++p;
            }
        }
        const char* lf = Find(p, end, '\n');
        while (p != end) {
            if (lf < p) {
                lf = Find(p, end, '\n');
            }
            const char* const lineEnd = Find(p, lf, '\r');
            if (lineEnd == end) {
                partial_.append(p, end);
                return;
            }
            AddLine(p, lineEnd);
            p = lineEnd + 1;
            if (*lineEnd == '\r') {
                if (p == end) {
                    afterCr_ = true;
                } else if (*p == '\n') {
                    ++p;
                }
            }
        }
    }

    // The last line, when the text does not end with a break.
    void Finish() {
        if (!partial_.empty()) {
            lines_.push_back(std::move(partial_));
            partial_.clear();
        }
    }

  private:
    static const char* Find(const char* from, const char* end, char byte) {
        const void* found = std::memchr(from, byte, size_t(end - from));
        return found != nullptr ? static_cast<const char*>(found) : end;
    }

    void AddLine(const char* begin, const char* end) {
        if (partial_.empty()) {
            lines_.emplace_back(begin, end);
        } else {
            partial_.append(begin, end);
            lines_.push_back(std::move(partial_));
            partial_.clear();
        }
    }

    std::vector<AnsiString>& lines_;
    AnsiString partial_;    // the start of a line that goes on in the next piece
    bool afterCr_ = false;  // the last piece ended with CR: an LF now completes the CRLF
};

enum class Encoding { Bytes, Utf8, Utf16LE, Utf16BE };

// The encoding a byte-order mark at the start of `text` announces; removes the mark.
Encoding TakeByteOrderMark(std::string_view& text) {
    constexpr std::pair<std::string_view, Encoding> kMarks[] = {
        {"\xEF\xBB\xBF", Encoding::Utf8},
        {"\xFF\xFE", Encoding::Utf16LE},
        {"\xFE\xFF", Encoding::Utf16BE},
    };
    for (const auto& [mark, encoding] : kMarks) {
        if (text.starts_with(mark)) {
            text.remove_prefix(mark.size());
            return encoding;
        }
    }
    return Encoding::Bytes;
}

// A lone last byte becomes U+FFFD.
std::u16string Utf16Units(std::string_view bytes, Encoding encoding) {
    std::u16string units;
    units.reserve(bytes.size() / 2 + 1);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        units += encoding == Encoding::Utf16BE ? char16_t(first << 8 | second)
                                               : char16_t(second << 8 | first);
    }
    if (bytes.size() % 2 != 0) {
        units += u'\uFFFD';
    }
    return units;
}

}  // namespace

std::vector<AnsiString> ReadTextLines(const std::filesystem::path& file) {
    PathSourceFile source(file);
    return ReadTextLines(source);
}

std::vector<AnsiString> ReadTextLines(SourceFile& file) {
    SourceReader reader(file);
    const auto chunk = std::make_unique_for_overwrite<char[]>(kChunkSize);
    std::string_view text(chunk.get(), reader.Fill(chunk.get(), kChunkSize));
    const Encoding encoding = TakeByteOrderMark(text);

    std::vector<AnsiString> lines;
    LineSplitter splitter(lines);
    if (encoding == Encoding::Utf16LE || encoding == Encoding::Utf16BE) {
        // CR and LF bytes occur inside other UTF-16 characters: convert first.
        std::string bytes(text);
        while (const size_t size = reader.Fill(chunk.get(), kChunkSize)) {
            bytes.append(chunk.get(), size);
        }
        splitter.Feed(Utf16ToCp1251(Utf16Units(bytes, encoding)));
    } else {
        // UTF-8 never has CR or LF bytes inside a character: split, then convert.
        splitter.Feed(text);
        while (const size_t size = reader.Fill(chunk.get(), kChunkSize)) {
            splitter.Feed({chunk.get(), size});
        }
    }
    splitter.Finish();
    if (encoding == Encoding::Utf8) {
        for (AnsiString& line : lines) {
            line = Utf8ToCp1251(line);
        }
    }
    return lines;
}

}  // namespace platform
