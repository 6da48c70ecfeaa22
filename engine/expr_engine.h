// ExprEngine: carries one typed expression through clean-up, syntax check,
// implicit multiplication, substitution, Mix conversion, evaluation and
// result formatting; also solves linear equations in X.
#pragma once

#include <array>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "engine/expression_text.h"
#include "engine/number_base.h"
#include "engine/refusal.h"
#include "numeric/stop.h"

namespace calvoro {

// The settings the engine reads: user parameters and Pi as decimal texts,
// precision P, exponent threshold T and the angle mode.
struct EngineSettings {
  std::string paramF = "1";
  std::string paramK = "1";
  std::string paramM = "1";
  std::string paramW = "1";
  std::string paramPi = std::string(kPiText);
  int precision = 10;
  int exponentThreshold = 100;
  bool angleRadian = true;

  bool operator==(const EngineSettings&) const = default;
};

// Last1..Last5, each with the head of the base that produced it.
using MemoryTexts = std::array<std::string, 5>;
inline const MemoryTexts kZeroMemories = {"0", "0", "0", "0", "0"};

struct Calculation {
  // The expression as evaluated, the first line of the step text; empty when
  // that is the typed expression itself (so a long input is not copied).
  std::string expression;
  std::string result;       // as shown: exponent notation in base 10, the head in Mix
  std::string plainResult;  // before exponent notation: what the memories keep
  std::string steps;        // when asked for: the expression and each rewritten form,
                            // "\r\n=" between

  // The first line of the step text of the calculation of `typed`.
  std::string_view FirstLine(std::string_view typed) const {
    return expression.empty() ? TrimBlanks(typed) : std::string_view(expression);
  }
};

struct EquationSolution {
  std::string value;    // the value of X
  std::string working;  // the lines of working, each ending in "\r\n"
};

class ExprEngine {
 public:
  explicit ExprEngine(const EngineSettings& settings);

  // Calculates a typed expression in `base`, with the step text when
  // `with_steps` asks for it (it copies the whole text at every step).
  // A calculation ended by the stop flag is refused with kStopped; an empty
  // text or an equation with kNothingToCalculate, which shows nothing.
  Outcome<Calculation> Calculate(std::string_view expression, const MemoryTexts& memories,
                                 NumberBase base, bool with_steps = false);

  // Solves a linear equation in X in `base`; memories stand for Last1..Last5.
  Outcome<EquationSolution> SolveLinearEquation(std::string_view equation,
                                                const MemoryTexts& memories, NumberBase base);

  // The notices of the calculations and solves so far (numbers cut to 100
  // bits on their way into the base), which the caller shows before the
  // outcome; taking them empties the list.
  Notices TakeNotices() { return std::exchange(notices_, {}); }

  // The steps of Calculate, public for the solver, the windows and tests.
  // Memories, Pi and parameters replaced by their values in `base`. The size
  // of the text is found first; beyond the evaluator's bounds it is refused
  // before it is built.
  Outcome<std::string> SubstituteValues(std::string_view text, const MemoryTexts& memories,
                                        NumberBase base);
  // Refuses an arcsin or arccos of a plain number beyond [-1, 1].
  Status CheckFunctionParameters(std::string_view text, NumberBase base);
  // The default Pi in `base` with as many digits as the precision needs.
  std::string DefaultPi(NumberBase base) const;
  // Digit limit Q of a result: P in bases 10, 16 and Mix, 4P in base 2, 4P/3 in base 8.
  int DigitLimit(NumberBase base) const;

  // The flag that stops this engine's calculations and solves (none by
  // default: then the flag of an enclosing StopScope holds).
  void set_stop_flag(const StopFlag* flag) { stop_flag_ = flag; }
  // Whether the latest Calculate or SolveLinearEquation was stopped.
  bool stopped() const { return stopped_; }

  const EngineSettings& settings() const { return settings_; }
  // The local time the solver's log line carries; tests set a fixed one.
  void set_clock(std::function<std::tm()> clock) { clock_ = std::move(clock); }
  std::tm Now() const { return clock_(); }

 private:
  // `work` run under the stop flag; a stop gives the refusal kStopped.
  template <typename Work>
  auto Stoppable(const Work& work) -> decltype(work());
  Outcome<Calculation> CalculateUnstopped(std::string_view expression, const MemoryTexts& memories,
                                          NumberBase base, bool with_steps);
  Outcome<EquationSolution> SolveUnstopped(std::string_view equation, const MemoryTexts& memories,
                                           NumberBase base);

  // SubstituteValues into `out`; false, with `out` untouched, when the text
  // names no value.
  Outcome<bool> SubstituteValuesInto(std::string_view text, const MemoryTexts& memories,
                                     NumberBase base, bool with_steps, std::string& out);

  const EngineSettings& settings_;
  std::function<std::tm()> clock_;
  const StopFlag* stop_flag_ = nullptr;
  bool stopped_ = false;
  Notices notices_;
};

// The engine's notices, then the refusal of `outcome`, shown through `sink`;
// the value when there is one.
template <typename T>
std::optional<T> ShowOutcome(ExprEngine& engine, Outcome<T>&& outcome, MessageSink& sink) {
  ReportNotices(engine.TakeNotices(), sink);
  return ValueOrReport(std::move(outcome), sink);
}

// Rounds the fraction to `digits` places in `base` when it is longer.
std::string LimitFraction(std::string_view text, NumberBase base, int digits);
void LimitFractionInPlace(std::string& text, NumberBase base, int digits);
// Exponent notation of a decimal result with digit limit Q and threshold T.
std::string FormatExponent(std::string_view text, int digits, int threshold);

}  // namespace calvoro
