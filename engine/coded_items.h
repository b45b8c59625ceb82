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
        std::string Padded;  // text of the tag "/%02d="
        std::string Plain;   // text of the tag "/%d="
    };
    static Code MakeCode(int32_t number);

    TCodedItems();

    void Parse(std::string_view line);

    // The value of the code's item: the plain tag's first occurrence when the
    // line has one, else the padded tag's; empty when neither occurs.
    std::string_view Value(const Code& code) const;

  private:
    struct Item {
        std::string_view Text;  // between "/" and "="
        std::string_view Value;
    };
    static constexpr int32_t kIndexed = 1000;  // codes 0..999 are looked up directly
    static constexpr uint32_t kNone = UINT32_MAX;

    void Index(std::string_view tag, uint32_t index);
    // First occurrence of a tag text among the items, or kNone.
    uint32_t Find(std::string_view text) const;

    std::vector<Item> items_;
    // For a number n below kIndexed: the first item whose text is "%02d" / "%d" of n.
    std::array<uint32_t, kIndexed> firstPadded_;
    std::array<uint32_t, kIndexed> firstPlain_;
    std::vector<int32_t> touched_;
};
