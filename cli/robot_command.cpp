// calvoro-cli robot: the file robot on one or more text files; each gets its
// result file and the robot log is printed at the end.
#include <signal.h>

#include <cerrno>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "app/safe_file.h"
#include "app/sys_data.h"
#include "cli/cli_args.h"
#include "cli/settings_file.h"
#include "cli/signal_policy.h"
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

  StderrSink sink;
  // The robot works on a record of its own: the manager's is saved from the
  // signal policy's thread while a run goes on.
  CSysData figures = WithoutLog(manager.data);
  FileRobot robot(figures, sink);
  robot.action = options->action;
  robot.useExponent = options->useExponent;
  robot.precision = options->precision.value_or(robot.precision);
  robot.exponentThreshold = options->threshold.value_or(robot.exponentThreshold);
  // A run that finishes writes its precision and threshold into the
  // settings; they are saved once, at the end or before an ending signal
  // ends the process. Ctrl-C stops the run (which stores nothing), and the
  // command then saves what finished runs stored and ends by SIGINT.
  std::mutex save_mutex;
  bool stored = false;  // a run finished
  bool saved = false;
  const auto save = [&] {
    if (saved || !stored) return true;
    saved = true;
    CSysData& data = manager.data;
    if (data.precision == robot.precision && data.exponentThreshold == robot.exponentThreshold)
      return true;
    data.precision = robot.precision;
    data.exponentThreshold = robot.exponentThreshold;
    return manager.Save();
  };
  StopFlag stop;
  robot.set_stop_flag(&stop);
  std::optional<SignalPolicy> signals;
  signals.emplace(
      [&] {
        const std::lock_guard<std::mutex> lock(save_mutex);
        save();
      },
      &stop);

  // The log is printed as the robot goes. A reader that stops reading (such
  // as `head`) does not stop the robot: its result files are written, the
  // settings saved, and the command then ends by SIGPIPE.
  int output_error = 0;
  const auto output_failed = [&output_error] {
    if (output_error == 0 && !std::cout) output_error = errno != 0 ? errno : EIO;
    return output_error != 0;
  };
  robot.set_log_stream([&](std::string_view text) {
    if (!output_failed()) WriteTerminalText(text);
  });
  bool all_done = true;
  for (const std::string& source : options->sources) {
    const RobotRun run = robot.Run(source, options->destination.value_or(""));
    if (run == RobotRun::kStopped) break;
    if (run == RobotRun::kDone) {
      const std::lock_guard<std::mutex> lock(save_mutex);
      stored = true;
    }
    all_done = run == RobotRun::kDone && all_done;
  }
  if (!output_failed()) {
    WriteTerminalText(robot.log());  // a log that no run handed on (no source read)
    std::cout.flush();
    output_failed();
  }

  bool kept = true;
  {
    const std::lock_guard<std::mutex> lock(save_mutex);
    kept = save();
  }
  signals.reset();
  if (!kept) {
    ReportSaveFailed(manager.filePath, manager.saveError(),
                     "the robot's precision and threshold are not kept");
    all_done = false;
  }
  if (stop.requested()) EndBySignal(SIGINT);
  if (output_error == EPIPE) EndBySignal(SIGPIPE);
  if (output_error != 0) {
    std::cerr << "calvoro-cli: the standard output could not be written ("
              << ErrorText(output_error) << ")\n";
    return 1;
  }
  return all_done ? 0 : 1;
}

}  // namespace calvoro::cli
