// calvoro-cli processes sharing one settings file: many at once, long
// sessions beside other writers, processes killed or interrupted in the
// middle, files that are not settings records, a full disk, and inputs far
// beyond the engine's bounds. Every wait is bounded; every process is ended
// by its pid.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "app/sys_data.h"
#include "tests/cli/run_cli.h"
#include "tests/support/test_folder.h"

extern char** environ;

namespace calvoro {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TestFolder;
using testing_cli::CliRun;
using testing_cli::RunCli;

// calvoro-cli started with its standard input from `input_fd` (or the file
// `input`), its output into `output` (or /dev/null).
pid_t StartCli(const std::vector<std::string>& args, const std::string& input, int input_fd = -1,
               const std::string& output = "/dev/null") {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (input_fd >= 0) {
    posix_spawn_file_actions_adddup2(&actions, input_fd, STDIN_FILENO);
  } else {
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, input.c_str(), O_RDONLY, 0);
  }
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, output.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0644);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  std::vector<char*> argv{const_cast<char*>(CALVORO_CLI)};
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  pid_t pid = -1;
  posix_spawn(&pid, CALVORO_CLI, &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  return pid;
}

// The wait status of `pid`, which is killed after `limit`.
int WaitFor(pid_t pid, std::chrono::seconds limit = std::chrono::seconds(60)) {
  const auto end = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > end) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      ADD_FAILURE() << "calvoro-cli did not end in time";
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return status;
}

bool ExitedWith(int status, int code) { return WIFEXITED(status) && WEXITSTATUS(status) == code; }

// Polls `done` every millisecond for at most ten seconds.
template <typename Done>
bool Eventually(Done done) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

std::size_t LineCount(const std::string& path) {
  const std::string text = ReadFile(path);
  return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

class SharedCliTest : public ::testing::Test {
 protected:
  CSysData Record(bool* loaded = nullptr) const {
    CSysDataManager manager(path);
    const bool result = manager.Load();
    if (loaded) *loaded = result;
    return manager.data;
  }
  // The log lines' bodies after "Dec:", as a set.
  std::multiset<std::string> Bodies() const {
    std::multiset<std::string> bodies;
    for (const std::string& line : Record().logLines)
      bodies.insert(line.substr(line.find("Dec:") + 4));
    return bodies;
  }
  std::vector<std::string> Temporaries() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder.path())) {
      const std::string name = entry.path().filename();
      if (name.find(".tmp") != std::string::npos) names.push_back(name);
    }
    return names;
  }

  TestFolder folder{"shared_cli"};
  std::string path = folder.Path("SysData.dat");
};

TEST_F(SharedCliTest, ManyProcessesAtOnceLoseNoLogLineAndNoAssignment) {
  std::vector<pid_t> processes;
  std::multiset<std::string> expected;
  const char letters[] = {'f', 'k', 'm', 'w'};
  for (int i = 0; i < 8; ++i) {
    // Four assign their own parameter 1..60 between calculations; four
    // only calculate.
    std::string input;
    for (int j = 1; j <= 60; ++j) {
      if (i < 4) input += std::string("(") + letters[i] + ")=" + std::to_string(j) + "\n";
      input += "100000*" + std::to_string(i) + "+" + std::to_string(j) + "\n";
      expected.insert("100000*" + std::to_string(i) + "+" + std::to_string(j) + "=" +
                      std::to_string(100000 * i + j));
    }
    processes.push_back(
        StartCli({"--settings", path}, folder.Write("in" + std::to_string(i) + ".txt", input)));
  }
  for (int k = 0; k < 50; ++k) {
    const std::string sum = "7000000+" + std::to_string(k);
    expected.insert(sum + "=" + std::to_string(7000000 + k));
    processes.push_back(StartCli({"--settings", path, sum}, "/dev/null"));
  }
  for (pid_t process : processes) EXPECT_TRUE(ExitedWith(WaitFor(process), 0));
  EXPECT_EQ(Bodies(), expected);
  const CSysData record = Record();
  for (const std::string* value : {&record.paramF, &record.paramK, &record.paramM, &record.paramW})
    EXPECT_EQ(*value, "60");
  EXPECT_TRUE(Temporaries().empty());
}

TEST_F(SharedCliTest, ALongSessionNeverWritesBackWhatAnotherProcessChanged) {
  int feed[2];
  ASSERT_EQ(pipe2(feed, O_CLOEXEC), 0);
  const pid_t session = StartCli({"--settings", path}, "", feed[0]);
  close(feed[0]);
  ASSERT_EQ(write(feed[1], "1+1\n", 4), 4);
  ASSERT_TRUE(Eventually([&] { return Record().logLines.size() == 1; }));
  EXPECT_EQ(RunCli({"--settings", path, "(m)=7"}).status, 0);
  ASSERT_EQ(write(feed[1], "2+2\n", 4), 4);
  close(feed[1]);
  EXPECT_TRUE(ExitedWith(WaitFor(session), 0));
  EXPECT_EQ(Record().paramM, "7");
  EXPECT_EQ(Bodies(), (std::multiset<std::string>{"1+1=2", "2+2=4"}));
}

TEST_F(SharedCliTest, ProcessesKilledInTheirSavesLeaveAFileThatLoads) {
  // A large log makes every save take a while, so that kills meet saves.
  CSysData seed;
  seed.logLines.assign(kMaxLogLines, "2026-12-08 10:00   Dec:" + std::string(100, '1') + "+1");
  ASSERT_TRUE(CSysDataManager(path).Save(seed));
  std::string input;
  // Each batch runs about half a second: saves every quarter of a second.
  for (int j = 0; j < 300; ++j)
    input += "(m)=" + std::to_string(j) + "\nfac(6000)+" + std::to_string(j) + "\n";
  const std::string in = folder.Write("in.txt", input);
  // Every other round kills at a random moment; the others kill as soon as
  // a save is under way (its temporary file is there).
  std::mt19937 random(18);
  std::size_t left_behind = 0;
  for (int round = 0; round < 10; ++round) {
    std::vector<pid_t> processes;
    for (int k = 0; k < 3; ++k) processes.push_back(StartCli({"--settings", path}, in));
    if (round % 2 == 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(random() % 600));
    } else {
      Eventually([&] { return !Temporaries().empty(); });
    }
    for (pid_t process : processes) kill(process, SIGKILL);
    for (pid_t process : processes) WaitFor(process);
    bool loaded = false;
    const CSysData record = Record(&loaded);
    EXPECT_TRUE(loaded) << round;
    EXPECT_EQ(record.logLines.size(), kMaxLogLines) << round;
    left_behind += Temporaries().size();
  }
  EXPECT_GT(left_behind, 0u);
  // The next save removes what the killed processes left.
  EXPECT_EQ(RunCli({"--settings", path, "1+1"}).status, 0);
  EXPECT_TRUE(Temporaries().empty());
}

TEST_F(SharedCliTest, InterruptedBatchesSaveWhatTheyDid) {
  const rlimit no_core{0, 0};
  setrlimit(RLIMIT_CORE, &no_core);  // SIGQUIT, SIGXCPU and SIGXFSZ dump none
  for (int signal_number :
       {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXCPU, SIGXFSZ, SIGUSR1, SIGUSR2, SIGALRM}) {
    fs::remove(path);
    int feed[2];
    ASSERT_EQ(pipe2(feed, O_CLOEXEC), 0);
    const std::string output = folder.Path("out.txt");
    const pid_t session = StartCli({"--settings", path}, "", feed[0], output);
    close(feed[0]);
    const std::string lines = "1+1\n2+2\n3+3\n";
    ASSERT_EQ(write(feed[1], lines.data(), lines.size()), static_cast<ssize_t>(lines.size()));
    ASSERT_TRUE(Eventually([&] { return LineCount(output) == 3; }));
    kill(session, signal_number);
    const int status = WaitFor(session);
    close(feed[1]);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << signal_number;
    EXPECT_EQ(Bodies(), (std::multiset<std::string>{"1+1=2", "2+2=4", "3+3=6"})) << signal_number;
    EXPECT_TRUE(Temporaries().empty());
  }
}

TEST_F(SharedCliTest, AnInterruptStopsTheRunningCalculation) {
  // sin(1) at a million digits takes seconds; Ctrl-C ends it at once, the
  // batch keeps what it finished and ends by the signal.
  int feed[2];
  ASSERT_EQ(pipe2(feed, O_CLOEXEC), 0);
  const std::string output = folder.Path("out.txt");
  const pid_t session =
      StartCli({"--settings", path, "--precision", "1000000"}, "", feed[0], output);
  close(feed[0]);
  const std::string lines = "1+1\nsin(1)+sin(2)\n";
  ASSERT_EQ(write(feed[1], lines.data(), lines.size()), static_cast<ssize_t>(lines.size()));
  ASSERT_TRUE(Eventually([&] { return LineCount(output) == 1; }));
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  kill(session, SIGINT);
  const int status = WaitFor(session, std::chrono::seconds(5));
  close(feed[1]);
  EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGINT);
  EXPECT_EQ(Bodies(), (std::multiset<std::string>{"1+1=2"}));
}

// Runs a shell command line; its exit status.
int Shell(const std::string& command) {
  const int raw = std::system(("bash -c " + testing_cli::Quote(command)).c_str());
  return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
}

TEST_F(SharedCliTest, AClosedOutputEndsTheBatchAndKeepsEveryLineItPrinted) {
  const std::string out = folder.Path("out.txt");
  const int status = Shell("seq 1 20000 | sed 's/$/*3+1/' | " + testing_cli::Quote(CALVORO_CLI) +
                           " --settings " + testing_cli::Quote(path) + " | head -n 50 >" +
                           testing_cli::Quote(out) + "; exit ${PIPESTATUS[2]}");
  EXPECT_EQ(status, 128 + SIGPIPE);
  EXPECT_EQ(LineCount(out), 50u);
  // Every line the reader got is logged, in order from the first.
  const std::vector<std::string> log = Record().logLines;
  ASSERT_GE(log.size(), 50u);
  ASSERT_LT(log.size(), 20000u);
  for (std::size_t i = 0; i < log.size(); ++i)
    ASSERT_TRUE(
        log[i].ends_with("Dec:" + std::to_string(i + 1) + "*3+1=" + std::to_string(3 * i + 4)))
        << log[i];
}

TEST_F(SharedCliTest, AnOutputBeyondTheFileSizeLimitIsReportedNotKilled) {
  std::string input;
  for (int i = 0; i < 300; ++i) input += std::to_string(i) + "+1\n";
  const int status =
      Shell("trap '' XFSZ; ulimit -f 1; exec " + testing_cli::Quote(CALVORO_CLI) + " --settings " +
            testing_cli::Quote(path) + " <" + testing_cli::Quote(folder.Write("in.txt", input)) +
            " >" + testing_cli::Quote(folder.Path("out.txt")) + " 2>" +
            testing_cli::Quote(folder.Path("err.txt")));
  EXPECT_EQ(status, 1);
  EXPECT_NE(ReadFile(folder.Path("err.txt"))
                .find("the standard output could not be written (File too large)"),
            std::string::npos)
      << ReadFile(folder.Path("err.txt"));
}

TEST_F(SharedCliTest, ALockHeldByAStoppedProcessLosesNoLine) {
  ASSERT_EQ(RunCli({"--settings", path, "1+1"}).status, 0);
  const pid_t holder = fork();
  if (holder == 0) {
    const int fd = open((path + ".lock").c_str(), O_RDWR);
    if (fd < 0 || flock(fd, LOCK_EX) != 0) _exit(1);
    raise(SIGSTOP);
    _exit(0);
  }
  int stopped = 0;
  ASSERT_EQ(waitpid(holder, &stopped, WUNTRACED), holder);
  ASSERT_TRUE(WIFSTOPPED(stopped));
  std::string input;
  for (int i = 0; i < 1000; ++i) input += "1000+" + std::to_string(i) + "\n";
  const CliRun batch = RunCli({"--settings", path}, input);
  kill(holder, SIGKILL);
  waitpid(holder, nullptr, 0);
  EXPECT_EQ(batch.status, 1);
  EXPECT_NE(batch.err.find(path + ".lock is held by process " + std::to_string(holder)),
            std::string::npos)
      << batch.err;
  EXPECT_NE(batch.err.find("the last 1000 log lines of this run are kept in " + path + ".pending-"),
            std::string::npos)
      << batch.err;
  EXPECT_EQ(RunCli({"--settings", path, "2+2"}).status, 0);
  EXPECT_EQ(Record().logLines.size(), 1002u);
  for (const auto& entry : fs::directory_iterator(folder.path()))
    EXPECT_EQ(entry.path().filename().string().find(".pending-"), std::string::npos);
}

// Forty batches at once, each ended by a random way: a signal that ends it
// (SIGKILL among them), a reader that stops reading, or the end of its
// input. The signalled batches read from pipes kept open, so that every
// signal meets a running batch. Every line a batch printed is in the file
// unless that batch was killed.
TEST_F(SharedCliTest, FortyWritersEndedEveryWayLoseNoPrintedLine) {
  const rlimit no_core{0, 0};
  setrlimit(RLIMIT_CORE, &no_core);
  const int kWays[] = {SIGTERM, SIGINT,  SIGHUP,  SIGQUIT, SIGUSR1, SIGUSR2,
                       SIGALRM, SIGXCPU, SIGXFSZ, SIGKILL, SIGPIPE, 0};
  std::mt19937 random(29);
  struct Writer {
    pid_t pid = -1;
    int way = 0;
    int feed = -1;  // the pipe's write end
    std::string out;
  };
  std::vector<Writer> writers(40);
  for (int i = 0; i < 40; ++i) {
    Writer& writer = writers[i];
    writer.way = kWays[random() % std::size(kWays)];
    writer.out = folder.Path("out" + std::to_string(i));
    std::string input;
    // 40 x 2000 lines stay below the log's bound of 100,000 lines, which drops the oldest.
    for (int j = 0; j < 2000; ++j) input += std::to_string(i * 1000000 + j) + "+1\n";
    if (writer.way == SIGPIPE) {
      // A reader that stops after some lines: the batch meets a closed output.
      const std::string command =
          testing_cli::Quote(CALVORO_CLI) + " --settings " + testing_cli::Quote(path) + " <" +
          testing_cli::Quote(folder.Write("in" + std::to_string(i), input)) + " | head -n " +
          std::to_string(random() % 2000) + " >" + testing_cli::Quote(writer.out);
      const char* argv[] = {"bash", "-c", command.c_str(), nullptr};
      posix_spawn(&writer.pid, "/bin/bash", nullptr, nullptr, const_cast<char**>(argv), environ);
      continue;
    }
    int feed[2];
    ASSERT_EQ(pipe2(feed, O_CLOEXEC), 0);
    writer.pid = StartCli({"--settings", path}, "", feed[0], writer.out);
    close(feed[0]);
    writer.feed = feed[1];
    ASSERT_EQ(write(writer.feed, input.data(), input.size()), static_cast<ssize_t>(input.size()));
  }
  for (Writer& writer : writers) {
    if (writer.feed < 0 || writer.way == 0) continue;
    std::this_thread::sleep_for(std::chrono::milliseconds(random() % 40));
    kill(writer.pid, writer.way);
  }
  int signalled = 0;
  for (Writer& writer : writers) {
    if (writer.feed >= 0) close(writer.feed);
    const int status = WaitFor(writer.pid);
    if (writer.feed >= 0 && writer.way != 0)
      signalled += WIFSIGNALED(status) && WTERMSIG(status) == writer.way;
  }
  EXPECT_EQ(signalled, std::count_if(writers.begin(), writers.end(), [](const Writer& writer) {
              return writer.way != 0 && writer.way != SIGPIPE;
            }));
  // A batch that met the lock held at its end left its lines in a pending
  // file; the next save merges them.
  EXPECT_EQ(RunCli({"--settings", path, "1+1"}).status, 0);
  const std::multiset<std::string> logged = Bodies();
  std::size_t lost = 0;
  for (const Writer& writer : writers) {
    if (writer.way == SIGKILL) continue;
    const std::string printed = ReadFile(writer.out);
    for (std::size_t start = 0, end; (end = printed.find('\n', start)) != std::string::npos;
         start = end + 1)
      lost += logged.count(printed.substr(start, end - start)) == 0;
  }
  EXPECT_EQ(lost, 0u);
  // The file loads, and that save removed what the killed batches left.
  EXPECT_TRUE(Temporaries().empty());
  bool loaded = false;
  Record(&loaded);
  EXPECT_TRUE(loaded);
}

TEST_F(SharedCliTest, AWindowsOpenTipNeverBlocksTheCli) {
  CSysData record;
  record.tipOpen = true;
  ASSERT_TRUE(CSysDataManager(path).Save(record));
  const CliRun run = RunCli({"--settings", path, "1+1"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "1+1=2\n");
  EXPECT_TRUE(Record().tipOpen);  // the window's to clear
}

TEST_F(SharedCliTest, FilesThatAreNotSettingsAreRefusedWithStatusTwo) {
  const std::string text = folder.Write("notes.txt", "my notes\n");
  const std::string fifo = folder.Path("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::string source = folder.Write("in.txt", "1+1\n");
  for (const std::string& file : {text, fifo, std::string("/dev/zero")}) {
    const std::vector<std::vector<std::string>> commands = {
        {"--settings", file, "1+1"},
        {"log", "--clear", "--settings", file},
        {"robot", source, "--settings", file},
        {"convert", "1", "inch", "foot(UK and US)", "--category", "length", "--settings", file},
    };
    for (const auto& command : commands) {
      const CliRun run = RunCli(command);
      EXPECT_EQ(run.status, 2) << command[0] << " " << file;
      EXPECT_NE(run.err.find(file), std::string::npos) << run.err;
    }
  }
  EXPECT_EQ(ReadFile(text), "my notes\n");
  EXPECT_TRUE(fs::is_fifo(fifo));
}

TEST_F(SharedCliTest, AFailedSaveSaysWhatIsLostAndEndsWithStatusOne) {
  // The file may grow to 4 KiB: the first saves of the slowly fed batch
  // succeed, the later ones fail (File too large).
  const std::string number(200, '7');
  const std::string feeder = "for i in $(seq 1 20); do echo " + number +
                             "+$i; sleep 0.06; done | bash -c 'trap \"\" XFSZ; ulimit -f 4; exec " +
                             testing_cli::Quote(CALVORO_CLI) + " --settings " +
                             testing_cli::Quote(path) + "' >/dev/null 2>" +
                             testing_cli::Quote(folder.Path("err.txt"));
  const int status = std::system(("bash -c " + testing_cli::Quote(feeder)).c_str());
  EXPECT_TRUE(ExitedWith(status, 1)) << status;
  const std::string err = ReadFile(folder.Path("err.txt"));
  const std::size_t kept = Record().logLines.size();
  EXPECT_GT(kept, 0u);
  EXPECT_LT(kept, 20u);
  EXPECT_NE(err.find("could not be written (File too large)"), std::string::npos) << err;
  EXPECT_NE(err.find("the last " + std::to_string(20 - kept) + " log lines of this run"),
            std::string::npos)
      << err;
  EXPECT_TRUE(Temporaries().empty());
}

TEST_F(SharedCliTest, InputFarBeyondTheBoundsIsRefusedWithoutGigabytes) {
  std::string input;
  for (int i = 0; i < 10'000'000; ++i) input += "1+";
  input += "1\n";
  input += std::string(100000, '(') + "1" + std::string(100000, ')') + "\n";
  const std::string in = folder.Write("huge.txt", input);
  // Within a gigabyte of address space (not under the sanitizers, whose
  // shadow memory needs more).
#if defined(__SANITIZE_ADDRESS__)
  const std::string limit;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  const std::string limit;
#else
  const std::string limit = "ulimit -v 1000000; ";
#endif
#else
  const std::string limit = "ulimit -v 1000000; ";
#endif
  // The step text's bounds: without it a long sum is calculated.
  const std::string command = limit + "exec " + testing_cli::Quote(CALVORO_CLI) +
                              " --steps --settings " + testing_cli::Quote(path) + " <" +
                              testing_cli::Quote(in) + " 2>" +
                              testing_cli::Quote(folder.Path("err.txt"));
  const int status = std::system(("bash -c " + testing_cli::Quote(command)).c_str());
  EXPECT_TRUE(ExitedWith(status, 1));
  const std::string err = ReadFile(folder.Path("err.txt"));
  EXPECT_NE(err.find("more than 256 operators"), std::string::npos) << err.substr(0, 300);
  EXPECT_NE(err.find("more than 1000 levels deep"), std::string::npos) << err.substr(0, 300);
}

}  // namespace
}  // namespace calvoro
