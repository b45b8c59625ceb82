#include "engine/format_steps.h"

#include <array>
#include <stdexcept>
#include <string>
#include <tuple>
#include <utility>

#include "config/transport_format.h"
#include "engine/delta.h"

TFormatSteps::TFormatSteps(TDelta& worker, const TDD& type) : worker_(worker), type_(type) {
    // The worker's steps of each format, in the order of their Codec.
    constexpr std::array<std::pair<TDecodeStep, TFillStep>, 2> kSteps{{
        {&TDelta::DecodeCoded, &TDelta::ConvertCoded},
        {&TDelta::DecodeMoscow, &TDelta::ConvertMoscow},
    }};
    static_assert(kSteps.size() == kTransportFormatCount);
    if (!TransportFormatOf(type.Codec).IsFormat()) {
        throw std::invalid_argument("Codec " + std::to_string(type.Codec) +
                                    " names no transport format");
    }
    std::tie(decode_, fill_) = kSteps[size_t(type.Codec)];
}

void TFormatSteps::Decode(platform::LineList& lines) const {
    (worker_.*decode_)(lines, type_.Ident);
}

void TFormatSteps::Fill(TTable& table, const platform::LineList& lines) const {
    (worker_.*fill_)(table, lines, type_);
}
