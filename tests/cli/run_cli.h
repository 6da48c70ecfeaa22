// Runs calvoro-cli as a program and captures its standard output, standard
// error and exit status. Shared by the command-line tests.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/test_folder.h"

namespace testing_cli {

struct CliRun {
  int status;
  std::string out;
  std::string err;
};

inline std::string Quote(const std::string& arg) {
  std::string quoted = "'";
  for (char c : arg) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

using calvoro::testing::ReadFile;

// Without "--settings" in `args`, every run gets a fresh settings file of its
// own, so that runs never share parameters or logs (ctest runs in parallel).
inline CliRun RunCli(std::vector<std::string> args, const std::string& input = "") {
  const calvoro::testing::TestFolder folder("cli_run");
  const std::string in_path = folder.Write("in", input), out_path = folder.Path("out"),
                    err_path = folder.Path("err"), settings_path = folder.Path("SysData.dat");
  bool has_settings = false;
  for (const auto& arg : args) has_settings = has_settings || arg == "--settings";
  const bool tool =
      !args.empty() && (args[0] == "convert" || args[0] == "log" || args[0] == "robot");
  const bool without_settings =
      !args.empty() && (args[0] == "units" || args[0] == "complex" || args[0] == "matrix");
  if (!has_settings && !without_settings)
    args.insert(args.begin() + (tool ? 1 : 0), {"--settings", settings_path});
  std::string command = Quote(CALVORO_CLI);
  for (const auto& arg : args) command += " " + Quote(arg);
  command += " <" + Quote(in_path) + " >" + Quote(out_path) + " 2>" + Quote(err_path);
  const int raw = std::system(command.c_str());
  return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadFile(out_path), ReadFile(err_path)};
}

// A command line and what its run gives: the exit status, the standard
// output and the beginning of standard error (none at all when `err` is
// empty).
struct CliCase {
  std::vector<std::string> args;
  int status;
  std::string out;
  std::string err;
};

inline ::testing::AssertionResult RanAs(const CliRun& run, const CliCase& expected) {
  const bool err_matches =
      expected.err.empty() ? run.err.empty() : run.err.starts_with(expected.err);
  if (run.status == expected.status && run.out == expected.out && err_matches)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "status " << run.status << ", standard output '"
                                       << run.out << "', standard error '" << run.err << "'";
}

// A usage error: status 2, nothing on standard output, and on standard error
// one line saying what is wrong and one saying where to read more (the help
// of `command`, or the general help).
inline ::testing::AssertionResult IsUsageError(const CliRun& run, const std::string& command = "") {
  const std::string hint = "Try 'calvoro-cli " + (command.empty() ? "--help" : "help " + command) +
                           "' for more information.\n";
  const bool two_lines = std::count(run.err.begin(), run.err.end(), '\n') == 2;
  if (run.status == 2 && run.out.empty() && run.err.starts_with("calvoro-cli: ") && two_lines &&
      run.err.ends_with(hint))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "status " << run.status << ", standard output '"
                                       << run.out << "', standard error '" << run.err << "'";
}

}  // namespace testing_cli
