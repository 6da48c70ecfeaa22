// The calculator window's Calc command without a window: what happens to the
// text of the input field when the user presses Calc (a calculation, a
// parameter assignment "(M)=...", a linear equation in X), with the memories
// and the log lines it leaves. The CLI drives it directly.
#pragma once

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/expr_engine.h"
#include "engine/parameter_store.h"

namespace calvoro {

struct CommandResult {
  bool ok = false;
  std::string display;  // what the input field shows afterwards
  std::string result;   // the result; X for an equation; the stored decimal value for an assignment
  std::string steps;    // the step text or the lines of working ("\r\n" between lines)
};

// The log label of a number base: "Bin:", "Oct:", "Dec:", "Hex:", "Mix:".
std::string_view BasePrefix(int base);

// One log line: time, three blanks, base prefix, and the expression with its
// result (the first line of the step text too when it differs from the
// expression).
std::string LogLine(const std::tm& time, int base, std::string_view expression,
                    std::string_view first_line, std::string_view result);

class CalculatorSession {
 public:
  // `settings` holds the parameters, Pi, precision, threshold and angle mode.
  CalculatorSession(EngineSettings& settings, MessageSink& sink, int base = 10);

  // The Calc command on the input text.
  CommandResult CalcCommand(std::string_view input);

  // Calculate with the memories; on success shifts them and appends the log line.
  std::optional<Calculation> RunCalculation(std::string_view expression);

  int base() const { return base_; }
  void set_base(int base) { base_ = base; }
  const MemoryTexts& memories() const { return store_.memories(); }
  const std::vector<std::string>& log_lines() const { return log_lines_; }
  ExprEngine& engine() { return engine_; }

 private:
  CommandResult Command(std::string_view input);
  CommandResult Assign(std::string_view input, char letter, std::string_view right);
  CommandResult Solve(std::string_view input);

  EngineSettings& settings_;
  MessageSink& sink_;
  ExprEngine engine_;
  ParameterStore store_;
  int base_;
  std::vector<std::string> log_lines_;
};

}  // namespace calvoro
