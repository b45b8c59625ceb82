// A workspace for the worker's tests: a store file, a code-value file, source
// and target folders, and a status view that records what the worker showed.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "config/descriptors.h"
#include "engine/delta.h"
#include "tests/temp_directory.h"

class RecordingStatus : public TStatusPane, public TProgressBar {
  public:
    void SetCaption(const AnsiString& text) override { captions.push_back(text); }
    void SetPercent(int16_t percent) override { percents.push_back(percent); }

    std::vector<AnsiString> captions;
    std::vector<int16_t> percents;
};

class WorkerWorkspace {
  public:
    WorkerWorkspace() {
        std::filesystem::create_directories(In());
        std::filesystem::create_directories(Out());
    }

    std::filesystem::path In() const { return root_.path() / "in"; }
    std::filesystem::path Out() const { return root_.path() / "out"; }
    std::filesystem::path Store() const { return root_.path() / "registry.reg"; }
    std::filesystem::path Ini() const { return root_.path() / "kvadrel.INI"; }
    AnsiString InFolder() const { return platform::Utf8ToCp1251(In().string() + "/"); }
    AnsiString OutFolder() const { return platform::Utf8ToCp1251(Out().string() + "/"); }

    // A numbered-code type reading *.txt from In() into Out().
    TDD* AddType(TDL& list, const AnsiString& name, int32_t codec, const AnsiString& ident) const {
        TDD* type = list.Add(name, codec, ident);
        type->From = InFolder();
        type->To = OutFolder();
        type->Mask = "*.txt";
        return type;
    }

    void WriteIni(const std::string& text) const { std::ofstream(Ini()) << text; }

    static void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream(path, std::ios::binary) << bytes;
    }

    TDeltaSettings Settings() const {
        TDeltaSettings settings;
        settings.StoreFile = Store();
        settings.CodeValueFile = Ini();
        settings.Tick = std::chrono::milliseconds(1);
        settings.SinglePass = true;
        settings.OnFailure = [this](const AnsiString& source, const std::string& reason) {
            failures.emplace_back(source, reason);
        };
        return settings;
    }

    mutable std::vector<std::pair<AnsiString, std::string>> failures;

  private:
    TempDirectory root_;
};
