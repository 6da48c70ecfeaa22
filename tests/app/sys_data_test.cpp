// SysData.dat byte for byte, partial and hostile files, atomic saves and the
// settings folder.
#include "app/sys_data.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <set>

#include "tests/support/test_folder.h"

namespace calvoro {
namespace {

namespace fs = std::filesystem;

class SysDataTest : public ::testing::Test {
 protected:
  void WriteBytes(std::string_view bytes) { scratch_.Write("SysData.dat", bytes); }
  std::string ReadBytes() const { return testing::ReadFile(path_); }

  const testing::TestFolder scratch_{"sysdata"};
  const fs::path folder_ = scratch_.path();
  const std::string path_ = scratch_.Path("SysData.dat");
};

// The offset of the log count in a file whose first five texts are the defaults.
constexpr std::size_t kLogCountOffset = 30 + 4 * 2 + 104 + 8 + 3 * 4;

TEST_F(SysDataTest, DefaultRecordWritesTheKnownBytes) {
  CSysDataManager manager(path_);
  ASSERT_TRUE(manager.Save());
  const std::string bytes = ReadBytes();
  ASSERT_EQ(bytes.size(), 250u);
  EXPECT_EQ(bytes.substr(0, 30), "\x1dSysData Manager - StoreObject");
  EXPECT_EQ(bytes.substr(30, 8), std::string("\x01"
                                             "1\x01"
                                             "1\x01"
                                             "1\x01"
                                             "1",
                                             8));
  EXPECT_EQ(static_cast<unsigned char>(bytes[38]), 103);  // the Pi text's prefix
  EXPECT_EQ(bytes.substr(39, 103), kPiText);
  double spare;
  std::memcpy(&spare, bytes.data() + 142, 8);
  EXPECT_EQ(spare, 0.0123);
  EXPECT_EQ(bytes.substr(kLogCountOffset, 4), std::string(4, '\0'));
  // The tail: numberBase 10, spareInt3 0, tipOpen 0.
  EXPECT_EQ(bytes.substr(238), std::string("\x0a\0\0\0\0\0\0\0\0\0\0\0", 12));
}

TEST_F(SysDataTest, LengthPrefixesHaveThreeForms) {
  const struct {
    std::size_t length;
    std::string prefix;
  } cases[] = {
      {0, std::string("\x00", 1)},
      {254, "\xfe"},
      {255, std::string("\xff\xff\x00", 3)},
      {65533, std::string("\xff\xfd\xff", 3)},
      {65534, std::string("\xff\xff\xff\xfe\xff\x00\x00", 7)},
      {65535, std::string("\xff\xff\xff\xff\xff\x00\x00", 7)},
      {70000, std::string("\xff\xff\xff\x70\x11\x01\x00", 7)},
  };
  for (const auto& c : cases) {
    CSysData record;
    record.paramF = std::string(c.length, '7');
    const std::string bytes = EncodeSysData(record);
    EXPECT_EQ(bytes.substr(30, c.prefix.size()), c.prefix) << c.length;
    EXPECT_EQ(bytes.size(), 250 - 2 + c.prefix.size() + c.length) << c.length;
    CSysData back;
    EXPECT_TRUE(DecodeSysData(bytes, back)) << c.length;
    EXPECT_EQ(back, record) << c.length;
  }
}

TEST_F(SysDataTest, EveryFieldRoundTrips) {
  CSysDataManager manager(path_);
  CSysData& d = manager.data;
  d.paramF = "-2.5";
  d.paramW = std::string(300, '9');
  d.paramPi = "3.14";
  d.spareReal = -1.5;
  d.windowOption2 = -7;
  d.logLines = {"2026-12-06 20:55   Dec:1+2=3", "", std::string(70000, 'x')};
  d.reserved2 = 42;
  d.angleRadian = false;
  d.minimizeToTray = false;
  d.spareByte1 = 255;
  d.windowStyle = WindowStyle::Complex;
  d.freshStart = true;
  d.conversionItems = {{"", "*1.8+32", "Celsius->Fahrenheit", 1}, {"Length", "0.3048", "", 7}};
  d.precision = 1000000;
  d.exponentThreshold = 0;
  d.showTips = false;
  d.savedExpression = "2(3+4)";
  d.savedInputText = "abc";
  d.tipIndex = 29;
  d.savedInputB = -1;
  d.numberBase = NumberBase::Mix;
  d.tipOpen = true;
  ASSERT_TRUE(manager.Save());
  CSysDataManager loaded(path_);
  EXPECT_TRUE(loaded.Load());
  EXPECT_EQ(loaded.data, d);
}

// A save streams the record through a buffer; the file must hold exactly the
// encoded bytes whatever the texts' sizes around the buffer's size.
TEST_F(SysDataTest, StreamedSaveWritesTheEncodedBytes) {
  CSysDataManager manager(path_);
  for (std::size_t size : {0u, 254u, 65533u, 65536u, 65537u, 300000u})
    manager.data.logLines.push_back(std::string(size, 'L'));
  for (int i = 0; i < 5000; ++i) manager.data.logLines.push_back("2026-12-08 00:20   Dec:1+2=3");
  manager.data.savedExpression = std::string(70000, 'e');
  ASSERT_TRUE(manager.Save());
  EXPECT_EQ(ReadBytes(), EncodeSysData(manager.data));
}

TEST_F(SysDataTest, MissingOrForeignFilesLeaveTheRecordUntouched) {
  CSysDataManager manager(path_);
  manager.data.paramK = "5";
  EXPECT_TRUE(manager.Load());  // no file
  EXPECT_EQ(manager.data.paramK, "5");

  const std::string foreign[] = {
      "",
      "\x1dSysData Manager - StoreObjecT",
      "\x1dSysData Manager - StoreObject",  // ends right after the header
      "\x05hello and more",
      "\xff",
  };
  for (const auto& bytes : foreign) {
    WriteBytes(bytes);
    EXPECT_FALSE(manager.Load());
    CSysData expected;
    expected.paramK = "5";
    EXPECT_EQ(manager.data, expected) << bytes;
  }
}

TEST_F(SysDataTest, ShortFileKeepsWhatWasRead) {
  CSysData full;
  full.paramM = "7";
  full.logLines = {"one", "two", "three"};
  full.precision = 33;
  const std::string bytes = EncodeSysData(full);
  // Cut inside the third log line: "one" and "two" are in, the rest defaults.
  const std::size_t cut = kLogCountOffset + 4 + 4 + 4 + 2;
  WriteBytes(bytes.substr(0, cut));
  CSysDataManager manager(path_);
  manager.data.logLines = {"old"};
  EXPECT_FALSE(manager.Load());
  EXPECT_EQ(manager.data.paramM, "7");
  EXPECT_EQ(manager.data.logLines, (std::vector<std::string>{"one", "two"}));
  EXPECT_EQ(manager.data.precision, 10);
}

TEST_F(SysDataTest, ReloadReplacesTheLists) {
  CSysDataManager manager(path_);
  manager.data.logLines = {"a", "b"};
  manager.data.conversionItems = {{"c", "1", "d", 1}};
  ASSERT_TRUE(manager.Save());
  ASSERT_TRUE(manager.Load());
  ASSERT_TRUE(manager.Load());
  EXPECT_EQ(manager.data.logLines.size(), 2u);
  EXPECT_EQ(manager.data.conversionItems.size(), 1u);
}

TEST_F(SysDataTest, OutOfRangeNumbersAreClampedOnLoad) {
  CSysData record;
  record.precision = -5;
  record.exponentThreshold = 2000000000;
  std::string bytes = EncodeSysData(record);
  bytes.replace(bytes.size() - 12, 4, std::string("\x07\0\0\0", 4));  // numberBase 7
  CSysData back;
  ASSERT_TRUE(DecodeSysData(bytes, back));
  EXPECT_EQ(back.precision, 0);
  EXPECT_EQ(back.exponentThreshold, 1000000000);
  EXPECT_EQ(back.numberBase, NumberBase::Decimal);
}

// A parameter that holds no decimal number reads as its default: a
// calculation in another base would otherwise take its letters as digits.
TEST_F(SysDataTest, ParametersThatAreNoNumbersFallBackOnLoad) {
  CSysData record;
  record.paramF = "12a34";
  record.paramK = " (-2.5) ";
  record.paramM = "0h1F";
  record.paramPi = "3.14.15";
  ASSERT_TRUE(CSysDataManager(path_).Save(record));
  CSysDataManager manager(path_);
  ASSERT_TRUE(manager.Load());
  const CSysData& back = manager.data;
  EXPECT_EQ(manager.warnings().size(), 3u);
  EXPECT_EQ(back.paramF, "1");
  EXPECT_EQ(back.paramK, " (-2.5) ");
  EXPECT_EQ(back.paramM, "1");
  EXPECT_EQ(back.paramPi, kPiText);
}

TEST_F(SysDataTest, HostileBytesNeverCrashOrOverAllocate) {
  std::string base = EncodeSysData(CSysData{});
  // A log count of two billion, and a text length of four billion.
  std::string huge_count = base;
  huge_count.replace(kLogCountOffset, 4, "\xff\xff\xff\x7f");
  std::string huge_text = base.substr(0, 30) + std::string("\xff\xff\xff\xff\xff\xff\xff", 7);
  std::string negative_count = base;
  negative_count.replace(kLogCountOffset, 4, "\xff\xff\xff\xff");
  for (const auto& bytes : {huge_count, huge_text, negative_count}) {
    CSysData record;
    EXPECT_FALSE(DecodeSysData(bytes, record));
  }
  std::mt19937 rng(7);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes = base;
    const int flips = 1 + static_cast<int>(rng() % 8);
    for (int i = 0; i < flips; ++i) bytes[rng() % bytes.size()] = static_cast<char>(rng());
    bytes.resize(rng() % (bytes.size() + 1));
    CSysData record;
    DecodeSysData(bytes, record);  // must simply return
  }
}

TEST_F(SysDataTest, SaveIsAtomicAndReportsFailure) {
  CSysDataManager manager(path_);
  manager.data.paramF = "12";
  ASSERT_TRUE(manager.Save());
  // Nothing but the file itself and its lock file is left in the folder.
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder_)) names.insert(entry.path().filename());
  EXPECT_EQ(names, (std::set<std::string>{"SysData.dat", "SysData.dat.lock"}));
  CSysDataManager nowhere((folder_ / "missing" / "SysData.dat").string());
  EXPECT_FALSE(nowhere.Save());
}

// Sets an environment variable (or removes it, for null) for one scope.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    value ? ::setenv(name, value, 1) : ::unsetenv(name);
  }
  ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

 private:
  const char* name_;
  std::optional<std::string> old_;
};

TEST_F(SysDataTest, SettingsFolderIsTheUserConfigurationUnlessAFileIsBesideTheProgram) {
  const std::string program = (folder_ / "bin").string() + "/";
  const std::string home = (folder_ / "home").string();
  const std::string xdg = (folder_ / "xdg").string();
  fs::create_directories(program);
  struct Case {
    bool file_beside_program;
    const char* xdg_config_home;  // null: unset
    std::string expected;
  } cases[] = {
      {false, xdg.c_str(), xdg + "/calvoro/"},
      {false, nullptr, home + "/.config/calvoro/"},
      {false, "relative/path", home + "/.config/calvoro/"},  // not absolute: ignored
      {true, xdg.c_str(), program},                          // portable use
  };
  const ScopedEnv home_env("HOME", home.c_str());
  for (const Case& c : cases) {
    if (c.file_beside_program) std::ofstream(program + "SysData.dat") << "";
    const ScopedEnv xdg_env("XDG_CONFIG_HOME", c.xdg_config_home);
    EXPECT_EQ(SettingsFolder(program), c.expected);
    EXPECT_TRUE(fs::is_directory(c.expected)) << c.expected;
  }
  // New folders are the user's alone.
  EXPECT_EQ(fs::status(home + "/.config").permissions() & fs::perms::all, fs::perms::owner_all);
}

}  // namespace
}  // namespace calvoro

namespace calvoro {
namespace {

// A child process saves two different records in a loop and is killed at
// random moments; every time, the file must load completely as one of them.
TEST_F(SysDataTest, KilledSavesLeaveAWholeFile) {
  CSysData first;
  first.logLines.assign(200, std::string(100, 'a'));
  CSysData second = first;
  second.paramF = "2";
  second.logLines.push_back("one more");
  ASSERT_TRUE(CSysDataManager(path_).Save(first));
  std::mt19937 rng(11);
  for (int round = 0; round < 20; ++round) {
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      CSysDataManager manager(path_);
      for (int i = 0;; ++i) manager.Save(i % 2 ? first : second);
    }
    usleep(1000 + rng() % 20000);
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    CSysDataManager loaded(path_);
    ASSERT_TRUE(loaded.Load()) << round;
    EXPECT_TRUE(loaded.data == first || loaded.data == second) << round;
  }
}

}  // namespace
}  // namespace calvoro

namespace calvoro {
namespace {

TEST_F(SysDataTest, SaveFollowsLinksAndNeverReplacesOtherFiles) {
  const std::string real = (folder_ / "real.dat").string();
  fs::create_symlink(real, path_);
  CSysDataManager linked(path_);
  linked.data.paramW = "9";
  ASSERT_TRUE(linked.Save());
  EXPECT_TRUE(fs::is_symlink(path_));  // the link stays; the file it names is written
  CSysDataManager reader(real);
  reader.Load();
  EXPECT_EQ(reader.data.paramW, "9");

  const std::string folder = (folder_ / "a-folder").string();
  fs::create_directory(folder);
  EXPECT_FALSE(CSysDataManager(folder).Save());
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_FALSE(CSysDataManager("/dev/null").Save());
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
}

}  // namespace
}  // namespace calvoro
