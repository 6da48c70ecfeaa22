// calvoro-cli: the terminal face of the calculator. Each input is handled as
// the calculator window's Calc command handles the same text typed into its
// input field; results go to standard output, messages to standard error.
#include <malloc.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/calculator_window.h"
#include "app/safe_file.h"
#include "cli/cli_args.h"
#include "cli/line_reader.h"
#include "cli/settings_file.h"
#include "cli/stderr_sink.h"
#include "cli/subcommands.h"
#include "engine/number_base.h"

namespace {

constexpr std::string_view kUsage =
    "usage: calvoro-cli [--base bin|oct|dec|hex|mix] [--precision N] [--threshold T]\n"
    "                   [--degree|--radian] [--steps|--result] [--settings FILE] [INPUT ...]\n"
    "       calvoro-cli log [--clear] [--settings FILE]\n"
    "       calvoro-cli robot SOURCE... [--dest FILE] [--action NAME] [--precision N]\n"
    "                   [--threshold T] [--no-exponent] [--settings FILE]\n"
    "  INPUT is an expression (2*(3+4), 5pi+78(34.5+89.6), fac(25)), a parameter\n"
    "  assignment ((M)=2+3) or a linear equation in X (2x+3=7). Memories last1..last5\n"
    "  carry from one input to the next. Without INPUT, inputs are read from standard\n"
    "  input, one per line.\n"
    "  --precision N   fraction digits, 0..1000000 (default 10)\n"
    "  --threshold T   exponent threshold, 0..1000000000 (default 100)\n"
    "  --steps         print every step of the calculation\n"
    "  --result        print only the result\n"
    "  --settings FILE the settings file (default: SysData.dat beside the program,\n"
    "                  or in ~/.config/calvoro when that folder is not writable);\n"
    "                  parameters, Pi, precision, threshold, angle unit and base come\n"
    "                  from it, and every calculation adds its log line to it.\n"
    "                  --base, --precision, --threshold, --degree and --radian hold\n"
    "                  for this run only and are never written.\n"
    "  log             print the log, newest first; --clear empties it\n"
    "  robot           calculate the expressions in text files into result files\n";

enum class Output { kDisplay, kResult, kSteps };

struct Options {
  calvoro::RunOverrides overrides;
  std::optional<std::string> settingsPath;
  Output output = Output::kDisplay;
  std::vector<std::string> inputs;
  bool help = false;
};

std::optional<int> ParseBase(std::string_view name) {
  if (name == "bin") return calvoro::kBaseBinary;
  if (name == "oct") return calvoro::kBaseOctal;
  if (name == "dec") return calvoro::kBaseDecimal;
  if (name == "hex") return calvoro::kBaseHex;
  if (name == "mix") return calvoro::kBaseMix;
  return std::nullopt;
}

std::optional<Options> ParseArguments(int argc, char** argv) {
  Options options;
  bool only_inputs = false;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (only_inputs || !arg.starts_with("--")) {
      options.inputs.emplace_back(arg);
    } else if (arg == "--") {
      only_inputs = true;
    } else if (arg == "--help") {
      options.help = true;
    } else if (arg == "--degree" || arg == "--radian") {
      options.overrides.angleRadian = arg == "--radian";
    } else if (arg == "--steps" || arg == "--result") {
      options.output = arg == "--steps" ? Output::kSteps : Output::kResult;
    } else if (arg == "--settings" && i + 1 < argc) {
      options.settingsPath = argv[++i];
    } else if ((arg == "--base" || arg == "--precision" || arg == "--threshold") && i + 1 < argc) {
      const char* value = argv[++i];
      std::optional<int> parsed;
      if (arg == "--base") {
        parsed = ParseBase(value);
        options.overrides.numberBase = parsed;
      } else if (arg == "--precision") {
        parsed = calvoro::cli::ParseBounded(value, calvoro::kMaxPrecision);
        options.overrides.precision = parsed;
      } else {
        parsed = calvoro::cli::ParseBounded(value, calvoro::kMaxExponentThreshold);
        options.overrides.exponentThreshold = parsed;
      }
      if (!parsed) return std::nullopt;
    } else {
      return std::nullopt;
    }
  }
  return options;
}

using calvoro::cli::PrintLines;

bool Handle(calvoro::CalculatorWindow& window, std::string input, Output output) {
  const calvoro::CommandResult result = window.Calculate(std::move(input));
  if (!result.ok) return false;
  switch (output) {
    case Output::kDisplay:
      PrintLines(result.display);
      break;
    case Output::kResult:
      PrintLines(result.result);
      break;
    case Output::kSteps:
      PrintLines(result.steps);
      break;
  }
  std::cout.flush();
  return true;
}

// `calvoro-cli NAME ...` runs a tool; anything else is a calculation.
std::optional<int> RunTool(int argc, char** argv) {
  if (argc < 2) return std::nullopt;
  using Runner = int (*)(calvoro::cli::Arguments);
  struct Tool {
    std::string_view name;
    Runner run;
  };
  static constexpr Tool kTools[] = {
      {"convert", calvoro::cli::RunConvertCommand}, {"units", calvoro::cli::RunUnitsCommand},
      {"complex", calvoro::cli::RunComplexCommand}, {"matrix", calvoro::cli::RunMatrixCommand},
      {"log", calvoro::cli::RunLogCommand},     {"robot", calvoro::cli::RunRobotCommand},
  };
  for (const Tool& tool : kTools) {
    if (argv[1] == tool.name) return tool.run(calvoro::cli::Arguments(argv + 2, argc - 2));
  }
  return std::nullopt;
}

// A batch writes the settings file at most this often.
constexpr std::chrono::milliseconds kBatchSaveInterval(250);

int Main(int argc, char** argv) {
  // Big calculations allocate and free buffers of megabytes: from the heap
  // and kept there for reuse, they are faulted in once instead of being
  // mapped, zero-filled and unmapped each time (a 10^6-digit product runs in
  // 45 ms instead of 53 ms at the same peak memory).
  mallopt(M_MMAP_THRESHOLD, 1 << 30);
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  // One heap for both threads: the batch saver's copy of a long log line
  // then reuses what the calculation freed instead of a heap of its own.
  mallopt(M_ARENA_MAX, 1);
  if (const auto status = RunTool(argc, argv)) return *status;
  auto options = ParseArguments(argc, argv);
  if (!options) {
    std::cerr << kUsage;
    return 2;
  }
  if (options->help) {
    std::cout << kUsage;
    return 0;
  }
  calvoro::StderrSink sink;
  // The default place is looked up only without --settings: finding it may
  // create the per-user settings folder.
  calvoro::CalculatorWindow window(
      options->settingsPath ? *options->settingsPath : calvoro::CSysDataManager().filePath, sink);
  if (const auto refused = calvoro::cli::RefuseUnwritableSettings(window.settings()))
    return *refused;
  // No tip of the day runs here: a window's open tip never blocks the CLI.
  window.IgnoreTipOpen();
  window.OverrideForRun(options->overrides);
  window.set_steps_wanted(options->output == Output::kSteps);
  // A person at a terminal gets every change saved at once, as in the
  // windows; arguments and piped input are batches.
  const bool interactive = options->inputs.empty() && isatty(STDIN_FILENO) != 0;
  calvoro::cli::RunSaver saver(window, !interactive, kBatchSaveInterval);
  bool all_ok = true;
  if (!options->inputs.empty()) {
    for (const auto& input : options->inputs)
      all_ok = Handle(window, input, options->output) && all_ok;
  } else {
    calvoro::LineReader reader(interactive);
    std::string line;
    while (reader.Read(line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      if (line.find_first_not_of(" \t") == std::string::npos) continue;  // nothing typed
      all_ok = Handle(window, std::move(line), options->output) && all_ok;
    }
  }
  const bool saved = saver.Finish();
  return all_ok && saved ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  // C++ streams with buffers of their own: reading a megabyte line through
  // the C library's getc and ungetc costs more than the arithmetic on it.
  std::ios::sync_with_stdio(false);
  try {
    return Main(argc, argv);
  } catch (const std::bad_alloc&) {
    calvoro::RemoveOpenTemporaries();
    std::cerr << "calvoro-cli: there is not enough memory for this input\n";
  } catch (const std::exception& error) {
    calvoro::RemoveOpenTemporaries();
    std::cerr << "calvoro-cli: " << error.what() << '\n';
  }
  return 1;
}
