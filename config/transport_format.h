// The transport format of an update type. It is stored as the type's Codec,
// and that value is also the format's index in the type editor's list.
#pragma once

#include <cstdint>
#include <optional>

enum class TTransportFormat : int32_t {
    NumberedCode = 0,  // "/<код>=<значение>"
    MoscowRegion = 1,
};

// The format a Codec value names; none for -1 (no format chosen yet) and for
// any value no format has.
inline std::optional<TTransportFormat> TransportFormatOf(int32_t codec) {
    switch (codec) {
        case int32_t(TTransportFormat::NumberedCode):
            return TTransportFormat::NumberedCode;
        case int32_t(TTransportFormat::MoscowRegion):
            return TTransportFormat::MoscowRegion;
        default:
            return std::nullopt;
    }
}
