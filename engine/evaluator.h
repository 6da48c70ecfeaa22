// ExprEvaluator: reduces a prepared expression (checked, lower-cased, with
// implicit multiplications inserted and every name replaced by its value) to
// one number text, innermost bracket group first, and on request records
// every rewritten form of the text in the step text.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/apply_operator.h"
#include "engine/number_base.h"
#include "engine/refusal.h"

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

class ExprEvaluator {
 public:
  // `base` binary, octal, decimal or hex; `precision` the working precision (the setting
  // plus one); `radian` the angle mode of the functions.
  ExprEvaluator(NumberBase base, int precision, bool radian);

  // Both ways read the text once, left to right, with one text per open
  // bracket level: each group is reduced when its ")" is read (the order of
  // the rewriting: innermost first, left to right), a function applied to
  // its argument's value; each bracket-free text is split once into its
  // operands and operators, which a stack of rising priorities reduces in
  // the rewriting's order (the first operator whose priority is not below
  // the next one's), every value cut by the working precision.

  // The result, or the refusal that stopped the evaluation; when `steps` is
  // given, the step text:
  // the prepared text, then "\r\n=" and the whole rewritten text for every
  // step (each group, then each operator of the outermost text), rendered
  // from the levels and the stack. The step text is bounded
  // (kMaxStepCharacters, kMaxOperators per flat text) whether or not it is
  // built.
  Outcome<std::string> EvaluateExpression(std::string_view text, std::string* steps = nullptr);
  // The same without any step text and without those bounds: linear in the
  // text plus the arithmetic.
  Outcome<std::string> EvaluateValues(std::string_view text);

  // The length of the last line of the step text of the latest evaluation.
  std::size_t last_step_size() const { return last_step_size_; }

  // Fills the operator table with the operator positions of a flat text and
  // its end (text.size(), the end marker, which counts as "=") and returns
  // their number, the marker included; -1 when the text holds more than
  // kMaxOperators operators.
  int FindOperators(std::string_view text);
  const std::vector<int>& operators() const { return operators_; }

  // The number of "(" whose group needs a rewriting step: all but those of
  // a bracketed plain number that no function name precedes.
  static int CountOpenGroups(std::string_view text);

 private:
  Outcome<std::string> Evaluate(std::string_view text, std::string* steps);
  // The value of an operand as typed (brackets and signs resolved) for
  // `op`, read once; refused when it is missing or no number of the base.
  Status ReadOperand(std::string_view typed, char op, bool right,
                     std::optional<NumberValue>& value) const;
  // A computed value as the rewriting writes it: a negative one in brackets.
  static std::string SpliceText(NumberValue& value);
  // The operator positions of a flat text and its end, into `out`.
  static void ListOperators(std::string_view text, std::vector<int>& out);
  // A bracket-free text (bracketed numbers allowed) reduced into its value
  // in splice form; `stepped` for the outermost text, whose steps count.
  Status ReduceFlat(std::string_view text, std::string& value, bool stepped, std::string* steps);
  // The value of a group whose content is `inner`, with the function `name`
  // before it (empty for none), in splice form; `step(keep_name, value)`
  // records each rewriting of the group.
  template <typename Step>
  Status ReduceGroup(std::string inner, std::string_view name, std::string& value,
                     const Step& step);
  // Counts a step and appends "\r\n=" and `text` to `steps` when given;
  // refused when the evaluation's steps would pass kMaxStepCharacters.
  Status AppendStep(std::string* steps, std::string_view text);

  NumberBase base_;
  int precision_;
  bool radian_;
  std::vector<int> operators_;
  std::size_t step_characters_ = 0;  // written by this evaluation's steps so far
  std::size_t last_step_size_ = 0;
  bool bounded_ = true;  // the step text's bounds hold (steps counted)
};

}  // namespace calvoro
