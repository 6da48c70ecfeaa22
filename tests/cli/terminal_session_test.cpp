// calvoro-cli at a terminal: a pseudo-terminal types at the session, which
// must prompt, edit lines and recall them from its history.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
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

  void Type(const std::string& keys) {
    ASSERT_EQ(write(terminal_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }
  // Reads the screen output until `text` has appeared (or 10 s have passed).
  bool WaitFor(const std::string& text) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (screen_.find(text) == std::string::npos) {
      if (std::chrono::steady_clock::now() > end) return false;
      pollfd ready{terminal_, POLLIN, 0};
      if (poll(&ready, 1, 100) <= 0) continue;
      char buffer[4096];
      const ssize_t got = read(terminal_, buffer, sizeof buffer);
      if (got <= 0) return screen_.find(text) != std::string::npos;
      screen_.append(buffer, static_cast<std::size_t>(got));
    }
    return true;
  }
  // The exit status once the session has ended.
  int Wait() {
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  const std::string& screen() const { return screen_; }

 private:
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
    EXPECT_TRUE(session.WaitFor("2*21=42")) << session.screen();
    // Up arrow recalls the line, Backspace and 3 change its last digit.
    session.Type(
        "\x1b[A\x7f"
        "3\r");
    EXPECT_TRUE(session.WaitFor("2*23=46")) << session.screen();
    // Ctrl+A moves to the start of the line: "1+" goes in front.
    session.Type(
        "5\x01"
        "1+\r");
    EXPECT_TRUE(session.WaitFor("1+5=6")) << session.screen();
    session.Type("\x04");  // Ctrl+D ends the session
    EXPECT_EQ(session.Wait(), 0) << session.screen();
  }
  std::remove(settings.c_str());
}

}  // namespace
