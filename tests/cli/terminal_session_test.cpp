// calvoro-cli at a terminal: a pseudo-terminal types at the session, which
// must prompt, edit lines, recall them from its history (kept across
// sessions), complete names and answer help, quit and exit.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "tests/support/test_folder.h"

namespace {

class TerminalSession {
 public:
  // `home`: the home folder, which holds the history.
  TerminalSession(const std::string& settings, const std::string& home) {
    pid_ = forkpty(&terminal_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
      setenv("HOME", home.c_str(), 1);
      unsetenv("XDG_STATE_HOME");
      execl(CALVORO_CLI, "calvoro-cli", "--settings", settings.c_str(), nullptr);
      _exit(127);
    }
  }
  ~TerminalSession() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (terminal_ >= 0) close(terminal_);
  }
  bool started() const { return pid_ > 0; }

  // Types once the line editor has the terminal (its line mode is off):
  // keys typed earlier meet the terminal's own line mode instead.
  void Type(const std::string& keys) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    termios mode{};
    while (tcgetattr(terminal_, &mode) == 0 && (mode.c_lflag & ICANON) != 0 &&
           std::chrono::steady_clock::now() < end)
      ReadSome(5);
    ASSERT_EQ(write(terminal_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }
  // Reads the screen output until `text` has appeared (or 10 s have passed).
  bool WaitFor(const std::string& text) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (screen_.find(text) == std::string::npos) {
      if (std::chrono::steady_clock::now() > end || !ReadSome(100)) break;
    }
    return screen_.find(text) != std::string::npos;
  }
  // The exit status once the session has ended, reading what it still
  // writes meanwhile (a full terminal buffer would stop it); -1 when it has
  // not ended within 10 s.
  int Wait() {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    int status = 0;
    while (waitpid(pid_, &status, WNOHANG) == 0) {
      if (std::chrono::steady_clock::now() > end) return -1;
      ReadSome(100);
    }
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  const std::string& screen() const { return screen_; }

 private:
  // Adds what the session writes within `timeout_ms` to the screen; false
  // once the terminal is closed.
  bool ReadSome(int timeout_ms) {
    pollfd ready{terminal_, POLLIN, 0};
    if (poll(&ready, 1, timeout_ms) <= 0) return true;
    char buffer[4096];
    const ssize_t got = read(terminal_, buffer, sizeof buffer);
    if (got <= 0) return false;
    screen_.append(buffer, static_cast<std::size_t>(got));
    return true;
  }

  int terminal_ = -1;
  pid_t pid_ = -1;
  std::string screen_;
};

TEST(TerminalSessionTest, PromptsEditsAndRecallsHistory) {
  const calvoro::testing::TestFolder folder("calvoro_terminal");
  const std::string settings = folder.Path("SysData.dat");
  TerminalSession session(settings, folder.path().string());
  ASSERT_TRUE(session.started());
  ASSERT_TRUE(session.WaitFor("> ")) << session.screen();
  session.Type("2*21\r");
  EXPECT_TRUE(session.WaitFor("2*21=42\r\n> ")) << session.screen();
  // Up arrow recalls the line, Backspace and 3 change its last digit.
  session.Type(
      "\x1b[A\x7f"
      "3\r");
  EXPECT_TRUE(session.WaitFor("2*23=46\r\n> ")) << session.screen();
  // Ctrl+A moves to the start of the line: "1+" goes in front.
  session.Type(
      "5\x01"
      "1+\r");
  EXPECT_TRUE(session.WaitFor("1+5=6\r\n> ")) << session.screen();
  session.Type("\x04");  // Ctrl+D ends the session
  EXPECT_EQ(session.Wait(), 0) << session.screen();
}

TEST(TerminalSessionTest, HelpCompletionQuitAndHistoryAcrossSessions) {
  const calvoro::testing::TestFolder folder("calvoro_terminal");
  const std::string settings = folder.Path("SysData.dat");
  const std::string history = folder.Path(".local/state/calvoro/history");
  {
    TerminalSession session(settings, folder.path().string());
    ASSERT_TRUE(session.started());
    ASSERT_TRUE(session.WaitFor("> ")) << session.screen();
    session.Type("7*6\r");
    ASSERT_TRUE(session.WaitFor("7*6=42\r\n> ")) << session.screen();
    session.Type(" Help \r");
    EXPECT_TRUE(session.WaitFor("  last1=42\r\n")) << session.screen();
    for (const char* text : {"arcsin", "sqrt", "M=1", "Pi=3.14159", "quit or exit"})
      EXPECT_NE(session.screen().find(text), std::string::npos) << text;
    // Tab completes a function name (with its bracket) and the common
    // beginning of the memories.
    session.Type("2sq\t9)+las\t1\r");
    EXPECT_TRUE(session.WaitFor("\r\n2*sqrt(9)+42=48\r\n> ")) << session.screen();
    session.Type("quit\r");
    EXPECT_EQ(session.Wait(), 0) << session.screen();
  }
  EXPECT_EQ(calvoro::testing::ReadFile(history), "7*6\n Help \n2sqrt(9)+last1\nquit\n");
  // A full history keeps its newest 1,000 lines.
  std::string full;
  for (int i = 1; i <= 1000; ++i) full += std::to_string(i) + "+1\n";
  std::ofstream(history) << full;
  {
    TerminalSession session(settings, folder.path().string());
    ASSERT_TRUE(session.WaitFor("> ")) << session.screen();
    session.Type("\x1b[A\r");  // the newest line of the file
    EXPECT_TRUE(session.WaitFor("1000+1=1001\r\n> ")) << session.screen();
    session.Type("exit\r");
    EXPECT_EQ(session.Wait(), 0) << session.screen();
  }
  const std::string kept = calvoro::testing::ReadFile(history);
  EXPECT_EQ(std::count(kept.begin(), kept.end(), '\n'), 1000);
  EXPECT_TRUE(kept.starts_with("2+1\n")) << kept.substr(0, 20);
  EXPECT_TRUE(kept.ends_with("1000+1\nexit\n")) << kept.substr(kept.size() - 20);
}

// A history file that is a link (planted in a folder others may write to,
// or not) or not a regular file is never read or written; a state folder
// others may write to is not used at all. The session goes on without
// history.
TEST(TerminalSessionTest, LinkedOrOpenHistoriesAreRefused) {
  namespace fs = std::filesystem;
  const calvoro::testing::TestFolder folder("calvoro_terminal_links");
  const std::string state = folder.Path(".local/state/calvoro");
  const std::string history = state + "/history";
  const std::string target = folder.Write("bashrc", "export A=1\n");
  const struct {
    const char* name;
    std::function<void()> plant;
    std::string message;
  } cases[] = {
      {"link", [&] { fs::create_symlink(target, history); }, "history is a symbolic link"},
      {"fifo", [&] { mkfifo(history.c_str(), 0600); }, "history is not a regular file"},
      {"open folder",
       [&] {
         fs::create_symlink(target, history);
         fs::permissions(state, fs::perms::all);
       },
       "is not safe to use (others may write to it)"},
  };
  for (const auto& c : cases) {
    fs::remove_all(folder.Path(".local"));
    fs::create_directories(state);
    fs::permissions(state, fs::perms::owner_all);
    c.plant();
    TerminalSession session(folder.Path("SysData.dat"), folder.path().string());
    ASSERT_TRUE(session.WaitFor("> ")) << c.name << session.screen();
    session.Type("1+1\r");
    EXPECT_TRUE(session.WaitFor("1+1=2\r\n> ")) << c.name << session.screen();
    session.Type("quit\r");
    EXPECT_EQ(session.Wait(), 0) << c.name;
    EXPECT_NE(session.screen().find(c.message), std::string::npos) << c.name << session.screen();
    EXPECT_EQ(calvoro::testing::ReadFile(target), "export A=1\n") << c.name;
  }
}

TEST(TerminalSessionTest, AHugeHistoryIsReadFromItsEndOnly) {
  const calvoro::testing::TestFolder folder("calvoro_terminal_huge");
  const std::string state = folder.Path(".local/state/calvoro");
  std::filesystem::create_directories(state);
  std::filesystem::permissions(state, std::filesystem::perms::owner_all);
  std::ofstream(state + "/history") << std::string(50 << 20, '\n') << "6*7\n";
  TerminalSession session(folder.Path("SysData.dat"), folder.path().string());
  ASSERT_TRUE(session.WaitFor("> ")) << session.screen();
  session.Type("\x1b[A\r");
  EXPECT_TRUE(session.WaitFor("6*7=42\r\n> ")) << session.screen();
  session.Type("quit\r");
  EXPECT_EQ(session.Wait(), 0);
}

}  // namespace
