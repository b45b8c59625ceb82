// A fresh folder under the system's temporary folder for one test, removed
// with everything in it when the test ends, and the reading of a file back.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

class TempDirectory {
  public:
    // A new folder of a random name that only this user may enter.
    TempDirectory() {
        std::random_device random;
        for (;;) {
            path_ = std::filesystem::temp_directory_path() /
                    ("kvadrel-test-" + std::to_string(random()));
            if (std::filesystem::create_directory(path_)) {  // false: the name is taken
                std::filesystem::permissions(path_, std::filesystem::perms::owner_all);
                return;
            }
        }
    }
    ~TempDirectory() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
        if (error) {
            std::cerr << "cannot remove " << path_ << ": " << error.message() << '\n';
        }
    }
    TempDirectory(const TempDirectory&) = delete;
    TempDirectory& operator=(const TempDirectory&) = delete;

    const std::filesystem::path& path() const { return path_; }

    // Creates (or replaces) the file `name` holding `bytes`; returns its path.
    std::filesystem::path Write(const std::filesystem::path& name, std::string_view bytes) const {
        const auto file = path_ / name;
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        out.close();
        EXPECT_TRUE(out) << "cannot write " << file;
        return file;
    }

  private:
    std::filesystem::path path_;
};

// The bytes of `file`; empty when there is no such file.
inline std::string ReadBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The names in `folder`, sorted.
inline std::vector<std::string> FolderNames(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}
