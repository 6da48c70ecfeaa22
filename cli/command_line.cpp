// The command line of calvoro-cli: the table of commands and options, its
// reading by getopt_long and the help printed from it.
#include "cli/command_line.h"

#include <getopt.h>

#include <algorithm>
#include <iostream>
#include <map>
#include <span>

#include "engine/expression_text.h"

#ifndef CALVORO_VERSION
#define CALVORO_VERSION "unknown"
#endif

namespace calvoro::cli {
namespace {

// One option in the help: its head ("--precision N", "-h, --help") gives its
// name, its short form and whether a value follows; an empty text keeps it
// out of the help.
struct OptionRow {
  std::string_view head;
  std::string_view text;
};

struct CommandSpec {
  Command command;
  std::string_view name;         // empty for the calculation
  std::string_view usage;        // after "calvoro-cli "
  std::string_view description;  // lines of text, each indented by two
  std::span<const OptionRow> options;
};

constexpr OptionRow kCommonOptions[] = {
    {"--settings FILE",
     "the settings file instead of the calculator's own, which is\n"
     "$XDG_CONFIG_HOME/calvoro/SysData.dat (by default\n"
     "~/.config/calvoro/SysData.dat), or SysData.dat beside the\n"
     "program when there is one"},
    {"-h, --help", "print this help, or a command's own, and exit"},
    {"-V, --version", "print the version and exit"},
};

constexpr OptionRow kCalculateOptions[] = {
    {"--base BASE",
     "bin, oct, dec, hex or mix: the number base of inputs and\n"
     "results; all: inputs in Mix notation, and each result also\n"
     "in binary, octal, decimal and hexadecimal, one line each\n"
     "(\"Bin: 0b101.1\"), fractions cut at the precision"},
    {"--precision N", "fraction digits, 0..1000000 (default 10)"},
    {"--threshold T", "exponent threshold, 0..1000000000 (default 100)"},
    {"--degree", "angles in degrees"},
    {"--radian", "angles in radians (the default)"},
    {"--steps", "print every step of each calculation"},
    {"--result", "print only each result"},
};

constexpr OptionRow kConvertOptions[] = {
    {"--category NAME",
     "area, length, mass, volume, force, power, energy, time,\n"
     "temperature, press, speed, prefixes or currency"},
    {"--precision N", "fraction digits for this run, 0..1000000"},
    {"--threshold T", "exponent threshold for this run, 0..1000000000"},
};

constexpr OptionRow kComplexOptions[] = {
    {"--A RE,IM", "the operand A (0 when not given); --B .. --E likewise"},
    {"--B RE,IM", ""},
    {"--C RE,IM", ""},
    {"--D RE,IM", ""},
    {"--E RE,IM", ""},
    {"--a RE,IM", ""},
    {"--b RE,IM", ""},
    {"--c RE,IM", ""},
    {"--d RE,IM", ""},
    {"--e RE,IM", ""},
};

constexpr OptionRow kLogOptions[] = {
    {"--clear", "empty the log"},
    {"--repair",
     "keep what can be read of a damaged settings file and write it;\n"
     "the original is moved aside as FILE.damaged-YYYYMMDD-HHMMSS"},
};

constexpr OptionRow kRobotOptions[] = {
    {"--dest FILE", "the result file (one SOURCE only)"},
    {"--action NAME",
     "addresult (default), replaceresult, addsteps, genfilter or\n"
     "detailfilter: what the result file gets for each expression"},
    {"--precision N", "fraction digits, 0..1000000"},
    {"--threshold T", "exponent threshold, 0..1000000000"},
    {"--no-exponent", "write no result with an exponent"},
};

constexpr CommandSpec kCommands[] = {
    {Command::kCalculate, "", "[OPTION...] [INPUT...]",
     "Calculates each INPUT as the calculator window's Calc command does and prints\n"
     "what its input field then shows: an expression (2*(3+4), 5pi+78(34.5+89.6),\n"
     "fac(25)), a parameter assignment ((M)=2+3) or a linear equation in X\n"
     "(2x+3=7). Blanks in an input are ignored. The memories last1..last5 start at\n"
     "0 and carry from one input to the next. Without INPUT, inputs are read from\n"
     "standard input, one per line; at a terminal that is an interactive session\n"
     "(help there lists what it knows). The settings file gives the parameters,\n"
     "Pi, precision, threshold, angle unit and base, and keeps assignments and the\n"
     "log; --base, --precision, --threshold, --degree and --radian hold for this\n"
     "run only and are never written.",
     kCalculateOptions},
    {Command::kConvert, "convert", "convert VALUE FROM-UNIT TO-UNIT --category NAME [OPTION...]",
     "Converts VALUE from one unit of a category to another with the exact\n"
     "arithmetic of the converter windows. Unit names are written exactly as\n"
     "`calvoro-cli units NAME` lists them (quote them); temperatures put the\n"
     "value into the unit's formula. Precision, threshold and parameters come\n"
     "from the settings file, which is never written.",
     kConvertOptions},
    {Command::kUnits,
     "units",
     "units [CATEGORY]",
     "Lists the unit categories, or the units of one with their factors (the\n"
     "value of one unit in the category's base unit), name and factor separated\n"
     "by a tab.",
     {}},
    {Command::kComplex, "complex", "complex [--A RE,IM] ... [--E RE,IM] [--] EXPRESSION",
     "Calculates a complex EXPRESSION over the operands A to E, as the complex\n"
     "window's Calculate button does: numbers, imaginary numbers such as 3j,\n"
     "+ - * / ^ and sin cos tan ln exp sqrt abs, e.g. 5(A+6B-C)-E. Prints the\n"
     "value, e.g. 3+4j.",
     kComplexOptions},
    {Command::kMatrix,
     "matrix",
     "matrix add|sub|mul FILE-A FILE-B | matrix trans FILE-A",
     "Adds, subtracts or multiplies two matrices, or transposes a square one, as\n"
     "the matrix dialog's buttons do. Each file holds a matrix: one row per line,\n"
     "elements separated by blanks. mul needs as many rows in A as columns in B\n"
     "and as many columns in A as rows in B.",
     {}},
    {Command::kLog, "log", "log [--clear | --repair]",
     "Prints the log of the settings file, newest first.", kLogOptions},
    {Command::kRobot, "robot", "robot SOURCE... [OPTION...]",
     "Calculates the expressions written in each SOURCE text file into a result\n"
     "file beside it (the name up to its last \".\" with .rob), as the robot\n"
     "window does, and prints the robot log. The precision and threshold come\n"
     "from the settings file, and --precision and --threshold are written back\n"
     "to it.",
     kRobotOptions},
    {Command::kHelp, "help", "help [COMMAND]", "Prints the help of every command, or of one.", {}},
};

constexpr std::string_view kProgram = "calvoro-cli";
constexpr std::string_view kExitStatus =
    "Exit status: 0 when everything succeeded; 1 when an input was refused or the\n"
    "settings file could not be written; 2 for a usage error or a settings file\n"
    "that is not one, is damaged or lies in a folder that is not safe. A batch\n"
    "whose standard output is closed (as by head) saves and ends by SIGPIPE\n"
    "(status 141 in the shell).\n";

const CommandSpec& SpecOf(Command command) {
  return *std::find_if(std::begin(kCommands), std::end(kCommands),
                       [&](const CommandSpec& spec) { return spec.command == command; });
}

// An option as getopt_long knows it.
struct OptionName {
  std::string name;  // long name
  char shortName = 0;
  bool value = false;
};

OptionName NameOf(const OptionRow& row) {
  std::string_view head = row.head;
  OptionName option;
  if (head.size() > 1 && head[0] == '-' && head[1] != '-') {
    option.shortName = head[1];
    head.remove_prefix(head.find("--"));
  }
  head.remove_prefix(2);
  const auto blank = head.find(' ');
  option.name = std::string(head.substr(0, blank));
  option.value = blank != std::string_view::npos;
  return option;
}

void AddOptions(std::span<const OptionRow> rows, std::vector<OptionName>& names) {
  for (const OptionRow& row : rows) {
    OptionName option = NameOf(row);
    const bool known = std::any_of(names.begin(), names.end(),
                                   [&](const OptionName& o) { return o.name == option.name; });
    if (!known) names.push_back(std::move(option));
  }
}

// The options a command takes, those of every command included; without a
// command, every option of the table.
std::vector<OptionName> OptionsOf(std::optional<Command> command) {
  std::vector<OptionName> names;
  AddOptions(kCommonOptions, names);
  for (const CommandSpec& spec : kCommands) {
    if (!command || spec.command == *command) AddOptions(spec.options, names);
  }
  return names;
}

// The candidate nearest to `typed` by edit distance (the first of equals).
std::string Nearest(std::string_view typed, const std::vector<std::string>& candidates) {
  std::string nearest;
  std::size_t best = 0;
  for (const std::string& candidate : candidates) {
    const std::size_t distance = EditDistance(typed, candidate);
    if (nearest.empty() || distance < best) {
      nearest = candidate;
      best = distance;
    }
  }
  return nearest;
}

// What getopt_long reports, word by word.
struct Event {
  enum Kind { kOption, kOperand, kUnknown, kMissingValue } kind;
  int option = -1;  // index into the option names
  std::string value;
  int word = 0;        // index into argv
  bool ended = false;  // after "--"
};

// Runs getopt_long over the words with the given options. A word that
// begins with a single "-" and is not a short option is handed over as a
// stand-in, so that getopt_long takes it for an input (or an option's
// value); the events carry the original words.
std::vector<Event> Scan(int argc, char* const* argv, const std::vector<OptionName>& names) {
  std::vector<char*> words(argv, argv + argc);
  std::map<const char*, const char*> original;
  std::vector<std::string> stand_ins;
  stand_ins.reserve(static_cast<std::size_t>(argc));
  for (int i = 1; i < argc; ++i) {
    const std::string_view word = argv[i];
    if (word.size() < 2 || word[0] != '-' || word[1] == '-') continue;
    if (word == "-h" || word == "-V" || word == "-v") continue;
    stand_ins.emplace_back("input");
    words[static_cast<std::size_t>(i)] = stand_ins.back().data();
    original[stand_ins.back().data()] = argv[i];
  }
  const auto restore = [&](const char* text) -> std::string {
    if (text == nullptr) return "";
    const auto found = original.find(text);
    return found == original.end() ? text : found->second;
  };

  std::vector<option> long_options;
  std::string short_options = "-:";  // inputs in order; ':' for a missing value
  for (std::size_t i = 0; i < names.size(); ++i) {
    long_options.push_back({names[i].name.c_str(), names[i].value ? required_argument : no_argument,
                            nullptr, 256 + static_cast<int>(i)});
    if (names[i].shortName != 0) {
      short_options += names[i].shortName;
      if (names[i].value) short_options += ':';
    }
  }
  long_options.push_back({nullptr, 0, nullptr, 0});

  std::vector<Event> events;
  optind = 0;  // a fresh scan
  opterr = 0;
  for (int code; (code = getopt_long(argc, words.data(), short_options.c_str(), long_options.data(),
                                     nullptr)) != -1;) {
    const int word = optind - 1;
    if (code == 1) {
      events.push_back({Event::kOperand, -1, restore(optarg), word});
    } else if (code >= 256) {
      events.push_back({Event::kOption, code - 256, restore(optarg), word});
    } else if (code == ':') {
      events.push_back({Event::kMissingValue, -1, "", word});
    } else {
      const auto shorter = std::find_if(names.begin(), names.end(),
                                        [&](const OptionName& o) { return o.shortName == code; });
      if (code != '?' && shorter != names.end()) {
        events.push_back({Event::kOption, static_cast<int>(shorter - names.begin()), "", word});
      } else {
        events.push_back({Event::kUnknown, -1, "", word});
      }
    }
  }
  for (int i = optind; i < argc; ++i) events.push_back({Event::kOperand, -1, argv[i], i, true});
  return events;
}

// The message for an option word that getopt_long refused in `command`.
std::string RefusedOption(std::string_view word, Command command,
                          const std::vector<OptionName>& names) {
  const std::string_view typed = word.substr(0, word.find('='));
  const std::string_view name = typed.substr(std::min(typed.find_first_not_of('-'), typed.size()));
  std::vector<std::string> candidates;
  for (const OptionName& option : names) {
    if (!typed.starts_with("--") || name.empty() || !option.name.starts_with(name)) continue;
    if (option.name == name) {
      candidates = {option.name};  // the whole name: never ambiguous
      break;
    }
    candidates.push_back("--" + option.name);
  }
  const std::string quoted = "'" + std::string(typed) + "'";
  if (candidates.size() > 1) {
    std::string list;
    for (const auto& candidate : candidates) list += (list.empty() ? "'" : ", '") + candidate + "'";
    return "option " + quoted + " is ambiguous: " + list;
  }
  if (candidates.size() == 1 || std::any_of(names.begin(), names.end(), [&](const OptionName& o) {
        return typed == std::string("-") + o.shortName;
      })) {
    return "option " + quoted + " takes no value";
  }
  const std::string_view command_name = SpecOf(command).name;
  if (!command_name.empty()) {
    for (const OptionName& option : OptionsOf(std::nullopt)) {
      if (typed == "--" + option.name)
        return std::string(command_name) + " has no option " + quoted;
    }
  }
  // The nearest of the same kind: a long option for "--...", a short one for "-v".
  std::vector<std::string> spellings;
  for (const OptionName& option : names) {
    if (typed.starts_with("--")) {
      spellings.push_back("--" + option.name);
    } else if (option.shortName != 0) {
      spellings.push_back(std::string("-") + option.shortName);
    }
  }
  return "unknown option " + quoted + "; did you mean '" + Nearest(typed, spellings) + "'?";
}

// Prints option rows: the heads in a column, the texts beside them.
void PrintOptions(std::ostream& out, std::span<const OptionRow> rows) {
  constexpr std::size_t kColumn = 19;
  for (const OptionRow& row : rows) {
    if (row.text.empty()) continue;
    std::string line = "  " + std::string(row.head);
    line.resize(std::max(kColumn, line.size() + 2), ' ');
    std::string_view text = row.text;
    for (std::size_t end; !text.empty(); text.remove_prefix(std::min(end + 1, text.size()))) {
      end = text.find('\n');
      out << line << text.substr(0, end) << '\n';
      line.assign(kColumn, ' ');
      if (end == std::string_view::npos) break;
    }
  }
}

void PrintIndented(std::ostream& out, std::string_view text) {
  while (!text.empty()) {
    const auto end = text.find('\n');
    out << "  " << text.substr(0, end) << '\n';
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
}

void PrintCommand(std::ostream& out, const CommandSpec& spec) {
  out << spec.usage << '\n';
  PrintIndented(out, spec.description);
  PrintOptions(out, spec.options);
}

}  // namespace

bool CommandLine::Has(std::string_view name) const {
  return std::any_of(options.begin(), options.end(),
                     [&](const auto& o) { return o.first == name; });
}

std::optional<std::string> CommandLine::Value(std::string_view name) const {
  for (auto option = options.rbegin(); option != options.rend(); ++option) {
    if (option->first == name) return option->second;
  }
  return std::nullopt;
}

std::optional<CommandLine> ParseCommandLine(int argc, char* const* argv) {
  CommandLine line;
  // The command: the first input before "--" that names one, read with every
  // option of the table so that option values are passed over.
  int command_word = -1;
  for (const Event& event : Scan(argc, argv, OptionsOf(std::nullopt))) {
    if (event.kind != Event::kOperand) continue;
    if (event.ended) break;
    for (const CommandSpec& spec : kCommands) {
      if (!spec.name.empty() && event.value == spec.name) {
        line.command = spec.command;
        command_word = event.word;
      }
    }
    break;
  }
  const std::vector<OptionName> names = OptionsOf(line.command);
  for (const Event& event : Scan(argc, argv, names)) {
    switch (event.kind) {
      case Event::kOption:
        line.options.emplace_back(names[static_cast<std::size_t>(event.option)].name, event.value);
        break;
      case Event::kOperand:
        if (event.word != command_word) line.operands.push_back(event.value);
        break;
      case Event::kMissingValue:
        UsageError(line.command, "option '" + std::string(argv[event.word]) + "' needs a value");
        return std::nullopt;
      case Event::kUnknown:
        UsageError(line.command, RefusedOption(argv[event.word], line.command, names));
        return std::nullopt;
    }
  }
  // An empty name would put the settings file's lock and temporaries into
  // the current folder.
  if (const auto settings = line.Value("settings"); settings && settings->empty()) {
    UsageError(line.command, "--settings needs a file name");
    return std::nullopt;
  }
  return line;
}

int UsageError(Command command, std::string_view message) {
  const std::string_view name = SpecOf(command).name;
  std::cerr << kProgram << ": " << message << "\nTry '" << kProgram
            << (name.empty() || command == Command::kHelp ? std::string(" --help")
                                                          : " help " + std::string(name))
            << "' for more information.\n";
  return 2;
}

void PrintHelp(std::ostream& out, Command command) {
  if (command != Command::kCalculate) {
    out << "usage: " << kProgram << ' ';
    PrintCommand(out, SpecOf(command));
    out << "\nOptions of every command:\n";
    PrintOptions(out, kCommonOptions);
    return;
  }
  out << "usage: " << kProgram << " [OPTION...] [INPUT...]\n"
      << "       " << kProgram << " COMMAND [OPTION...] [ARGUMENT...]\n"
      << "       " << kProgram << " help [COMMAND]\n\n";
  const CommandSpec& calculate = SpecOf(Command::kCalculate);
  out << calculate.description << '\n';
  PrintOptions(out, calculate.options);
  out << "\nOptions of every command:\n";
  PrintOptions(out, kCommonOptions);
  out << "Options may stand before or after the command and its arguments; \"--\" ends\n"
         "them. A word that begins with a single \"-\" is an input (-3+4, -m*2), not an\n"
         "option, except -h and -V.\n"
         "\nCommands:\n";
  for (const CommandSpec& spec : kCommands) {
    if (spec.name.empty()) continue;
    out << "\n" << kProgram << ' ';
    PrintCommand(out, spec);
  }
  out << '\n' << kExitStatus;
}

void PrintVersion(std::ostream& out) { out << kProgram << ' ' << CALVORO_VERSION << '\n'; }

int RunHelpCommand(const CommandLine& line) {
  if (line.operands.empty()) {
    PrintHelp(std::cout, Command::kCalculate);
    return 0;
  }
  if (line.operands.size() > 1) return UsageError(Command::kHelp, "help takes one COMMAND");
  const std::string& wanted = line.operands.front();
  std::vector<std::string> names;
  for (const CommandSpec& spec : kCommands) {
    if (spec.name.empty()) continue;
    if (spec.name == wanted) {
      PrintHelp(std::cout, spec.command);
      return 0;
    }
    names.emplace_back(spec.name);
  }
  return UsageError(Command::kHelp,
                    "no command '" + wanted + "'; did you mean '" + Nearest(wanted, names) + "'?");
}

std::size_t EditDistance(std::string_view a, std::string_view b) {
  const std::string x = ToLowerAscii(a), y = ToLowerAscii(b);
  std::vector<std::size_t> row(y.size() + 1);
  for (std::size_t j = 0; j <= y.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= x.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= y.size(); ++j) {
      const std::size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (x[i - 1] == y[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[y.size()];
}

}  // namespace calvoro::cli
