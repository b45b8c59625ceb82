#include "platform/text/line_list.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>

namespace platform {

void LineList::CheckSize(size_t bytes) {
    if (bytes > kMaxBytes) {
        throw std::length_error("text of " + std::to_string(bytes) +
                                " bytes: more than a list of lines holds (" +
                                std::to_string(kMaxBytes) + ")");
    }
}

void LineList::Add(std::string_view line) {
    const size_t end = End() + line.size();
    CheckSize(end);
    bytes_.resize(End());
    bytes_ += line;
    starts_.push_back(uint32_t(end));
}

bool LineList::Rewrite::Next() {
    if (next_ >= lines_.size()) {
        return false;
    }
    // The start of a line reached is never overwritten before: a line kept
    // takes the start of a line already passed.
    lineStart_ = lines_.starts_[next_];
    lineEnd_ = lines_.starts_[next_ + 1];
    ++next_;
    return true;
}

void LineList::Rewrite::Keep(std::string_view text) {
    char* const bytes = lines_.bytes_.data();
    const std::less<const char*> before;
    if (!text.empty() && !before(text.data(), bytes + lineStart_) &&
        !before(bytes + lineEnd_, text.data() + text.size())) {
        // A part of the line stays where it is; the bytes between the line
        // kept before and this one become line feeds after that line.
        const auto start = size_t(text.data() - bytes);
        std::memset(bytes + written_, '\n', start - written_);
        lines_.starts_[kept_++] = uint32_t(start);
        written_ = start + text.size();
        return;
    }
    // The lines not yet reached start where the line reached ends.
    if (text.size() > lineEnd_ - written_) {
        MakeRoom(written_ + text.size() - lineEnd_);
    }
    std::memmove(lines_.bytes_.data() + written_, text.data(), text.size());
    lines_.starts_[kept_++] = uint32_t(written_);
    written_ += text.size();
}

void LineList::Rewrite::MakeRoom(size_t extra) {
    std::string& bytes = lines_.bytes_;
    const size_t end = lines_.End();
    const size_t unread = end - lineEnd_;
    LineList::CheckSize(end + extra);
    // Room for more than this line, so that lines that all grow a little
    // move the rest of the list a few times only.
    const size_t shift = std::min(std::max(extra, unread / 8), LineList::kMaxBytes - end);
    if (end + shift > bytes.capacity()) {
        // Not resize(): a string's growth doubles what it holds.
        std::string grown;
        grown.reserve(end + shift);
        grown.append(bytes, 0, end);
        bytes.swap(grown);
    }
    bytes.resize(end + shift);
    std::memmove(bytes.data() + lineEnd_ + shift, bytes.data() + lineEnd_, unread);
    for (size_t i = next_; i < lines_.starts_.size(); ++i) {
        lines_.starts_[i] += uint32_t(shift);
    }
}

void LineList::Rewrite::Finish() {
    if (finished_) {
        return;
    }
    finished_ = true;
    lines_.starts_[kept_] = uint32_t(written_);
    lines_.starts_.resize(kept_ + 1);
    lines_.bytes_.resize(written_);
}

}  // namespace platform
