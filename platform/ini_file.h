// Reading of INI files (the code-value file beside the executable).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace platform {

// Longest value a read delivers; longer values are cut.
constexpr std::size_t kIniValueLimit = 2047;

// The text of an INI file, decoded once for any number of look-ups.
class IniText {
  public:
    // The bytes of a file as read: UTF-16LE with a byte-order mark, UTF-8 with
    // or without one, or else Windows-1251.
    explicit IniText(std::string_view bytes);

    // Reads the file; a missing file reads as empty. Throws std::system_error
    // when the file exists but cannot be read: a file that is there but
    // unreadable must not pass for an empty one.
    static IniText Read(const std::filesystem::path& file);

    // The value of `key` in `section`, or `defaultValue` when the section or
    // the key is missing.
    //
    // Section and key names compare without regard to case. The value is
    // taken without the blanks around it and without one pair of matching
    // surrounding quotes (" or '); ";" starts a comment only at the start of a
    // line, and at most kIniValueLimit characters are delivered. Lines end at
    // CR, LF or CRLF.
    std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view defaultValue) const;

  private:
    std::u16string text_;
};

}  // namespace platform
