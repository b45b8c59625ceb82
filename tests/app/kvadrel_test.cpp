// The window program as a process: only one copy runs at a time, and the
// batch tool shares its lock. Each test runs in a network namespace of its
// own, so the machine-wide lock of a copy running on this machine is neither
// taken nor seen.
#include <fcntl.h>
#include <sched.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "private_lock_namespace.h"
#include "tests/temp_directory.h"
#include "x_display.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

constexpr auto kPatience = std::chrono::seconds(30);

// Whether some process of this network namespace holds the lock "kvadrel"
// (an abstract UNIX socket of that name), seen without taking it.
bool LockHeld() {
    std::ifstream sockets("/proc/self/net/unix");
    std::string line;
    while (std::getline(sockets, line)) {
        if (line.size() >= 9 && line.compare(line.size() - 9, 9, " @kvadrel") == 0) {
            return true;
        }
    }
    return false;
}

template <typename Condition>
bool WaitUntil(Condition done) {
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// A built program run without a screen (or on the X server of DISPLAY, with
// the platform "xcb"), with a configuration folder of its own; its standard
// error goes to a file.
class Program {
  public:
    Program(const std::string& name, const std::vector<std::string>& arguments,
            const fs::path& home, const std::string& platform = "offscreen")
        : errors_(home / (name + "-" + std::to_string(++started_) + ".err")) {
        const std::string path = std::string(KVADREL_BINARY_DIR) + "/app/" + name;
        std::vector<std::string> words{path};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<std::string> settings{"QT_QPA_PLATFORM=" + platform,
                                          // core X input events, which a test can send
                                          "QT_XCB_NO_XI2=1",
                                          "XDG_CONFIG_HOME=" + (home / "config").string(),
                                          "XDG_STATE_HOME=" + (home / "state").string(),
                                          "XDG_RUNTIME_DIR=" + (home / "runtime").string()};
        for (char** variable = environ; *variable != nullptr; ++variable) {
            const std::string_view text(*variable);
            if (!text.starts_with("QT_QPA_PLATFORM=") && !text.starts_with("XDG_CONFIG_HOME=") &&
                !text.starts_with("XDG_STATE_HOME=") && !text.starts_with("XDG_RUNTIME_DIR=")) {
                settings.emplace_back(text);
            }
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errors_.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const auto argv = Pointers(words);
        const auto envp = Pointers(settings);
        if (::posix_spawn(&pid_, path.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) {
            pid_ = -1;
            ADD_FAILURE() << "cannot start " << path;
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Program() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    pid_t Pid() const { return pid_; }

    bool Running() { return pid_ > 0 && ::waitpid(pid_, &status_, WNOHANG) == 0; }

    // The exit code; -1 when it was ended by a signal or did not end in time.
    int WaitForExit() {
        if (pid_ > 0 && WaitUntil([&] { return !Running(); })) {
            pid_ = -1;
            return WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
        }
        return -1;
    }

    void Kill() {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }

    std::string Errors() const {
        std::ostringstream text;
        text << std::ifstream(errors_).rdbuf();
        return text.str();
    }

  private:
    static std::vector<char*> Pointers(std::vector<std::string>& words) {
        std::vector<char*> pointers;
        for (std::string& word : words) {
            pointers.push_back(word.data());
        }
        pointers.push_back(nullptr);
        return pointers;
    }

    static inline int started_ = 0;
    fs::path errors_;
    pid_t pid_ = -1;
    int status_ = 0;
};

class KvadrelProcess : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!UsePrivateLockNamespace()) {
            GTEST_SKIP() << "no network namespace of our own: the test would take the "
                            "machine-wide lock of a copy in use";
        }
        fs::create_directories(home_.path() / "config");
        fs::create_directory(home_.path() / "runtime");
        fs::permissions(home_.path() / "runtime", fs::perms::owner_all);
        ASSERT_FALSE(LockHeld());
    }

    const fs::path& Home() const { return home_.path(); }

  private:
    TempDirectory home_;
};

const std::string kRefused = "kvadrel: Программа уже запущена.\n";

TEST_F(KvadrelProcess, SecondCopyIsRefusedWhileTheFirstRunsAndAllowedAfterItWasKilled) {
    Program first("kvadrel", {}, Home());
    ASSERT_TRUE(WaitUntil([&] { return LockHeld() || !first.Running(); }));
    ASSERT_TRUE(first.Running()) << first.Errors();

    Program second("kvadrel", {}, Home());
    EXPECT_EQ(second.WaitForExit(), 0);
    EXPECT_NE(second.Errors().find(kRefused), std::string::npos) << second.Errors();
    // The batch tool takes the same lock.
    Program batch("kvadrel-batch", {"--once"}, Home());
    EXPECT_EQ(batch.WaitForExit(), 3);
    EXPECT_TRUE(first.Running());

    first.Kill();
    EXPECT_FALSE(LockHeld());
    Program third("kvadrel", {}, Home());
    EXPECT_TRUE(WaitUntil([&] { return LockHeld() || !third.Running(); }));
    EXPECT_TRUE(third.Running()) << third.Errors();
    EXPECT_EQ(third.Errors().find(kRefused), std::string::npos);
}

// The captions as the X server holds them for the program's own windows: the
// main window's, and the update list's after a click on "Настройка".
TEST_F(KvadrelProcess, CaptionsOnAnXServerAreTheWindowsOwn) {
    XDisplay display;
    if (!display.Open()) {
        GTEST_SKIP() << "no X server (DISPLAY) to show the windows on";
    }
    Program program("kvadrel", {}, Home(), "xcb");
    xcb_window_t main = XCB_WINDOW_NONE;
    ASSERT_TRUE(WaitUntil([&] {
        main = display.ShownWindowOf(program.Pid(), {});
        return main != XCB_WINDOW_NONE || !program.Running();
    }));
    ASSERT_NE(main, xcb_window_t(XCB_WINDOW_NONE)) << program.Errors();
    EXPECT_EQ(display.Caption(main), "Пребразователь обновлений в DBase");

    // "Настройка" is the middle one of the five buttons along the top.
    display.Click(main, 0.5, 0.15);
    xcb_window_t list = XCB_WINDOW_NONE;
    ASSERT_TRUE(WaitUntil([&] {
        list = display.ShownWindowOf(program.Pid(), {main});
        return list != XCB_WINDOW_NONE || !program.Running();
    }));
    ASSERT_NE(list, xcb_window_t(XCB_WINDOW_NONE)) << program.Errors();
    EXPECT_EQ(display.Caption(list), "Список региональных обновлений");
}

TEST_F(KvadrelProcess, WindowRefusedWhileTheBatchToolRuns) {
    Program batch("kvadrel-batch", {}, Home());  // counts down until stopped
    ASSERT_TRUE(WaitUntil([&] { return LockHeld() || !batch.Running(); }));
    ASSERT_TRUE(batch.Running()) << batch.Errors();
    Program window("kvadrel", {}, Home());
    EXPECT_EQ(window.WaitForExit(), 0);
    EXPECT_NE(window.Errors().find(kRefused), std::string::npos) << window.Errors();
}

}  // namespace
