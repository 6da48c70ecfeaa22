// A folder of its own for each test (the process and test name in it, so
// tests running in parallel never meet), removed afterwards, and whole-file
// reads and writes in it.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
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
  explicit TestFolder(std::string_view prefix)
      : folder_(std::filesystem::path(::testing::TempDir()) /
                (std::string(prefix) + "_" + std::to_string(getpid()) + "_" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
  }
  ~TestFolder() { std::filesystem::remove_all(folder_); }
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
