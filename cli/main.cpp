// calvoro-cli: the terminal front end. Each input is one operation on two
// numbers, "LEFT OP RIGHT" with OP one of + - * / ^, in the chosen base.
#include <unistd.h>

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/stderr_sink.h"
#include "engine/apply_operator.h"
#include "engine/number_base.h"

namespace {

constexpr std::string_view kUsage =
    "usage: calvoro-cli [--base bin|oct|dec|hex] [--precision N] [INPUT ...]\n"
    "  INPUT is LEFT OP RIGHT, OP one of + - * / ^ (for example 1/7 or 2^0.5).\n"
    "  Without INPUT, inputs are read from standard input, one per line.\n";

struct Options {
  int base = calvoro::kBaseDecimal;
  int precision = 10;  // the precision setting; operations work with one digit more
  std::vector<std::string> inputs;
};

std::optional<int> ParseBase(std::string_view name) {
  if (name == "bin") return calvoro::kBaseBinary;
  if (name == "oct") return calvoro::kBaseOctal;
  if (name == "dec") return calvoro::kBaseDecimal;
  if (name == "hex") return calvoro::kBaseHex;
  return std::nullopt;
}

std::optional<Options> ParseArguments(int argc, char** argv) {
  Options options;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if ((arg == "--base" || arg == "--precision") && i + 1 < argc) {
      const std::string_view value = argv[++i];
      if (arg == "--base") {
        const auto base = ParseBase(value);
        if (!base) return std::nullopt;
        options.base = *base;
      } else {
        char* end = nullptr;
        const long precision = std::strtol(argv[i], &end, 10);
        if (value.empty() || *end != '\0' || precision < 0 || precision > 1000000) {
          return std::nullopt;
        }
        options.precision = static_cast<int>(precision);
      }
    } else if (arg.starts_with("--")) {
      return std::nullopt;
    } else {
      options.inputs.emplace_back(arg);
    }
  }
  return options;
}

// Splits "LEFT OP RIGHT" at the first operator after the left operand's sign.
bool Calculate(std::string input, const Options& options, calvoro::MessageSink& sink) {
  std::erase(input, ' ');
  const std::size_t op = input.find_first_of("+-*/^", 1);
  if (input.empty() || op == std::string::npos || op + 1 >= input.size()) {
    sink.MessageBox("Please input an operation such as 1/7.", "Calvoro Message",
                    calvoro::MessageIcon::Information);
    return false;
  }
  const std::string left = input.substr(0, op);
  const std::string right = input.substr(op + 1);
  if (!calvoro::IsNumberOfBase(options.base, left) ||
      !calvoro::IsNumberOfBase(options.base, right)) {
    sink.MessageBox("Sorry, the input number " +
                        (calvoro::IsNumberOfBase(options.base, left) ? right : left) +
                        " is invalid.",
                    calvoro::kCaptionCalvoroWarning, calvoro::MessageIcon::Warning);
    return false;
  }
  const auto result =
      calvoro::ApplyOperator(input[op], left, right, options.base, options.precision + 1, sink);
  if (!result) return false;
  std::cout << input << '=' << *result << '\n';
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const auto options = ParseArguments(argc, argv);
  if (!options) {
    std::cerr << kUsage;
    return 2;
  }
  calvoro::StderrSink sink;
  bool all_ok = true;
  if (!options->inputs.empty()) {
    for (const auto& input : options->inputs) all_ok = Calculate(input, *options, sink) && all_ok;
    return all_ok ? 0 : 1;
  }
  const bool interactive = isatty(STDIN_FILENO);
  std::string line;
  while (true) {
    if (interactive) std::cout << "> " << std::flush;
    if (!std::getline(std::cin, line)) break;
    if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    all_ok = Calculate(line, *options, sink) && all_ok;
  }
  return all_ok ? 0 : 1;
}
