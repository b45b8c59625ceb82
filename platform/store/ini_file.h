// Reading of INI files (the code-value file beside the executable).
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

namespace platform {

// Longest value a read delivers; longer values are cut.
constexpr std::size_t kIniValueLimit = 2047;

// An INI file ready for any number of look-ups.
class IniText {
  public:
    // The bytes of a file as read: UTF-16LE with a byte-order mark, UTF-8 with
    // or without one, or else Windows-1251; decoded once.
    explicit IniText(std::string_view bytes);

    // The file; a missing file reads as empty. Throws std::system_error when
    // the file exists but cannot be read: a file that is there but unreadable
    // must not pass for an empty one. On Windows the look-ups go to the
    // system's reader (GetPrivateProfileStringW), for which the file is
    // UTF-16LE with a byte-order mark or else in the ANSI code page;
    // elsewhere the file's bytes are read once and decoded as above.
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
    using Lookup = std::function<std::u16string(
        std::u16string_view section, std::u16string_view key, std::u16string_view defaultValue)>;
    explicit IniText(Lookup lookup) : lookup_(std::move(lookup)) {}

    Lookup lookup_;
};

}  // namespace platform
