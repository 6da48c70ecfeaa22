// calvoro-cli complex: the Calculate button of the complex-style window.
// The operands come from --A .. --E, the expression from the one argument
// left; the value's text form goes to standard output.
#include <charconv>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "cli/stderr_sink.h"
#include "cli/subcommands.h"
#include "complex/complex_models.h"

namespace calvoro::cli {
namespace {

constexpr std::string_view kComplexUsage =
    "usage: calvoro-cli complex [--A RE,IM] [--B RE,IM] ... [--E RE,IM] [--] EXPRESSION\n"
    "  EXPRESSION is written with the operands A to E (0 when not given), numbers,\n"
    "  imaginary numbers such as 3j, + - * / ^ and sin cos tan ln exp sqrt abs,\n"
    "  e.g. 5(A+6B-C)-E. Prints the complex value, e.g. 3+4j.\n";

// A whole decimal number, e.g. "-2.5" or "1e-3".
bool IsDecimal(std::string_view text) {
  if (text.starts_with('+')) text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

// "RE,IM" split into the two edits of an operand.
std::optional<ComplexOperandText> ParseOperand(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const std::string_view re = text.substr(0, comma), im = text.substr(comma + 1);
  if (!IsDecimal(re) || !IsDecimal(im)) return std::nullopt;
  return ComplexOperandText{std::string(re), std::string(im)};
}

// The operand letter of "--A" .. "--E" (either case), or 0.
char OperandOption(std::string_view arg) {
  if (arg.size() != 3 || !arg.starts_with("--")) return 0;
  const char letter = static_cast<char>(arg[2] | 0x20);
  return letter >= 'a' && letter <= 'e' ? letter : 0;
}

}  // namespace

int RunComplexCommand(Arguments args) {
  StderrSink sink;
  ComplexWindowModel window(sink);
  std::optional<std::string> expression;
  bool only_expression = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string_view arg = args[i];
    if (!only_expression && arg == "--help") {
      std::cout << kComplexUsage;
      return 0;
    }
    if (!only_expression && arg == "--") {
      only_expression = true;
      continue;
    }
    if (const char letter = only_expression ? 0 : OperandOption(arg)) {
      std::optional<ComplexOperandText> operand;
      if (i + 1 < args.size()) operand = ParseOperand(args[++i]);
      if (!operand) {
        std::cerr << kComplexUsage;
        return 2;
      }
      window.operands[letter - 'a'] = *operand;
      continue;
    }
    if (expression || (!only_expression && arg.starts_with("--"))) {
      std::cerr << kComplexUsage;
      return 2;
    }
    expression = std::string(arg);
  }
  if (!expression) {
    std::cerr << kComplexUsage;
    return 2;
  }
  window.expression = *expression;
  if (!window.Calculate()) return 1;
  std::cout << window.output() << '\n';
  return 0;
}

}  // namespace calvoro::cli
