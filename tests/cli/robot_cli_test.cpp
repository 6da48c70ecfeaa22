// calvoro-cli robot run as a program.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include "tests/cli/run_cli.h"

namespace {

using testing_cli::CliRun;
using testing_cli::ReadFile;
using testing_cli::RunCli;

class RobotCliTest : public ::testing::Test {
 protected:
  std::string Path(std::string_view name) const { return folder_.Path(name); }
  std::string Write(std::string_view name, std::string_view bytes) const {
    return folder_.Write(name, bytes);
  }
  // The log with its time stamps as "T".
  static std::string Untimed(const std::string& log) {
    static const std::regex stamp(R"(\d{4}-\d\d-\d\d \d\d:\d\d )");
    return std::regex_replace(log, stamp, "T ");
  }

  calvoro::testing::TestFolder folder_{"robot_cli"};
};

TEST_F(RobotCliTest, WritesTheResultFileOfEachAction) {
  const std::string source = Write("a.b.txt", "Total 12+30 apples\r\n2024\r\n");
  const struct {
    std::string action;
    std::string result;
  } cases[] = {
      {"addresult", "Total 12+30=42 apples\r\n2024\r\n\r\n"},
      {"replaceresult", "Total 42 apples\r\n2024\r\n\r\n"},
      {"addsteps", "Total 12+30\r\n=12+30\r\n=42\r\n apples\r\n2024\r\n\r\n"},
      {"genfilter", "12+30=42\r\n\r\n\r\n"},
      {"detailfilter", "12+30\r\n=12+30\r\n=42\r\n\r\n\r\n"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli({"robot", source, "--action", c.action});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(Untimed(run.out), "Robot Log Information:\nT 12+30=42\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(ReadFile(Path("a.b.rob")), c.result) << c.action;
  }
}

TEST_F(RobotCliTest, SeveralSourcesShareOneLog) {
  const std::string one = Write("one.txt", "1+1\n");
  const std::string two = Write("two.txt", "2*3 and 4/0\n");
  const CliRun run = RunCli({"robot", one, two, "--no-exponent"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Untimed(run.out),
            "Robot Log Information:\nT 1+1=2\nT 2*3=6\nThe denominator cannot be zero.\n");
  EXPECT_EQ(ReadFile(Path("one.rob")), "1+1=2\n\n");
  EXPECT_EQ(ReadFile(Path("two.rob")), "2*3=6 and 4/0\n\n");
}

TEST_F(RobotCliTest, PrecisionAndThresholdAreWrittenToTheSettings) {
  const std::string source = Write("p.txt", "1/3 2^20\n");
  const std::string settings = Path("s.dat");
  EXPECT_EQ(RunCli({"robot", source, "--dest", Path("out.txt"), "--precision", "3", "--threshold",
                    "4", "--settings", settings})
                .status,
            0);
  EXPECT_EQ(ReadFile(Path("out.txt")), "1/3=0.333 2^20=1.048E+6\n\n");
  EXPECT_EQ(RunCli({"--settings", settings, "--result", "2/3", "10^5"}).out, "0.667\n1E+5\n");
  // Without the options the settings' figures hold.
  EXPECT_EQ(RunCli({"robot", source, "--no-exponent", "--settings", settings}).status, 0);
  EXPECT_EQ(ReadFile(Path("p.rob")), "1/3=0.333 2^20=1048576\n\n");
}

// A closed output, Ctrl-C and SIGTERM: the robot saves what its finished
// runs store (the precision) before it ends by the signal; a stopped or
// interrupted run writes no result file and stores nothing.
TEST_F(RobotCliTest, EveryWayOutSavesWhatFinishedRunsStore) {
  std::string many;
  for (int i = 0; i < 10000; ++i)
    many += std::to_string(i) + "+1 and sin(" + std::to_string(i) + ")\n";
  const std::string quick = Write("quick.txt", "1+1\n");
  const std::string slow = Write("slow.txt", "sin(1)+sin(2)\nsin(3)+sin(4)\n");
  const std::string settings = Path("s.dat");
  const std::string cli =
      testing_cli::Quote(CALVORO_CLI) + " robot --settings " + testing_cli::Quote(settings) + " ";
  const std::string slow_figures = " --precision 300000 ";
  const struct {
    std::string command;
    int signal;
    std::vector<std::string> written;
    bool stored;
  } cases[] = {
      {cli + "--precision 40 " + testing_cli::Quote(Write("many.txt", many)) + " | head -n 1",
       SIGPIPE,
       {"many.rob"},
       true},
      {"timeout --preserve-status -s INT 0.5 " + cli + slow_figures + testing_cli::Quote(slow),
       SIGINT,
       {},
       false},
      {"timeout --preserve-status -s TERM 0.8 " + cli + slow_figures + testing_cli::Quote(quick) +
           " " + testing_cli::Quote(slow),
       SIGTERM,
       {"quick.rob"},
       true},
  };
  for (const auto& c : cases) {
    std::filesystem::remove(settings);
    for (const char* name : {"many.rob", "quick.rob", "slow.rob"})
      std::filesystem::remove(Path(name));
    const std::string pipeline = c.command + " >/dev/null; exit ${PIPESTATUS[0]}";
    const int raw = std::system(("bash -c " + testing_cli::Quote(pipeline)).c_str());
    EXPECT_EQ(WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, 128 + c.signal) << c.command;
    for (const char* name : {"many.rob", "quick.rob", "slow.rob"})
      EXPECT_EQ(std::filesystem::exists(Path(name)),
                std::find(c.written.begin(), c.written.end(), name) != c.written.end())
          << c.command << " " << name;
    const std::string third = RunCli({"--settings", settings, "--result", "1/3"}).out;
    EXPECT_EQ(third.size(), c.stored ? (c.signal == SIGPIPE ? 43u : 300003u) : 13u) << c.command;
  }
}

TEST_F(RobotCliTest, RefusalsAndUsage) {
  const std::string source = Write("s.txt", "1+1\n");
  const struct {
    std::vector<std::string> args;
    int status;
    std::string err;
  } cases[] = {
      {{"robot", Path("none.txt")},
       1,
       "Calvoro: Failed to open and read the file:" + Path("none.txt") + "\n"},
      {{"robot", source, "--dest", source},
       1,
       "Calvoro: The result file would overwrite the source file, please choose another "
       "destination:" +
           source + "\n"},
      {{"robot", source, "--dest", Path("no/dir/x.rob")},
       1,
       "Calvoro: Failed to open and write the file:" + Path("no/dir/x.rob") + "\n"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.status, c.status);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(run.out, "Robot Log Information:\n");
  }
  const std::vector<std::string> usage_errors[] = {
      {"robot"},
      {"robot", source, source, "--dest", Path("x.rob")},
      {"robot", source, "--action", "addResult"},
      {"robot", source, "--precision", "1000001"},
      {"robot", source, "--threshold", "-1"},
      {"robot", source, "--bogus"},
  };
  for (const auto& args : usage_errors)
    EXPECT_TRUE(testing_cli::IsUsageError(RunCli(args), "robot"));
  EXPECT_EQ(ReadFile(source), "1+1\n");
}

}  // namespace
