// calvoro-cli at a terminal: a pseudo-terminal types at the session, which
// must prompt, edit lines and recall them from its history.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <string>

namespace {

class TerminalSession {
 public:
  explicit TerminalSession(const std::string& settings) {
    pid_ = forkpty(&terminal_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
      setenv("HOME", ::testing::TempDir().c_str(), 1);
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
  const std::string settings =
      ::testing::TempDir() + "/calvoro_terminal_" + std::to_string(getpid());
  {
    TerminalSession session(settings);
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
  std::remove(settings.c_str());
}

}  // namespace
