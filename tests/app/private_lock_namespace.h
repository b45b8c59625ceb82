// Gives this test process a single-instance lock namespace of its own.
#pragma once

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sched.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

// kvadrel and kvadrel-batch take the machine-wide single-instance lock
// "kvadrel", so tests running side by side (or a converter that someone runs)
// would refuse each other. The lock is an abstract socket name, which belongs to a network
// namespace: this test process and the programs it starts move, once, to a
// namespace of their own (inside a user namespace of their own, so that no
// privilege is needed). False when the system allows no such namespace.
inline bool UsePrivateLockNamespace() {
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
    return isolated;
}
