#include "config/transport_format.h"

#include <array>

namespace {

constexpr TSpecialRoles kAllRoles{true, true, true, true, true};
// Without a format the rows that every format has are enabled.
constexpr TSpecialRoles kCommonRoles{.Beg = true, .KodObj = true};

constexpr std::array kFormats{
    TTransportFormat{
        .Codec = 0,
        .Name = "numbered-code",
        .Item = u"Транспортный формат (/<код>=<значение>)",
        .DefaultIdent = u"АМТ",
        .FieldCodeCaption = u"Шифр",
        .CodeColumn = u"Шифр",
        .EditorRoles = kAllRoles,
        .FillRoles = kAllRoles,
        .NeedsIdent = false,  // an empty identifier takes every record line
    },
    TTransportFormat{
        .Codec = 1,
        .Name = "Moscow-region",
        .Item = u"Транспортный формат (Московская область)",
        .DefaultIdent = u"R_AMT",
        .FieldCodeCaption = u"Смещение",
        .CodeColumn = u"Смещение",
        .EditorRoles = kCommonRoles,
        .FillRoles = {.KodObj = true},
        .NeedsIdent = true,  // no unscrambled line begins with an empty identifier
    },
};

static_assert(
    [] {
        for (size_t i = 0; i < kFormats.size(); ++i) {
            if (kFormats[i].Codec != int32_t(i)) {
                return false;
            }
        }
        return true;
    }(),
    "a format's Codec is its index");
static_assert(kFormats.size() == kTransportFormatCount);

constexpr TTransportFormat kNoFormat{
    .Codec = -1,
    .Name = "no",
    .Item = u"",
    .DefaultIdent = u"",
    .FieldCodeCaption = u"Шифр поля",
    .CodeColumn = u"Код",
    .EditorRoles = kCommonRoles,
    .FillRoles = {},
    .NeedsIdent = false,
};

}  // namespace

std::span<const TTransportFormat> TransportFormats() {
    return kFormats;
}

const TTransportFormat& TransportFormatOf(int32_t codec) {
    if (codec < 0 || size_t(codec) >= kFormats.size()) {
        return kNoFormat;
    }
    return kFormats[size_t(codec)];
}
