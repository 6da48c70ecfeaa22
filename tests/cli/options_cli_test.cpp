// calvoro-cli's option table: options before and after the command, the
// version, the help of every command and of one, and unknown options with
// the nearest valid one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/run_cli.h"
#include "tests/support/test_folder.h"

namespace {

using testing_cli::CliRun;
using testing_cli::RunCli;

const std::string kUnitCategories =
    "area\nlength\nmass\nvolume\nforce\npower\nenergy\ntime\ntemperature\npress\nspeed\n"
    "prefixes\ncurrency\n";

std::string Hint(const std::string& where) {
  return "\nTry 'calvoro-cli " + where + "' for more information.\n";
}

TEST(OptionsCliTest, OptionTable) {
  const calvoro::testing::TestFolder folder("options_cli");
  const std::string settings = folder.Path("SysData.dat");
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;
  } cases[] = {
      {{"--version"}, 0, "calvoro-cli " CALVORO_VERSION "\n", ""},
      {{"-V"}, 0, "calvoro-cli " CALVORO_VERSION "\n", ""},
      // Options of every command before or after it, and the command's own
      // options before it.
      {{"--settings", settings, "units"}, 0, kUnitCategories, ""},
      {{"units", "--settings", settings}, 0, kUnitCategories, ""},
      {{"--clear", "log", "--settings", settings}, 0, "", ""},
      {{"--category", "length", "--settings", settings, "convert", "3", "inch", "foot(UK and US)"},
       0,
       "0.25\n",
       ""},
      // Options between and after inputs; "--" ends them; a single "-" starts an input.
      {{"1/3", "--precision", "2", "--result", "-3+4"}, 0, "0.33\n1\n", ""},
      {{"--", "units"},
       1,
       "",
       "Calvoro Warning Message: Sorry, the input number units is invalid.\n"},
      // Unknown options: the nearest valid one, and where to read more.
      {{"--bogus"},
       2,
       "",
       "calvoro-cli: unknown option '--bogus'; did you mean '--base'?" + Hint("--help")},
      {{"-v"}, 2, "", "calvoro-cli: unknown option '-v'; did you mean '-V'?" + Hint("--help")},
      {{"--precison=3", "1+1"},
       2,
       "",
       "calvoro-cli: unknown option '--precison'; did you mean '--precision'?" + Hint("--help")},
      {{"log", "--clera"},
       2,
       "",
       "calvoro-cli: unknown option '--clera'; did you mean '--clear'?" + Hint("help log")},
      {{"units", "--clear"},
       2,
       "",
       "calvoro-cli: units has no option '--clear'" + Hint("help units")},
      {{"--s", "x"},
       2,
       "",
       "calvoro-cli: option '--s' is ambiguous: '--settings', '--steps'" + Hint("--help")},
      {{"--steps=yes", "1+1"},
       2,
       "",
       "calvoro-cli: option '--steps' takes no value" + Hint("--help")},
      {{"--=x"},
       2,
       "",
       "calvoro-cli: unknown option '--'; did you mean '--help'?" + Hint("--help")},
      {{"help", "unit"},
       2,
       "",
       "calvoro-cli: no command 'unit'; did you mean 'units'?" + Hint("--help")},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.args);
    std::string where;
    for (const auto& arg : c.args) where += arg + " ";
    EXPECT_EQ(run.status, c.status) << where;
    EXPECT_EQ(run.out, c.out) << where;
    EXPECT_EQ(run.err, c.err) << where;
  }
}

TEST(OptionsCliTest, HelpListsEveryCommandWithItsOptions) {
  const CliRun help = RunCli({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(RunCli({"-h"}).out, help.out);
  EXPECT_EQ(RunCli({"help"}).out, help.out);
  for (const char* text :
       {"calvoro-cli convert VALUE", "--category NAME", "calvoro-cli units [CATEGORY]",
        "calvoro-cli complex [--A RE,IM]", "calvoro-cli matrix add|sub|mul", "calvoro-cli log",
        "--clear", "calvoro-cli robot SOURCE", "--action NAME", "--base BASE", "--steps",
        "--settings FILE", "-V, --version", "calvoro-cli help [COMMAND]"}) {
    EXPECT_NE(help.out.find(text), std::string::npos) << text;
  }
  // One command's help: its usage and options, and the options of every command.
  const CliRun robot = RunCli({"help", "robot"});
  EXPECT_EQ(robot.status, 0);
  EXPECT_TRUE(robot.out.starts_with("usage: calvoro-cli robot SOURCE...")) << robot.out;
  EXPECT_NE(robot.out.find("--no-exponent"), std::string::npos);
  EXPECT_NE(robot.out.find("--settings FILE"), std::string::npos);
  EXPECT_EQ(robot.out.find("--category"), std::string::npos);
  EXPECT_EQ(RunCli({"robot", "--help"}).out, robot.out);
}

}  // namespace
