// ExprEvaluator: reduces a prepared expression (checked, lower-cased, with
// implicit multiplications inserted and every name replaced by its value) to
// one number text by rewriting the text, innermost bracket group first, and
// records every rewritten form in the step text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "engine/message_sink.h"

namespace calvoro {

// The priority of an operator character: "=" 0, "+" "-" 2, "*" "/" 3, "^" 4,
// brackets 5; -1 for anything else.
int OperatorPriority(char c);

// The most operators one flat text may hold (its "=" end marker not counted).
inline constexpr int kMaxOperators = 256;

// The most characters the steps of one evaluation may write in all. Every
// step copies the whole text, so this also bounds the work: thousands of
// groups in a long text would otherwise take minutes and gigabytes.
inline constexpr std::size_t kMaxStepCharacters = 500'000'000;

// The refusals of a flat text beyond kMaxOperators and of steps beyond
// kMaxStepCharacters.
std::string TooManyOperatorsText();
std::string TooManyStepsText();

class ExprEvaluator {
 public:
  // `base` 2, 8, 10 or 16; `precision` the working precision (the setting
  // plus one); `radian` the angle mode of the functions.
  ExprEvaluator(int base, int precision, bool radian, MessageSink& sink);

  // On success fills the result and the step text: the prepared text, then
  // "\r\n=" and the whole rewritten text for every step.
  bool EvaluateExpression(std::string_view text, std::string& result, std::string& steps);

  // Evaluates a bracket-free text (bracketed numbers allowed) operator by
  // operator; appends "\r\n=" and each rewritten text to `steps`.
  bool EvaluateFlat(std::string_view text, std::string& steps);

  // Fills the operator table with the operator positions of a flat text
  // (which ends in the "=" end marker) and returns their number, the marker
  // included; -1 when the text holds more than kMaxOperators operators.
  int FindOperators(std::string_view text);
  const std::vector<int>& operators() const { return operators_; }

  // The number of "(" whose group needs a rewriting step: all but those of
  // a bracketed plain number that no function name precedes.
  static int CountOpenGroups(std::string_view text);

 private:
  // The group of the first ")" that needs a step, rewritten; false when
  // none is left or the step failed (`failed` says which).
  bool RewriteOneGroup(std::string& text, bool& failed);
  bool EvaluateOperand(std::string& operand, char op, bool right);
  // Appends "\r\n=" and `text` to `steps`; false, after the message, when
  // the evaluation's steps would pass kMaxStepCharacters.
  bool AppendStep(std::string& steps, std::string_view text);

  int base_;
  int precision_;
  bool radian_;
  MessageSink& sink_;
  std::vector<int> operators_;
  std::size_t step_characters_ = 0;  // written by this evaluation's steps so far
};

}  // namespace calvoro
