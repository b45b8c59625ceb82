#include "engine/format_steps.h"

#include <stdexcept>
#include <string>

#include "config/transport_format.h"
#include "engine/delta.h"

TFormatSteps::TFormatSteps(TDelta& worker, const TDD& type) : worker_(worker), type_(type) {
    const auto format = TransportFormatOf(type.Codec);
    if (!format) {
        throw std::invalid_argument("Codec " + std::to_string(type.Codec) +
                                    " names no transport format");
    }
    switch (*format) {
        case TTransportFormat::NumberedCode:
            decode_ = &TDelta::DecodeCoded;
            fill_ = &TDelta::ConvertCoded;
            break;
        case TTransportFormat::MoscowRegion:
            decode_ = &TDelta::DecodeMoscow;
            fill_ = &TDelta::ConvertMoscow;
            break;
    }
}

void TFormatSteps::Decode(platform::LineList& lines) const {
    (worker_.*decode_)(lines, type_.Ident);
}

void TFormatSteps::Fill(TTable& table, const platform::LineList& lines) const {
    (worker_.*fill_)(table, lines, type_);
}
