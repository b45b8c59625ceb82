// What each transport format means, in one table: the type editor's item,
// the identifier and code captions that follow a format change, the roles of
// special products, and what the configuration rules ask of a type. A type
// stores its format as its Codec, which is the format's index in the table
// and in the type editor's list; -1 is no format chosen yet.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// The fields that special products give a role (TDD's Beg, End, KodObj,
// Ceria and TipZnak).
struct TSpecialRoles {
    bool Beg = false;
    bool End = false;
    bool KodObj = false;
    bool Ceria = false;
    bool TipZnak = false;
};

struct TTransportFormat {
    int32_t Codec;                         // -1 for no format
    std::string_view Name;                 // in messages: "numbered-code", "Moscow-region"
    std::u16string_view Item;              // the type editor's item; empty for no format
    std::u16string_view DefaultIdent;      // the identifier a change to this format sets
    std::u16string_view FieldCodeCaption;  // the field editor's caption of the code
    std::u16string_view CodeColumn;        // the type editor's caption of the code column
    TSpecialRoles EditorRoles;  // the role rows the type editor enables with special products
    TSpecialRoles FillRoles;    // the roles the fill step reads
    bool NeedsIdent;            // whether a type of this format needs a group identifier

    bool IsFormat() const { return Codec >= 0; }
};

inline constexpr size_t kTransportFormatCount = 2;

// The formats, in the order of their Codec.
std::span<const TTransportFormat> TransportFormats();

// The format a Codec names; the row of no format for -1 (no format chosen
// yet) and for any value no format has.
const TTransportFormat& TransportFormatOf(int32_t codec);
