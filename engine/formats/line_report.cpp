#include "engine/formats/line_report.h"

namespace {

constexpr char kDecoding[] =
    "\xC4\xE5\xEA\xEE\xE4\xE8\xF0\xEE\xE2\xE0\xED\xE8\xE5 ";  // "Декодирование "
constexpr char kFilling[] =
    "\xCF\xF0\xE5\xEE\xE1\xF0\xE0\xE7\xEE\xE2\xE0\xED\xE8\xE5 ";  // "Преобразование "

}  // namespace

TLineReport::TLineReport(TFormatStep step, const TFormatContext& context, size_t count)
    : progress_(context.Progress),
      text_((step == TFormatStep::Decode ? kDecoding : kFilling) + context.FileName),
      count_(count) {}

void TLineReport::Report(size_t i) {
    const uint64_t percent = uint64_t(i) * 100 / count_;
    progress_.Report(text_, int32_t(percent));
    // The first line of a percentage p is the least i with i * 100 >= p * n.
    const auto firstOf = [this](uint64_t p) { return size_t((p * count_ + 99) / 100); };
    first_ = firstOf(percent);
    end_ = firstOf(percent + 1);
    LetGoIfWanted();
}

void TLineReport::LetGoIfWanted() {
    if (progress_.SourceWanted()) {
        throw TSourceWanted();
    }
}
