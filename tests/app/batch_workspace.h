// A workspace in which a test runs kvadrel-batch as the operator would: the
// per-user configuration folder that XDG_CONFIG_HOME leads to, a code-value
// file, and source and target folders, all in one temporary folder.
#pragma once

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "batch_process.h"
#include "config/descriptors.h"
#include "private_lock_namespace.h"
#include "tests/conversion_folders.h"

// How long a test lets one run of the program take before it fails: far more
// than a run needs, even under the sanitizers on a busy machine.
constexpr std::chrono::milliseconds kRunBound = std::chrono::minutes(2);

// DOS-866 bytes of UTF-8 text whose letters are Latin or Cyrillic А..я, as
// senders write update files.
inline std::string ToDos866(std::string_view utf8) {
    std::string text = platform::Utf8ToCp1251(utf8);
    for (char& c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0xC0 && byte <= 0xEF) {
            c = char(byte - 0x40);  // А..Я, а..п
        } else if (byte >= 0xF0) {
            c = char(byte - 0x10);  // р..я
        }
    }
    return text;
}

class BatchWorkspace : public ConversionFolders {
  public:
    BatchWorkspace() {
        UsePrivateLockNamespace();
        WriteIni("");  // no code values
    }

    // The folder XDG_CONFIG_HOME names, which holds the operator's store.
    std::filesystem::path ConfigHome() const { return Root() / "config"; }
    // The folder XDG_STATE_HOME names, and the journal kvadrel-batch keeps there.
    std::filesystem::path StateHome() const { return Root() / "state"; }
    std::filesystem::path Journal() const { return StateHome() / "kvadrel" / "journal.log"; }

    // A numbered-code type of group АМТ reading *.txt from In() into Out().
    TDD* AddType(TDL& config, const AnsiString& name) const {
        return ConversionFolders::AddType(config, name, 0, platform::Utf8ToCp1251("АМТ"));
    }
    using ConversionFolders::AddType;

    // The line kvadrel-batch prints for a source file of In() converted into
    // a table of Out().
    std::string Converted(const std::string& source, const std::string& table, int records) const {
        return (In() / source).string() + " -> " + (Out() / table).string() + " (" +
               std::to_string(records) + " records)\n";
    }

    // Makes `config` the operator's stored configuration.
    void Save(const TDL& config) const { config.Save(ConfigHome() / "kvadrel" / "registry.reg"); }

    // Writes a source file in DOS-866 with CRLF line ends.
    void WriteSource(const std::string& name, const std::vector<std::string>& utf8Lines) const {
        std::ofstream out(In() / name, std::ios::binary);
        for (const auto& line : utf8Lines) {
            out << ToDos866(line) << "\r\n";
        }
    }

    // The arguments of a run on this workspace: one pass, or passes until stopped.
    std::vector<std::string> Arguments(bool once) const {
        std::vector<std::string> arguments{"--ini", Ini().string()};
        if (once) {
            arguments.insert(arguments.begin(), "--once");
        }
        return arguments;
    }

    // Starts kvadrel-batch with exactly these arguments; `environment` adds
    // or replaces variables.
    ChildProgram Start(const std::vector<std::string>& arguments,
                       ErrorOutput errorOutput = ErrorOutput::Pipe,
                       const std::vector<std::string>& environment = {}) const {
        std::vector<std::string> variables = environment;
        for (const std::string& folder : {"XDG_CONFIG_HOME=" + ConfigHome().string(),
                                          "XDG_STATE_HOME=" + StateHome().string()}) {
            const std::string name = folder.substr(0, folder.find('=') + 1);
            if (std::none_of(environment.begin(), environment.end(),
                             [&](const std::string& entry) { return entry.starts_with(name); })) {
                variables.push_back(folder);
            }
        }
        return ChildProgram(KVADREL_BINARY_DIR "/app/kvadrel-batch", arguments, variables,
                            errorOutput);
    }

    struct Run {
        int status;  // exit status, 128 + signal, -1 when it overstayed
        std::string output;
        std::string errors;
    };

    // Runs kvadrel-batch with these arguments to its end.
    Run RunToEnd(const std::vector<std::string>& arguments,
                 const std::vector<std::string>& environment = {}) const {
        ChildProgram batch = Start(arguments, ErrorOutput::Pipe, environment);
        const int status = batch.WaitForExit(kRunBound);
        return {status, batch.Output(), batch.Errors()};
    }

    // One pass over the workspace.
    Run RunOnce() const { return RunToEnd(Arguments(true)); }
};
