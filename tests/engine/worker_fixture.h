// A workspace for the worker's tests: the conversion folders with a store
// file, and a status view that records what the worker showed.
#pragma once

#include <chrono>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "engine/delta.h"
#include "tests/conversion_folders.h"

class RecordingStatus : public TStatusPane, public TProgressBar {
  public:
    void SetCaption(const AnsiString& text) override { captions.push_back(text); }
    void SetPercent(int16_t percent) override { percents.push_back(percent); }

    std::vector<AnsiString> captions;
    std::vector<int16_t> percents;
};

class WorkerWorkspace : public ConversionFolders {
  public:
    std::filesystem::path Store() const { return Root() / "registry.reg"; }

    TDeltaSettings Settings() const {
        TDeltaSettings settings;
        settings.StoreFile = Store();
        settings.CodeValueFile = Ini();
        settings.Tick = std::chrono::milliseconds(1);
        settings.SinglePass = true;
        settings.OnFailure = [this](const AnsiString&, const AnsiString& source,
                                    const std::string& reason) {
            failures.emplace_back(source, reason);
        };
        settings.OnRemark = [this](const std::string& remark) { remarks.push_back(remark); };
        return settings;
    }

    mutable std::vector<std::pair<AnsiString, std::string>> failures;
    mutable std::vector<std::string> remarks;
};
