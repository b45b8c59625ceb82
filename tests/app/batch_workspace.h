// A workspace in which a test runs kvadrel-batch as the operator would: the
// per-user configuration folder that XDG_CONFIG_HOME leads to, a code-value
// file, and source and target folders, all in one temporary folder.
#pragma once

#include <fcntl.h>
#include <sched.h>
#include <unistd.h>

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
#include "tests/conversion_folders.h"

// How long a test lets one run of the program take before it fails: far more
// than a run needs, even under the sanitizers on a busy machine.
constexpr std::chrono::milliseconds kRunBound = std::chrono::minutes(2);

// kvadrel-batch takes the machine-wide single-instance lock "kvadrel", so
// tests running side by side (or a converter that someone runs) would refuse
// each other. The lock is an abstract socket name, which belongs to a network
// namespace: this test process and the programs it starts move, once, to a
// namespace of their own (inside a user namespace of their own, so that no
// privilege is needed).
inline void UsePrivateLockNamespace() {
    static const bool isolated = [] {
        const auto write = [](const char* file, const std::string& text) {
            const int fd = ::open(file, O_WRONLY | O_CLOEXEC);
            const bool written =
                fd >= 0 && ::write(fd, text.data(), text.size()) == ssize_t(text.size());
            if (fd >= 0) {
                ::close(fd);
            }
            return written;
        };
        const std::string uid = std::to_string(::getuid());
        const std::string gid = std::to_string(::getgid());
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNET) != 0) {
            std::fprintf(stderr,
                         "note: no namespace of our own (%s): the test shares the lock "
                         "\"kvadrel\" with every other program\n",
                         std::strerror(errno));
            return false;
        }
        // Our own ids keep their numbers, so files stay ours.
        const bool mapped = write("/proc/self/setgroups", "deny") &&
                            write("/proc/self/uid_map", uid + " " + uid + " 1") &&
                            write("/proc/self/gid_map", gid + " " + gid + " 1");
        EXPECT_TRUE(mapped) << "cannot map the user and group ids: " << std::strerror(errno);
        return mapped;
    }();
    (void)isolated;
}

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

    // Starts kvadrel-batch with exactly these arguments.
    ChildProgram Start(const std::vector<std::string>& arguments,
                       ErrorOutput errorOutput = ErrorOutput::Pipe) const {
        return ChildProgram(KVADREL_BINARY_DIR "/app/kvadrel-batch", arguments,
                            {"XDG_CONFIG_HOME=" + ConfigHome().string()}, errorOutput);
    }

    struct Run {
        int status;  // exit status, 128 + signal, -1 when it overstayed
        std::string output;
        std::string errors;
    };

    // Runs kvadrel-batch with these arguments to its end.
    Run RunToEnd(const std::vector<std::string>& arguments) const {
        ChildProgram batch = Start(arguments);
        const int status = batch.WaitForExit(kRunBound);
        return {status, batch.Output(), batch.Errors()};
    }

    // One pass over the workspace.
    Run RunOnce() const { return RunToEnd(Arguments(true)); }
};
