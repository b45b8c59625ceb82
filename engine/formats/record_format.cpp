#include "engine/formats/record_format.h"

#include <array>
#include <stdexcept>
#include <string>

#include "config/transport_format.h"
#include "engine/formats/coded_format.h"
#include "engine/formats/moscow_format.h"

size_t FormatIndexOf(int32_t codec) {
    if (!TransportFormatOf(codec).IsFormat()) {
        throw std::invalid_argument("Codec " + std::to_string(codec) +
                                    " names no transport format");
    }
    return size_t(codec);
}

const TRecordFormat& RecordFormatOf(int32_t codec) {
    static const TCodedFormat coded;
    static const TMoscowFormat moscow;
    // In the order of their Codec.
    static constexpr std::array<const TRecordFormat*, 2> formats = {&coded, &moscow};
    static_assert(formats.size() == kTransportFormatCount);
    return *formats[FormatIndexOf(codec)];
}
