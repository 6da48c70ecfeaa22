// The settings file as several writers and hostile paths meet it: files that
// are not ours are never written, reading is bounded by the file, saves merge
// with other writers' changes, and temporaries never outlive their process.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/calculator_model.h"
#include "app/safe_file.h"
#include "app/sys_data.h"
#include "tests/support/recording_sink.h"
#include "tests/support/test_folder.h"

namespace calvoro {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::RecordingSink;
using testing::TestFolder;

std::vector<std::string> TemporariesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) {
    const std::string name = entry.path().filename();
    if (name.find(".tmp") != std::string::npos) names.push_back(name);
  }
  return names;
}

// A child that has ended and been reaped: its pid names no process.
pid_t DeadPid() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  waitpid(child, nullptr, 0);
  return child;
}

TEST(SharedSettingsTest, FilesThatAreNotSettingsRecordsAreNeverWritten) {
  const TestFolder folder("shared_foreign");
  const std::string text = folder.Write("notes.txt", "hello\nworld\n");
  ASSERT_EQ(mkfifo(folder.Path("fifo").c_str(), 0600), 0);
  fs::create_symlink(text, folder.Path("link-to-text"));
  fs::create_symlink(folder.Path("fifo"), folder.Path("link-to-fifo"));
  fs::create_directory(folder.Path("folder"));
  struct Case {
    std::string path;
    SettingsFileState state;
  };
  const Case cases[] = {
      {text, SettingsFileState::kForeign},
      {folder.Path("link-to-text"), SettingsFileState::kForeign},
      {folder.Path("fifo"), SettingsFileState::kNotRegular},  // never waits for a writer
      {folder.Path("link-to-fifo"), SettingsFileState::kNotRegular},
      {folder.Path("folder"), SettingsFileState::kNotRegular},
      {"/dev/zero", SettingsFileState::kNotRegular},  // never read without end
      {"/dev/null", SettingsFileState::kNotRegular},
  };
  for (const Case& c : cases) {
    CSysDataManager manager(c.path);
    manager.Load();
    EXPECT_EQ(manager.fileState(), c.state) << c.path;
    EXPECT_EQ(manager.data, CSysData{}) << c.path;
    manager.data.logLines.push_back("2026-12-08 10:00   Dec:1+1=2");
    EXPECT_FALSE(manager.Save()) << c.path;
    EXPECT_FALSE(manager.Save(manager.data)) << c.path;
  }
  EXPECT_EQ(ReadFile(text), "hello\nworld\n");
  EXPECT_TRUE(fs::is_fifo(folder.Path("fifo")));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_TRUE(TemporariesIn(folder.path()).empty());

  // The windows say so at start and work in memory.
  RecordingSink sink;
  CalculatorModel window(text, sink);
  window.Initialise();
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_NE(sink.messages[0].text.find("is not a Calvoro settings file"), std::string::npos);
  EXPECT_TRUE(window.Calculate("(m)=6").ok);
  EXPECT_EQ(window.Calculate("m*7").display(), "6*7=42");
  EXPECT_EQ(ReadFile(text), "hello\nworld\n");
}

TEST(SharedSettingsTest, EmptyAndCutFilesAreOursToWrite) {
  const TestFolder folder("shared_ours");
  for (const std::string& bytes : {std::string(), std::string("\x1dSysData Man")}) {
    const std::string path = folder.Write("SysData.dat", bytes);
    CSysDataManager manager(path);
    manager.Load();
    EXPECT_EQ(manager.fileState(), SettingsFileState::kUsable);
    manager.data.paramF = "3";
    ASSERT_TRUE(manager.Save());
    CSysDataManager reader(path);
    ASSERT_TRUE(reader.Load());
    EXPECT_EQ(reader.data.paramF, "3");
  }
}

TEST(SharedSettingsTest, ReadingIsBoundedByTheFile) {
  // Three million empty log lines take three megabytes of file; only the
  // newest lines are kept in memory.
  CSysData record;
  std::string bytes = EncodeSysData(record);
  const std::size_t count_at = 30 + 4 * 2 + 104 + 8 + 3 * 4;
  const std::uint32_t count = 3'000'000;
  std::string lines(count - 1, '\0');
  lines += "\x04last";
  bytes.replace(count_at, 4,
                std::string{char(count & 0xff), char((count >> 8) & 0xff),
                            char((count >> 16) & 0xff), char(count >> 24)});
  bytes.insert(count_at + 4, lines);
  const TestFolder folder("shared_bounded");
  CSysDataManager manager(folder.Write("SysData.dat", bytes));
  ASSERT_TRUE(manager.Load());
  ASSERT_EQ(manager.data.logLines.size(), kMaxLogLines);
  EXPECT_EQ(manager.data.logLines.back(), "last");
  EXPECT_EQ(manager.data.logLines.front(), "");
}

TEST(SharedSettingsTest, SavesKeepEveryWritersChanges) {
  const TestFolder folder("shared_merge");
  const std::string path = folder.Path("SysData.dat");
  CSysDataManager seed(path);
  seed.data.logLines = {"old"};
  ASSERT_TRUE(seed.Save());

  CSysDataManager a(path), b(path), c(path);
  for (CSysDataManager* m : {&a, &b, &c}) m->Load();
  a.data.logLines.push_back("a1");
  a.data.paramM = "5";
  b.data.logLines.push_back("b1");
  b.data.paramK = "7";
  ASSERT_TRUE(a.Save());
  ASSERT_TRUE(b.Save());
  // b's record now has a's line too; its own fields stay its own.
  EXPECT_EQ(b.data.logLines, (std::vector<std::string>{"old", "a1", "b1"}));
  EXPECT_EQ(b.data.paramM, "1");
  // b removes a line that a wrote, a adds one, c (which changed nothing but
  // its log) never writes back the M and K it loaded.
  b.data.logLines.erase(b.data.logLines.begin() + 1);
  ASSERT_TRUE(b.Save());
  a.data.logLines.push_back("a2");
  ASSERT_TRUE(a.Save());
  c.data.logLines.push_back("c1");
  ASSERT_TRUE(c.Save());

  CSysDataManager reader(path);
  ASSERT_TRUE(reader.Load());
  EXPECT_EQ(reader.data.logLines, (std::vector<std::string>{"old", "b1", "a2", "c1"}));
  EXPECT_EQ(reader.data.paramM, "5");
  EXPECT_EQ(reader.data.paramK, "7");
  EXPECT_EQ(a.unsavedLogLines(), 0u);
}

TEST(SharedSettingsTest, TemporariesOfEndedProcessesGoAtTheNextSave) {
  const TestFolder folder("shared_stale");
  const std::string path = folder.Path("SysData.dat");
  const pid_t live = fork();
  if (live == 0) {
    pause();
    _exit(0);
  }
  const std::string dead_name = "SysData.dat.tmp" + std::to_string(DeadPid()) + ".aB3dE9";
  const std::string live_name = "SysData.dat.tmp" + std::to_string(live) + ".xY7zQ1";
  for (const std::string& name : {dead_name, live_name, std::string("SysData.dat.backup"),
                                  std::string("SysData.dat.tmp1.toolong")})
    folder.Write(name, "partial");
  CSysDataManager manager(path);
  EXPECT_TRUE(manager.Save());
  EXPECT_FALSE(fs::exists(folder.Path(dead_name)));
  EXPECT_TRUE(fs::exists(folder.Path(live_name)));
  EXPECT_TRUE(fs::exists(folder.Path("SysData.dat.backup")));
  EXPECT_TRUE(fs::exists(folder.Path("SysData.dat.tmp1.toolong")));
  kill(live, SIGKILL);
  waitpid(live, nullptr, 0);
}

TEST(SharedSettingsTest, InterruptedWritersRemoveTheirTemporaries) {
  const TestFolder folder("shared_signal");
  for (int signal_number : {SIGINT, SIGTERM, SIGHUP}) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    if (child == 0) {
      TemporaryFile temporary(folder.Path("SysData.dat"));
      FdWriter(temporary.fd()).Write("half a record");
      const char byte = temporary.ok() ? 'y' : 'n';
      (void)!write(ready[1], &byte, 1);
      for (;;) pause();
    }
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    EXPECT_EQ(byte, 'y');
    EXPECT_EQ(TemporariesIn(folder.path()).size(), 1u);
    kill(child, signal_number);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << signal_number;
    EXPECT_TRUE(TemporariesIn(folder.path()).empty()) << signal_number;
    close(ready[0]);
    close(ready[1]);
  }
}

TEST(SharedSettingsTest, WindowsClearAStaleTipOpenAtStart) {
  const TestFolder folder("shared_tip");
  const std::string path = folder.Path("SysData.dat");
  CSysData stale;
  stale.tipOpen = true;
  ASSERT_TRUE(CSysDataManager(path).Save(stale));
  RecordingSink sink;
  CalculatorModel window(path, sink);
  window.Initialise();
  EXPECT_TRUE(window.Calculate("1+1").ok);
  CSysDataManager reader(path);
  reader.Load();
  EXPECT_FALSE(reader.data.tipOpen);
  EXPECT_TRUE(sink.empty());
}

TEST(SharedSettingsTest, LogLinesKeepTheInputAndResultAndShortenASubstitutedLine) {
  const TestFolder folder("shared_log_line");
  RecordingSink sink;
  CalculatorModel window(folder.Path("SysData.dat"), sink);
  window.data().paramM = std::string(100000, '9');
  const CommandResult result = window.Calculate("m-m+1");
  ASSERT_TRUE(result.ok);
  const std::string& line = window.data().logLines.back();
  const std::string head = "Dec:m-m+1=" + std::string(kMaxLoggedFirstLine, '9');
  EXPECT_NE(line.find(head + "...[200003 characters]=1"), std::string::npos);
  EXPECT_LT(line.size(), kMaxLoggedFirstLine + 100);
}

}  // namespace
}  // namespace calvoro
