// calvoro-cli robot: the file robot on one or more text files; each gets its
// result file and the robot log is printed at the end.
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "app/sys_data.h"
#include "cli/cli_args.h"
#include "cli/settings_file.h"
#include "cli/stderr_sink.h"
#include "cli/subcommands.h"
#include "robot/file_robot.h"

namespace calvoro::cli {
namespace {

struct RobotOptions {
  std::vector<std::string> sources;
  std::optional<std::string> destination;
  RobotAction action = RobotAction::kAddResult;
  std::optional<int> precision;
  std::optional<int> threshold;
  bool useExponent = true;
  std::optional<std::string> settingsPath;
};

// The options of a robot run; nullopt after a usage error.
std::optional<RobotOptions> ReadRobotOptions(const CommandLine& line) {
  RobotOptions options;
  options.sources = line.operands;
  options.destination = line.Value("dest");
  options.settingsPath = line.Value("settings");
  options.useExponent = !line.Has("no-exponent");
  if (const auto action = line.Value("action")) {
    const auto parsed = ParseAction(*action);
    if (!parsed) {
      UsageError(line.command,
                 "--action takes addresult, replaceresult, addsteps, genfilter or "
                 "detailfilter");
      return std::nullopt;
    }
    options.action = *parsed;
  }
  if (!ReadBoundedOption(line, "precision", kMaxPrecision, options.precision) ||
      !ReadBoundedOption(line, "threshold", kMaxExponentThreshold, options.threshold))
    return std::nullopt;
  if (options.sources.empty()) {
    UsageError(line.command, "robot takes one SOURCE file or more");
    return std::nullopt;
  }
  if (options.destination && options.sources.size() > 1) {
    UsageError(line.command, "--dest takes one SOURCE only");
    return std::nullopt;
  }
  return options;
}

}  // namespace

int RunRobotCommand(const CommandLine& line) {
  const auto options = ReadRobotOptions(line);
  if (!options) return 2;
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
  // The log is printed as the robot goes.
  robot.set_log_stream([](std::string_view text) { WriteTerminalText(text); });
  bool all_done = true;
  for (const std::string& source : options->sources)
    all_done = robot.Run(source, options->destination.value_or("")) == RobotRun::kDone && all_done;
  WriteTerminalText(robot.log());  // a log that no run handed on (no source read)
  std::cout.flush();

  // A run writes its precision and threshold into the settings.
  if (WithoutLog(manager.data) != loaded && !manager.Save()) {
    ReportSaveFailed(manager.filePath, manager.saveError(),
                     "the robot's precision and threshold are not kept");
    return 1;
  }
  return all_done ? 0 : 1;
}

}  // namespace calvoro::cli
