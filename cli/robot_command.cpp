// calvoro-cli robot: the file robot on one or more text files; each gets its
// result file and the robot log is printed at the end.
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/sys_data.h"
#include "cli/cli_args.h"
#include "cli/settings_file.h"
#include "cli/stderr_sink.h"
#include "cli/subcommands.h"
#include "robot/file_robot.h"

namespace calvoro::cli {
namespace {

constexpr std::string_view kRobotUsage =
    "usage: calvoro-cli robot SOURCE... [--dest FILE]\n"
    "                   [--action addresult|replaceresult|addsteps|genfilter|detailfilter]\n"
    "                   [--precision N] [--threshold T] [--no-exponent] [--settings FILE]\n"
    "  Calculates the expressions written in each SOURCE text file into a result\n"
    "  file beside it (the name with .rob), or into --dest (one SOURCE only).\n"
    "  The precision and threshold (default: the settings file's) are written back\n"
    "  to the settings file.\n";

struct RobotOptions {
  std::vector<std::string> sources;
  std::optional<std::string> destination;
  RobotAction action = RobotAction::kAddResult;
  std::optional<int> precision;
  std::optional<int> threshold;
  bool useExponent = true;
  std::optional<std::string> settingsPath;
};

std::optional<RobotOptions> ParseRobotArguments(Arguments args) {
  RobotOptions options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    const bool has_value = i + 1 < args.size();
    if (!arg.starts_with("--")) {
      options.sources.emplace_back(arg);
    } else if (arg == "--no-exponent") {
      options.useExponent = false;
    } else if (arg == "--dest" && has_value) {
      options.destination = args[++i];
    } else if (arg == "--settings" && has_value) {
      options.settingsPath = args[++i];
    } else if (arg == "--action" && has_value) {
      const auto action = ParseAction(args[++i]);
      if (!action) return std::nullopt;
      options.action = *action;
    } else if (arg == "--precision" && has_value) {
      options.precision = ParseBounded(args[++i], kMaxPrecision);
      if (!options.precision) return std::nullopt;
    } else if (arg == "--threshold" && has_value) {
      options.threshold = ParseBounded(args[++i], kMaxExponentThreshold);
      if (!options.threshold) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  if (options.sources.empty() || (options.destination && options.sources.size() > 1))
    return std::nullopt;
  return options;
}

}  // namespace

int RunRobotCommand(Arguments args) {
  const auto options = ParseRobotArguments(args);
  if (!options) {
    std::cerr << kRobotUsage;
    return 2;
  }
  CSysDataManager manager =
      options->settingsPath ? CSysDataManager(*options->settingsPath) : CSysDataManager();
  manager.Load();
  if (const auto refused = RefuseUnwritableSettings(manager)) return *refused;
  const CSysData loaded = WithoutLog(manager.data);

  StderrSink sink;
  FileRobot robot(manager.data, sink);
  robot.action = options->action;
  robot.useExponent = options->useExponent;
  robot.precision = options->precision.value_or(robot.precision);
  robot.exponentThreshold = options->threshold.value_or(robot.exponentThreshold);
  bool all_done = true;
  for (const std::string& source : options->sources)
    all_done = robot.Run(source, options->destination.value_or("")) == RobotRun::kDone && all_done;
  WriteTerminalText(robot.log());
  std::cout.flush();

  // A run writes its precision and threshold into the settings.
  if (WithoutLog(manager.data) != loaded && manager.Save() != kFileDone) {
    ReportSaveFailed(manager.filePath, manager.saveError(),
                     "the robot's precision and threshold are not kept");
    return 1;
  }
  return all_done ? 0 : 1;
}

}  // namespace calvoro::cli
