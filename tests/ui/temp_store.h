// A store file in a folder of its own under the system's temporary folder,
// removed with everything in it when the test ends.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>

class TempStore {
  public:
    TempStore() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kvadrel-ui-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create a folder for the test store");
        }
        folder_ = pattern;
    }
    ~TempStore() {
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    TempStore(const TempStore&) = delete;
    TempStore& operator=(const TempStore&) = delete;

    std::filesystem::path File() const { return folder_ / "registry.reg"; }

    // The file's bytes; empty when there is no file.
    std::string Contents() const {
        std::ifstream in(File(), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

  private:
    std::filesystem::path folder_;
};
