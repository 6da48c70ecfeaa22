// A folder of its own for a test or a fuzz run (a fresh name in the system's
// temporary folder, so runs in parallel never meet), removed afterwards,
// and whole-file reads and writes in it. Free of GoogleTest, so that the
// fuzz programs use it too.
#pragma once

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace calvoro::testing {

inline std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream buffer;
  buffer << in.rdbuf();
  return buffer.str();
}

class TestFolder {
 public:
  explicit TestFolder(std::string_view prefix) {
    std::string name =
        (std::filesystem::temp_directory_path() / (std::string(prefix) + "_XXXXXX")).string();
    if (mkdtemp(name.data()) == nullptr) throw std::runtime_error("cannot create " + name);
    folder_ = name;
  }
  ~TestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  TestFolder(const TestFolder&) = delete;
  TestFolder& operator=(const TestFolder&) = delete;

  const std::filesystem::path& path() const { return folder_; }
  std::string Path(std::string_view name) const { return (folder_ / name).string(); }
  // Writes `bytes` to the file `name` and returns its path.
  std::string Write(std::string_view name, std::string_view bytes) const {
    std::ofstream(Path(name), std::ios::binary) << bytes;
    return Path(name);
  }

 private:
  std::filesystem::path folder_;
};

}  // namespace calvoro::testing
