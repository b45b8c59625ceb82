// The folders a conversion works in, all in one temporary folder: a source
// folder, a target folder and the code-value file, with types that read the
// one into the other.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "config/descriptors.h"
#include "platform/text/codepage.h"
#include "tests/temp_directory.h"

class ConversionFolders {
  public:
    ConversionFolders() {
        std::filesystem::create_directories(In());
        std::filesystem::create_directories(Out());
    }

    std::filesystem::path Root() const { return root_.path(); }
    std::filesystem::path In() const { return Root() / "in"; }
    std::filesystem::path Out() const { return Root() / "out"; }
    std::filesystem::path Ini() const { return Root() / "kvadrel.INI"; }
    AnsiString InFolder() const { return platform::Utf8ToCp1251(In().string() + "/"); }
    AnsiString OutFolder() const { return platform::Utf8ToCp1251(Out().string() + "/"); }

    // A type of the format `codec` reading *.txt from In() into Out().
    TDD* AddType(TDL& list, const AnsiString& name, int32_t codec, const AnsiString& ident) const {
        TDD* type = list.Add(name, codec, ident);
        type->From = InFolder();
        type->To = OutFolder();
        type->Mask = "*.txt";
        return type;
    }

    void WriteIni(std::string_view text) const { root_.Write(Ini().filename(), text); }

    // Writes the file `name` of the workspace (such as "in/f.txt"); returns its path.
    std::filesystem::path Write(const std::filesystem::path& name, std::string_view bytes) const {
        return root_.Write(name, bytes);
    }

  private:
    TempDirectory root_;
};
