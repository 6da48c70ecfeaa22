// The command line of calvoro-cli: one table of its commands and their
// options, read by getopt_long, and the help printed from the same table.
#pragma once

#include <cstddef>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace calvoro::cli {

enum class Command { kCalculate, kConvert, kUnits, kComplex, kMatrix, kLog, kRobot, kHelp };

struct CommandLine {
  Command command = Command::kCalculate;
  // The options by their long name ("precision", "A"), each with its value
  // ("" for a flag), in command-line order.
  std::vector<std::pair<std::string, std::string>> options;
  // The words that are not options, without the command's name.
  std::vector<std::string> operands;

  bool Has(std::string_view name) const;
  // The value of the option's last occurrence.
  std::optional<std::string> Value(std::string_view name) const;
};

// Reads the command line: the command is the first word that is not an
// option (or an option's value) when it names one; the options of the command
// and those of every command (--settings, --help, --version) may stand
// before or after it, until "--". A word that begins with a single "-" is an
// input such as -3+4 or -m*2, except the short options -h and -V (and -v,
// refused as an unknown option). Nullopt after a usage error on standard
// error (exit status 2).
std::optional<CommandLine> ParseCommandLine(int argc, char* const* argv);

// "calvoro-cli: MESSAGE" and the hint where to read more, on standard error;
// returns the exit status of a usage error, 2.
int UsageError(Command command, std::string_view message);

// The help of every command, or of one (the calculation's is the general
// usage with every command's).
void PrintHelp(std::ostream& out, Command command);
void PrintVersion(std::ostream& out);

// `calvoro-cli help [COMMAND]`.
int RunHelpCommand(const CommandLine& line);

// The edit distance of two texts, ASCII letters compared in lower case.
std::size_t EditDistance(std::string_view a, std::string_view b);

}  // namespace calvoro::cli
