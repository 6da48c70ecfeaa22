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

#include "engine/expression_text.h"
#include "engine/message_sink.h"
#include "engine/number_base.h"
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
  ExprEngine(const EngineSettings& settings, MessageSink& sink);

  // Calculates a typed expression in `base`, with the step text when
  // `with_steps` asks for it (it copies the whole text at every step).
  // Nothing is returned after the reason has been reported through the sink;
  // a calculation ended by the stop flag reports kStoppedText.
  std::optional<Calculation> Calculate(std::string_view expression, const MemoryTexts& memories,
                                       NumberBase base, bool with_steps = false);

  // Solves a linear equation in X in `base`; memories stand for Last1..Last5.
  std::optional<EquationSolution> SolveLinearEquation(std::string_view equation,
                                                      const MemoryTexts& memories, NumberBase base);

  // The steps of Calculate, public for the solver, the windows and tests.
  // Memories, Pi and parameters replaced by their values in `base`. The size
  // of the text is found first; beyond the evaluator's bounds it is refused
  // (after the message) before it is built.
  std::optional<std::string> SubstituteValues(std::string_view text, const MemoryTexts& memories,
                                              NumberBase base);
  // Refuses an arcsin or arccos of a plain number beyond [-1, 1].
  bool CheckFunctionParameters(std::string_view text, NumberBase base);
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
  MessageSink& sink() { return sink_; }
  // The local time the solver's log line carries; tests set a fixed one.
  void set_clock(std::function<std::tm()> clock) { clock_ = std::move(clock); }
  std::tm Now() const { return clock_(); }

 private:
  // `work` run under the stop flag; a stop is reported and gives nothing.
  template <typename Work>
  auto Stoppable(const Work& work) -> decltype(work());
  std::optional<Calculation> CalculateUnstopped(std::string_view expression,
                                                const MemoryTexts& memories, NumberBase base,
                                                bool with_steps);
  std::optional<EquationSolution> SolveUnstopped(std::string_view equation,
                                                 const MemoryTexts& memories, NumberBase base);

  enum class Substitution { kNone, kDone, kRefused };
  // SubstituteValues into `out`; kNone, with `out` untouched, when the text
  // names no value.
  Substitution SubstituteValuesInto(std::string_view text, const MemoryTexts& memories,
                                    NumberBase base, bool with_steps, std::string& out);

  const EngineSettings& settings_;
  MessageSink& sink_;
  std::function<std::tm()> clock_;
  const StopFlag* stop_flag_ = nullptr;
  bool stopped_ = false;
  int stops_ = 0;  // calculations stopped so far
};

// Rounds the fraction to `digits` places in `base` when it is longer.
std::string LimitFraction(std::string_view text, NumberBase base, int digits);
void LimitFractionInPlace(std::string& text, NumberBase base, int digits);
// Exponent notation of a decimal result with digit limit Q and threshold T.
std::string FormatExponent(std::string_view text, int digits, int threshold);

}  // namespace calvoro
