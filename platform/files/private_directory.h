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
    ~PrivateDirectory();
    PrivateDirectory(const PrivateDirectory&) = delete;
    PrivateDirectory& operator=(const PrivateDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

}  // namespace platform
