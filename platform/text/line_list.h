// The lines of a text file held compactly: their bytes one after another in
// one buffer, and where each line starts. A file of short lines costs its own
// size and four bytes a line, not a string a line. A line may be followed by
// CR and LF bytes (its break, or what a rewrite left between lines), which
// are not part of it: no line ends in CR or LF.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class LineList {
  public:
    // The most bytes the lines of one list may have together.
    static constexpr size_t kMaxBytes = UINT32_MAX;

    size_t size() const { return starts_.size() - 1; }
    bool empty() const { return size() == 0; }
    std::string_view operator[](size_t i) const {
        return WithoutBreak(bytes_.data() + starts_[i], bytes_.data() + starts_[i + 1]);
    }

    // Appends a line, which must not end in CR or LF; throws
    // std::length_error past kMaxBytes.
    void Add(std::string_view line);

    // Replaces each line, first to last, by at most one new text inside the
    // buffer the lines are in: a rewrite that only shortens lines needs no
    // more memory than the list had. Lines not reached are dropped.
    class Rewrite {
      public:
        explicit Rewrite(LineList& lines) : lines_(lines) {}
        Rewrite(const Rewrite&) = delete;
        Rewrite& operator=(const Rewrite&) = delete;
        ~Rewrite() { Finish(); }

        // Moves to the next line; false after the last one.
        bool Next();
        // The line reached, to read or change in place; valid until Keep.
        std::span<char> Line() {
            char* const start = lines_.bytes_.data() + lineStart_;
            return {start, WithoutBreak(start, lines_.bytes_.data() + lineEnd_).size()};
        }
        // Keeps `text` as the new text of the line reached, once at most. The
        // text is a part of Line() or lies outside the list, may be longer
        // than the line, and must not end in CR or LF. Throws
        // std::length_error past kMaxBytes.
        void Keep(std::string_view text);
        // From now on the list holds the lines kept, in order.
        void Finish();

      private:
        // Moves the lines not yet reached at least `extra` bytes further.
        void MakeRoom(size_t extra);

        LineList& lines_;
        size_t next_ = 0;  // the line to reach next
        size_t lineStart_ = 0;
        size_t lineEnd_ = 0;
        size_t kept_ = 0;     // lines kept so far
        size_t written_ = 0;  // where the lines kept so far end
        bool finished_ = false;
    };

  private:
    friend LineList SplitTextLines(std::string bytes);

    // Throws std::length_error for lines of more than kMaxBytes together.
    static void CheckSize(size_t bytes);
    size_t End() const { return starts_.back(); }
    static std::string_view WithoutBreak(const char* start, const char* end) {
        while (end != start && (end[-1] == '\n' || end[-1] == '\r')) {
            --end;
        }
        return {start, size_t(end - start)};
    }

    std::string bytes_;                // the lines' bytes, maybe more after them
    std::vector<uint32_t> starts_{0};  // where each line starts, then where the last ends
};

}  // namespace platform
