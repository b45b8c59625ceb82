// A unique path under the system's temporary directory for one test; whatever
// the test puts there is removed when it goes out of scope.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string>
#include <string_view>

class TempPath {
  public:
    TempPath() {
        static std::atomic<unsigned> counter{0};
        std::random_device random;
        do {
            path_ = std::filesystem::temp_directory_path() /
                    ("kvadrel-test-" + std::to_string(random()) + "-" + std::to_string(++counter));
        } while (std::filesystem::exists(path_));
    }
    ~TempPath() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempPath(const TempPath&) = delete;
    TempPath& operator=(const TempPath&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Writes the bytes as the file's whole contents.
    void Write(std::string_view bytes) const {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        if (!out.flush()) {
            throw std::runtime_error("cannot write " + path_.string());
        }
    }

  private:
    std::filesystem::path path_;
};
