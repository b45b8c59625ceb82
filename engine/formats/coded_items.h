// The items "/<code>=<value>" of one record line of the numbered-code format,
// indexed by tag. A tag is "/" + text + "=", the text written "%02d" (padded)
// or "%d" (plain); the value of an item runs from the "=" to the next "/" or
// the end of the line.
//
// One pass over the line finds every place where a "/" starts a tag, so that
// looking up a field's tags costs no search of the line: this gives the same
// first occurrences as searching the line for "/05=" or "/5=", since a tag's
// text holds neither "/" nor "=".
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

class TCodedItems {
  public:
    // A field's code with its two tags, prepared once per file.
    struct Code {
        int32_t Number = 0;
        std::string Padded;      // text of the tag "/%02d="
        std::string Plain;       // text of the tag "/%d="
        int32_t PaddedKey = -1;  // the texts' keys (TextKey)
        int32_t PlainKey = -1;
    };
    static Code MakeCode(int32_t number);

    void Parse(std::string_view line);

    // The value of the code's item: the plain tag's first occurrence when the
    // line has one, else the padded tag's; empty when neither occurs.
    std::string_view Value(const Code& code) const;

  private:
    struct Item {
        std::string_view Text;  // between "/" and "="
        std::string_view Value;
    };
    static constexpr uint32_t kNone = UINT32_MAX;
    // Tag texts of one to three digits are looked up directly, by a key that
    // tells "5", "05" and "005" apart.
    static constexpr int32_t kKeys = 10 + 100 + 1000;
    static int32_t TextKey(std::string_view text);  // -1 for other texts

    // First occurrence of a tag text among the items, or kNone.
    uint32_t Find(std::string_view text) const;
    // First occurrence of a tag text of that key.
    uint32_t FirstItem(int32_t key, std::string_view text) const;

    std::vector<Item> items_;
    // The first item of each key, valid when noted for the line being parsed.
    struct Note {
        uint32_t Line = 0;
        uint32_t Item = kNone;
    };
    std::array<Note, kKeys> first_{};
    uint32_t line_ = 0;  // the line being parsed, counted
};
