// calvoro-cli complex: the Calculate button of the complex-style window.
// The operands come from --A .. --E, the expression from the one argument
// left; the value's text form goes to standard output.
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "cli/cli_args.h"
#include "cli/stderr_sink.h"
#include "cli/subcommands.h"
#include "complex/complex_models.h"
#include "numeric/number_text.h"

namespace calvoro::cli {
namespace {

// "RE,IM" split into the two edits of an operand.
std::optional<ComplexOperandText> ParseOperand(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const std::string_view re = text.substr(0, comma), im = text.substr(comma + 1);
  if (!ReadDecimalDouble(re) || !ReadDecimalDouble(im)) return std::nullopt;
  return ComplexOperandText{std::string(re), std::string(im)};
}

}  // namespace

int RunComplexCommand(const CommandLine& line) {
  StderrSink sink;
  ComplexModel window(sink);
  for (const auto& [name, value] : line.options) {
    if (name.size() != 1) continue;  // --settings: read by no complex calculation
    const std::optional<ComplexOperandText> operand = ParseOperand(value);
    if (!operand) {
      return UsageError(line.command,
                        "--" + name + " takes RE,IM (two decimal numbers), not '" + value + "'");
    }
    window.operands[(name[0] | 0x20) - 'a'] = *operand;
  }
  if (line.operands.size() != 1) return UsageError(line.command, "complex takes one EXPRESSION");
  window.expression = WithoutBlanks(line.operands.front());
  if (!window.Calculate()) return 1;
  std::cout << window.output() << '\n';
  return 0;
}

}  // namespace calvoro::cli
