// calvoro-cli: the terminal face of the calculator. Each input is handled as
// the calculator window's Calc command handles the same text typed into its
// input field; results go to standard output, messages to standard error.
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/calculator_model.h"
#include "app/safe_file.h"
#include "cli/cli_args.h"
#include "cli/command_line.h"
#include "cli/line_reader.h"
#include "cli/session.h"
#include "cli/settings_file.h"
#include "cli/signal_policy.h"
#include "cli/stderr_sink.h"
#include "cli/subcommands.h"
#include "engine/expr_engine.h"
#include "engine/message_sink.h"
#include "engine/mix_expression.h"
#include "engine/number_base.h"
#include "engine/radix_conversion.h"
#include "numeric/precision.h"

namespace {

using calvoro::cli::Command;
using calvoro::cli::CommandLine;
using calvoro::cli::PrintLines;

enum class Output { kDisplay, kResult, kSteps };

struct Options {
  calvoro::RunOverrides overrides;
  Output output = Output::kDisplay;
  bool allBases = false;  // --base all
};

std::optional<calvoro::NumberBase> ParseBase(std::string_view name) {
  if (name == "bin") return calvoro::NumberBase::Binary;
  if (name == "oct") return calvoro::NumberBase::Octal;
  if (name == "dec") return calvoro::NumberBase::Decimal;
  if (name == "hex") return calvoro::NumberBase::Hex;
  if (name == "mix" || name == "all") return calvoro::NumberBase::Mix;
  return std::nullopt;
}

// The calculation's options; nullopt after a usage error.
std::optional<Options> ReadOptions(const CommandLine& line) {
  Options options;
  for (const auto& [name, value] : line.options) {
    if (name == "degree" || name == "radian") options.overrides.angleRadian = name == "radian";
    if (name == "steps" || name == "result")
      options.output = name == "steps" ? Output::kSteps : Output::kResult;
  }
  if (const auto base = line.Value("base")) {
    options.overrides.numberBase = ParseBase(*base);
    if (!options.overrides.numberBase) {
      calvoro::cli::UsageError(line.command, "--base takes bin, oct, dec, hex, mix or all");
      return std::nullopt;
    }
    options.allBases = *base == "all";
  }
  if (!calvoro::cli::ReadBoundedOption(line, "precision", calvoro::kMaxPrecision,
                                       options.overrides.precision) ||
      !calvoro::cli::ReadBoundedOption(line, "threshold", calvoro::kMaxExponentThreshold,
                                       options.overrides.exponentThreshold))
    return std::nullopt;
  return options;
}

// The value whose digits the four lines show. A result of P decimal digits
// fixes only about 0.83 P hexadecimal digits (1/3 would end in ...553), so a
// calculation is done once more, silently and without touching memories or
// log, with digits enough for every base's digits up to its rounding place:
// a quarter more in decimal or hexadecimal, about 4P bits or 4P/3 octal
// digits beyond in a Mix calculation whose numbers are all binary or octal
// (its result keeps P digits of that base). An assignment, an equation or a
// plain number keeps its value.
std::string AllBasesValue(const calvoro::CalculatorModel& window, std::string_view input,
                          const calvoro::MemoryTexts& memories,
                          const calvoro::CommandResult& result, std::string value) {
  using namespace calvoro;
  if (result.kind != CommandResult::Kind::kCalculation) return value;
  EngineSettings settings = window.data();
  const long long p = settings.precision;
  long long digits = p + p / 4 + 10;
  switch (BaseOfNumberText(std::string_view(value).substr(value.find_first_not_of("(-+")))) {
    case NumberBase::Binary:
      digits = ScaledDigits(Radix::kBinary, p) + 10;
      break;
    case NumberBase::Octal:
      digits = ScaledDigits(Radix::kOctal, p) + 10;
      break;
    default:
      break;
  }
  settings.precision = static_cast<int>(std::min<long long>(digits, kMaxPrecision));
  SilentSink silent;
  ExprEngine engine(settings, silent);
  if (auto precise = engine.Calculate(input, memories, NumberBase::Mix))
    return precise->plainResult;
  return value;
}

// The result in the four bases, a line each: "Bin: 0b101.1", each as a
// calculation in that base prints it: rounded to 4P bits, 4P/3 octal digits,
// P decimal or hexadecimal digits. A result calculated in decimal or
// hexadecimal is shown as calculated in its own base; every other line is
// converted from the precise value and rounded there.
void PrintAllBases(calvoro::CalculatorModel& window, std::string_view shown,
                   std::string_view precise) {
  using namespace calvoro;
  const NumberBase own = BaseOfNumberText(shown.substr(shown.find_first_not_of("(-+")));
  const int precision = window.data().precision;
  for (const NumberBase base :
       {NumberBase::Binary, NumberBase::Octal, NumberBase::Decimal, NumberBase::Hex}) {
    const bool as_calculated =
        base == own && (base == NumberBase::Decimal || base == NumberBase::Hex);
    // Digits beyond the rounding place, so that the rounding sees them.
    std::string digits = ConvertNumberExactly(as_calculated ? shown : precise, base, precision + 2);
    LimitFractionInPlace(digits, base, window.engine().DigitLimit(base));
    std::cout << BasePrefix(base) << ' ' << MixResultText(digits, base) << '\n';
  }
}

// One input, its blanks ignored as the window's field never lets them in.
bool Handle(calvoro::CalculatorModel& window, std::string typed, const Options& options) {
  std::string input = calvoro::cli::WithoutBlanks(std::move(typed));
  // The memories before this input, for the four bases' second calculation.
  const calvoro::MemoryTexts memories =
      options.allBases ? window.memories() : calvoro::MemoryTexts{};
  const calvoro::CommandResult result =
      window.Calculate(options.allBases ? input : std::move(input));
  if (!result.ok) return false;
  switch (options.output) {
    case Output::kDisplay:
      PrintLines(result.display());
      break;
    case Output::kResult:
      if (!options.allBases) PrintLines(result.result());
      break;
    case Output::kSteps:
      PrintLines(result.steps);
      break;
  }
  if (options.allBases) {
    // A plain number is its own value, in the window's base.
    const std::string value = result.value().empty()
                                  ? calvoro::MixResultText(result.result(), window.base())
                                  : std::string(result.value());
    PrintAllBases(window, value, AllBasesValue(window, input, memories, result, value));
  }
  std::cout.flush();
  return true;
}

// Ctrl-C (SIGINT) stops the calculation that runs: the engine refuses it
// with "The calculation was stopped." and keeps nothing of it. An interactive
// session has the handler only while a calculation runs and goes back to its
// prompt; a batch's signal policy saves what it finished and then ends it by
// the signal.
calvoro::StopFlag* interrupt_flag = nullptr;

extern "C" void StopOnInterrupt(int) {
  if (interrupt_flag != nullptr) interrupt_flag->Request();
}

class InterruptStops {
 public:
  explicit InterruptStops(calvoro::StopFlag& flag) {
    interrupt_flag = &flag;
    struct sigaction action {};
    action.sa_handler = StopOnInterrupt;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &previous_);
  }
  ~InterruptStops() {
    sigaction(SIGINT, &previous_, nullptr);
    interrupt_flag = nullptr;
  }
  InterruptStops(const InterruptStops&) = delete;
  InterruptStops& operator=(const InterruptStops&) = delete;

 private:
  struct sigaction previous_ {};
};

// A batch writes the settings file at most this often.
constexpr std::chrono::milliseconds kBatchSaveInterval(250);

int RunCalculations(const CommandLine& line) {
  const auto options = ReadOptions(line);
  if (!options) return 2;
  calvoro::StderrSink sink;
  // The default place is looked up only without --settings: finding it may
  // create the per-user settings folder.
  const auto settings_path = line.Value("settings");
  calvoro::CalculatorModel window(
      settings_path ? *settings_path : calvoro::CSysDataManager().filePath, sink);
  if (const auto refused = calvoro::cli::RefuseUnwritableSettings(window.settings()))
    return *refused;
  // No tip of the day runs here: a window's open tip never blocks the CLI.
  window.IgnoreTipOpen();
  window.OverrideForRun(options->overrides);
  window.set_steps_wanted(options->output == Output::kSteps);
  // A person at a terminal gets every change saved at once, as in the
  // windows; arguments and piped input are batches. A batch saves before
  // any signal ends it (editline restores the terminal on a signal itself,
  // so an interactive session keeps the default actions).
  const bool interactive = line.operands.empty() && isatty(STDIN_FILENO) != 0;
  calvoro::cli::RunSaver saver(window, !interactive, kBatchSaveInterval);
  calvoro::StopFlag& stop = window.stop_flag();
  // A batch saves what it finished before any ending signal, Ctrl-C among
  // them, ends it by that signal; at a terminal Ctrl-C stops the running
  // calculation (InterruptStops).
  std::optional<calvoro::cli::SignalPolicy> signals;
  if (interactive) {
    calvoro::cli::IgnoreFileSizeSignal();
  } else {
    signals.emplace([&saver] { saver.SaveBeforeExit(); });
  }
  bool all_ok = true;
  // A standard output that can take no more ends the batch like the end of
  // its input.
  int output_error = 0;
  const auto output_failed = [&output_error] {
    if (std::cout) return false;
    output_error = errno != 0 ? errno : EIO;
    return true;
  };
  if (!line.operands.empty()) {
    for (const auto& input : line.operands) {
      all_ok = Handle(window, input, *options) && all_ok;
      if (output_failed()) break;
    }
  } else {
    calvoro::LineReader reader(
        interactive, interactive ? calvoro::cli::CompletionWords() : std::vector<std::string>());
    std::string text;
    while (!stop.requested() && reader.Read(text)) {
      if (!text.empty() && text.back() == '\r') text.pop_back();
      if (interactive) {
        const calvoro::cli::SessionWord word = calvoro::cli::SessionWordOf(text);
        if (word == calvoro::cli::SessionWord::kQuit) break;
        if (word == calvoro::cli::SessionWord::kHelp) {
          std::cout << calvoro::cli::SessionHelp(window) << std::flush;
          continue;
        }
      }
      if (text.find_first_not_of(" \t") == std::string::npos) continue;  // nothing typed
      if (!interactive) {
        all_ok = Handle(window, std::move(text), *options) && all_ok;
        if (output_failed()) break;
        continue;
      }
      const InterruptStops interrupts(stop);
      all_ok = Handle(window, std::move(text), *options) && all_ok;
      stop.Clear();
    }
  }
  const bool saved = saver.Finish();
  signals.reset();
  if (output_error == EPIPE) calvoro::cli::EndBySignal(SIGPIPE);
  if (output_error != 0) {
    std::cerr << "calvoro-cli: the standard output could not be written ("
              << calvoro::ErrorText(output_error) << ")\n";
    return 1;
  }
  return all_ok && saved ? 0 : 1;
}

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
  const auto line = calvoro::cli::ParseCommandLine(argc, argv);
  if (!line) return 2;
  if (line->Has("version")) {
    calvoro::cli::PrintVersion(std::cout);
    return 0;
  }
  if (line->Has("help")) {
    calvoro::cli::PrintHelp(std::cout, line->command);
    return 0;
  }
  // A batch of calculations has a signal policy of its own.
  if (line->command != Command::kCalculate) calvoro::cli::IgnoreFileSizeSignal();
  switch (line->command) {
    case Command::kCalculate:
      return RunCalculations(*line);
    case Command::kConvert:
      return calvoro::cli::RunConvertCommand(*line);
    case Command::kUnits:
      return calvoro::cli::RunUnitsCommand(*line);
    case Command::kComplex:
      return calvoro::cli::RunComplexCommand(*line);
    case Command::kMatrix:
      return calvoro::cli::RunMatrixCommand(*line);
    case Command::kLog:
      return calvoro::cli::RunLogCommand(*line);
    case Command::kRobot:
      return calvoro::cli::RunRobotCommand(*line);
    case Command::kHelp:
      return calvoro::cli::RunHelpCommand(*line);
  }
  return 2;
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
