// A folder of the process's own under the temporary folder, removed with
// everything in it when its owner goes.
#pragma once

#include <filesystem>

namespace platform {

class PrivateDirectory {
  public:
    // Made with mode 0700 under $TMPDIR (or /tmp), on Windows in the user's
    // own temporary folder; throws std::system_error when it cannot be made.
    PrivateDirectory();
    // Removes the folder unless Remove() was called, silent about a failure: a
    // destructor has no one to tell. Remove() is the path that reports.
    ~PrivateDirectory();
    PrivateDirectory(const PrivateDirectory&) = delete;
    PrivateDirectory& operator=(const PrivateDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Removes the folder with everything in it; throws std::system_error
    // naming it when it cannot. Tried once: the destructor does not try again.
    void Remove();

  private:
    std::filesystem::path path_;
    bool removed_ = false;
};

}  // namespace platform
