// A built program run as a child process by a test: its standard output is
// collected through a pipe, its standard error through a pipe or, to see what
// the program draws on a terminal, through a pseudo-terminal. Every wait is
// bounded: a child that overstays fails the test and is killed.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <system_error>
#include <vector>

extern char** environ;

enum class ErrorOutput { Pipe, Terminal };

class ChildProgram {
  public:
    // Starts `program` with `arguments` in the test's environment, where
    // `environment` ("NAME=value" entries) adds or replaces variables.
    ChildProgram(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                 const std::vector<std::string>& environment, ErrorOutput errorOutput) {
        int output[2];
        Check(::pipe2(output, O_CLOEXEC), "pipe");
        out_ = output[0];
        int errorWrite = -1;
        if (errorOutput == ErrorOutput::Terminal) {
            err_ = Check(::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC), "posix_openpt");
            Check(::grantpt(err_), "grantpt");
            Check(::unlockpt(err_), "unlockpt");
            errorWrite = Check(::open(::ptsname(err_), O_RDWR | O_NOCTTY | O_CLOEXEC), "open pty");
            // Raw: the bytes arrive as the program wrote them.
            termios mode{};
            Check(::tcgetattr(errorWrite, &mode), "tcgetattr");
            ::cfmakeraw(&mode);
            Check(::tcsetattr(errorWrite, TCSANOW, &mode), "tcsetattr");
        } else {
            int error[2];
            Check(::pipe2(error, O_CLOEXEC), "pipe");
            err_ = error[0];
            errorWrite = error[1];
        }

        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
        posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
        posix_spawn_file_actions_adddup2(&actions, errorWrite, STDERR_FILENO);
        // The stop signals act as they do for a program started from a shell.
        posix_spawnattr_t attributes;
        posix_spawnattr_init(&attributes);
        sigset_t signals;
        sigemptyset(&signals);
        posix_spawnattr_setsigmask(&attributes, &signals);
        sigaddset(&signals, SIGINT);
        sigaddset(&signals, SIGTERM);
        sigaddset(&signals, SIGPIPE);
        posix_spawnattr_setsigdefault(&attributes, &signals);
        posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

        std::vector<std::string> argv{program.string()};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        const std::vector<std::string> envp = Environment(environment);
        const int spawned = ::posix_spawn(&pid_, argv[0].c_str(), &actions, &attributes,
                                          Pointers(argv).data(), Pointers(envp).data());
        posix_spawnattr_destroy(&attributes);
        posix_spawn_file_actions_destroy(&actions);
        ::close(output[1]);
        ::close(errorWrite);
        if (spawned != 0) {
            pid_ = -1;
            throw std::system_error(spawned, std::generic_category(), "cannot start " + argv[0]);
        }
    }

    ~ChildProgram() {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        for (const int fd : {out_, err_}) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    void Signal(int signal) const {
        if (pid_ > 0) {
            ::kill(pid_, signal);
        }
    }

    // Stops the child (SIGSTOP) and waits until every thread of it stands
    // still; false when it ended instead. Resume() lets it go on.
    bool Pause() const {
        if (pid_ <= 0 || ::kill(pid_, SIGSTOP) != 0) {
            return false;
        }
        siginfo_t info{};
        // WNOWAIT: an end stays for WaitForExit to collect.
        return ::waitid(P_PID, id_t(pid_), &info, WEXITED | WSTOPPED | WNOWAIT) == 0 &&
               info.si_code == CLD_STOPPED;
    }
    void Resume() const { Signal(SIGCONT); }

    // Collects output until `done` holds (true), or until the child has
    // closed its outputs or `bound` has passed (false; the bound fails the test).
    bool CollectUntil(const std::function<bool()>& done, std::chrono::milliseconds bound) {
        const auto deadline = std::chrono::steady_clock::now() + bound;
        while (!done()) {
            if (out_ < 0 && err_ < 0) {
                return false;
            }
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "the program did not get there within " << bound.count() << " ms";
                return false;
            }
            Collect(1);
        }
        return true;
    }

    // Collects output until the child ends; its exit status, 128 + the
    // signal that ended it, or -1 when it was still running after `bound`
    // (it is then killed and the test fails).
    int WaitForExit(std::chrono::milliseconds bound) {
        const auto deadline = std::chrono::steady_clock::now() + bound;
        while (pid_ > 0) {
            if (::waitpid(pid_, &status_, WNOHANG) == pid_) {
                pid_ = -1;
                break;
            }
            if (std::chrono::steady_clock::now() > deadline) {
                ADD_FAILURE() << "the program still runs after " << bound.count() << " ms";
                return -1;  // killed by the destructor
            }
            Collect(10);
        }
        // What was written before the end.
        while ((out_ >= 0 || err_ >= 0) && std::chrono::steady_clock::now() <= deadline) {
            Collect(10);
        }
        return WIFSIGNALED(status_) ? 128 + WTERMSIG(status_) : WEXITSTATUS(status_);
    }

    const std::string& Output() const { return output_; }
    const std::string& Errors() const { return errors_; }

  private:
    static int Check(int result, const char* what) {
        if (result < 0) {
            throw std::system_error(errno, std::generic_category(), what);
        }
        return result;
    }

    static std::vector<std::string> Environment(const std::vector<std::string>& changes) {
        const auto name = [](const std::string& entry) { return entry.substr(0, entry.find('=')); };
        std::vector<std::string> result;
        for (char** entry = environ; *entry != nullptr; ++entry) {
            const std::string variable = *entry;
            bool replaced = false;
            for (const auto& change : changes) {
                replaced = replaced || name(change) == name(variable);
            }
            if (!replaced) {
                result.push_back(variable);
            }
        }
        result.insert(result.end(), changes.begin(), changes.end());
        return result;
    }

    static std::vector<char*> Pointers(const std::vector<std::string>& strings) {
        std::vector<char*> pointers;
        for (const auto& s : strings) {
            pointers.push_back(const_cast<char*>(s.c_str()));
        }
        pointers.push_back(nullptr);
        return pointers;
    }

    // Waits up to `timeoutMs` for output and takes what has arrived.
    void Collect(int timeoutMs) {
        pollfd fds[2] = {{out_, POLLIN, 0}, {err_, POLLIN, 0}};
        if (::poll(fds, 2, timeoutMs) <= 0) {
            return;
        }
        Read(out_, output_, fds[0].revents);
        Read(err_, errors_, fds[1].revents);
    }

    // A terminal reports the end of its writers as EIO, a pipe as end of file.
    static void Read(int& fd, std::string& into, short events) {
        if (fd < 0 || events == 0) {
            return;
        }
        char chunk[65536];
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got > 0) {
            into.append(chunk, size_t(got));
        } else if (got == 0 || errno != EINTR) {
            ::close(fd);
            fd = -1;
        }
    }

    pid_t pid_ = -1;
    int status_ = 0;  // the wait status, once the child has ended
    int out_ = -1;
    int err_ = -1;
    std::string output_;
    std::string errors_;
};
