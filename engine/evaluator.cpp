// The expression evaluator: one pass over the text with a text per bracket
// level and a priority stack per flat text; the step text rendered from them.
#include "engine/evaluator.h"

#include <algorithm>
#include <optional>

#include "engine/apply_operator.h"
#include "engine/expression_bounds.h"
#include "engine/expression_text.h"
#include "engine/functions.h"
#include "engine/number_base.h"
#include "engine/refusal.h"
#include "numeric/huge_float.h"
#include "numeric/number_text.h"
#include "numeric/stop.h"

namespace calvoro {
namespace {

bool IsOperatorChar(char c) {
  switch (c) {
    case '(':
    case ')':
    case '*':
    case '+':
    case '/':
    case '=':
    case '^':
    case '-':
      return true;
    default:
      return false;
  }
}

bool InBrackets(std::string_view text) {
  return text.size() >= 2 && text.front() == '(' && text.back() == ')';
}

// An operand as it stands between two operators, brackets and signs resolved:
// "(y)" is y, "-(-y)" is y, "-(+y)" and "-(y)" are -y. A view into the text,
// or into `storage` when a sign had to be written.
std::string_view UnwrapOperand(std::string_view text, std::string& storage) {
  if (InBrackets(text)) return WithoutBrackets(text);
  if (text.size() >= 3 && text[0] == '-' && text[1] == '(' && text.back() == ')') {
    std::string_view inner = text.substr(2, text.size() - 3);
    if (!inner.empty() && inner.front() == '-') return inner.substr(1);
    if (!inner.empty() && inner.front() == '+') inner.remove_prefix(1);
    storage.assign("-").append(inner);
    return storage;
  }
  return text;
}

// A value as it is spliced into the text: normal form, a negative value in
// brackets.
void ToSpliceForm(std::string& value) {
  StripZerosInPlace(value);
  if (!value.empty() && value.front() == '-') {
    value.insert(value.begin(), '(');
    value.push_back(')');
  }
}

}  // namespace

int OperatorPriority(char c) {
  switch (c) {
    case '=':
      return 0;
    case '+':
    case '-':
      return 2;
    case '*':
    case '/':
      return 3;
    case '^':
      return 4;
    case '(':
    case ')':
      return 5;
    default:
      return -1;
  }
}

ExprEvaluator::ExprEvaluator(NumberBase base, int precision, bool radian)
    : base_(base), precision_(precision), radian_(radian) {}

int ExprEvaluator::CountOpenGroups(std::string_view text) {
  int count = 0;
  for (std::size_t i = text.find('('); i != std::string_view::npos; i = text.find('(', i + 1)) {
    // Only the last "(" before a ")" can hold a plain number; every other
    // one holds a bracket, so each inner text is read once.
    const std::size_t next = FindAnyOf(text, "()", i + 1);
    if (next != std::string_view::npos && text[next] == '(') {
      ++count;
      continue;
    }
    const std::string_view inner =
        text.substr(i + 1, next == std::string_view::npos ? std::string_view::npos : next - i - 1);
    if (!IsNumberText(inner) || EndsWithFunctionName(text.substr(0, i))) ++count;
  }
  return count;
}

Status ExprEvaluator::AppendStep(std::string* steps, std::string_view text) {
  step_characters_ += text.size() + 3;
  if (step_characters_ > kMaxStepCharacters) return BoundRefusal(BoundExcess::kSteps);
  if (steps == nullptr) return Success();
  // One growth for both pieces (appending them one by one could grow a
  // megabyte step text twice).
  steps->reserve(steps->size() + text.size() + 3);
  steps->append("\r\n=").append(text);
  return Success();
}

int ExprEvaluator::FindOperators(std::string_view text) {
  ListOperators(text, operators_);
  if (operators_.size() > static_cast<std::size_t>(kMaxOperators) + 1) return -1;
  return static_cast<int>(operators_.size());
}

void ExprEvaluator::ListOperators(std::string_view text, std::vector<int>& out) {
  out.clear();
  for (std::size_t i = EndOfDecimalDigits(text, 0); i < text.size();
       i = EndOfDecimalDigits(text, i + 1)) {
    const char c = text[i];
    if (!IsOperatorChar(c)) continue;
    if (i == 0 && (c == '-' || c == '+')) continue;  // the sign of the first operand
    if (c == ')' && !out.empty()) {
      // A bracketed number is an operand, not a group: drop its brackets
      // (and its sign) from the table.
      const int last = out.back();
      if (text[last] == '(' && IsNumberText(text.substr(last + 1, i - last - 1)) &&
          !EndsWithFunctionName(text.substr(0, last))) {
        out.pop_back();
        continue;
      }
      if ((text[last] == '-' || text[last] == '+') && out.size() >= 2) {
        const int open = out[out.size() - 2];
        if (text[open] == '(' && last == open + 1 &&
            IsNumberOperand(text.substr(open, i - open + 1))) {
          out.resize(out.size() - 2);
          continue;
        }
      }
    }
    out.push_back(static_cast<int>(i));
  }
  out.push_back(static_cast<int>(text.size()));  // the end marker
}

Status ExprEvaluator::ReadOperand(std::string_view typed, char op, bool right,
                                  std::optional<NumberValue>& value) const {
  std::string storage;
  std::string_view operand = UnwrapOperand(typed, storage);
  if (operand.empty()) {
    if (right && op == '/') return Refusal{RefusalId::kZeroDenominator, {}};
    return Refusal{RefusalId::kMissingNumber, {right ? "after" : "before", std::string(1, op)}};
  }
  const Radix radix = RadixOf(base_);
  const auto number = base_ == NumberBase::Mix
                          ? std::nullopt
                          : ReadNumber(operand, radix, {.plus = true, .brackets = true});
  if (!number && !IsNumberOfBase(base_, operand))
    return Refusal{RefusalId::kInvalidInputNumber, {std::string(operand)}};
  if (operand.front() == '+') operand.remove_prefix(1);
  // A number still in brackets is refused by the text reader, as it was.
  if (!number || operand.front() == '(') {
    value.emplace(HugeFloat::FromRadixText(operand, radix, precision_));
  } else if (!storage.empty()) {
    // A sign written into `storage` does not outlive this call.
    value.emplace(std::string(operand), radix, precision_);
  } else {
    value.emplace(*number, operand, precision_);
  }
  return Success();
}

std::string ExprEvaluator::SpliceText(NumberValue& value) {
  std::string text(value.Text());
  if (text.front() == '-') {
    text.insert(text.begin(), '(');
    text.push_back(')');
  }
  return text;
}

Status ExprEvaluator::ReduceFlat(std::string_view flat, std::string& value, bool stepped,
                                 std::string* steps) {
  std::vector<int> positions;
  ListOperators(flat, positions);
  if (bounded_ && positions.size() > static_cast<std::size_t>(kMaxOperators) + 1)
    return BoundRefusal(BoundExcess::kOperators);
  if (positions.size() == 1) {
    std::string storage;
    const std::string_view lone = UnwrapOperand(flat, storage);
    if (lone == flat || !IsNumberOfBase(base_, lone)) return Refusal{RefusalId::kNoOperator, {}};
    value = lone;
    ToSpliceForm(value);
    if (stepped && bounded_) return AppendStep(steps, value);
    return Success();
  }
  // The rewriting applies the first operator whose priority is not below
  // the next one's; a stack of rising priorities meets them in that order.
  // An operand is a view of the text until it is read, once, into the value
  // the operators act on; the step text shows a computed value as the
  // rewriting spliced it in (normal form, a negative one in brackets).
  const bool writes_steps = stepped && bounded_;
  struct Operand {
    explicit Operand(std::string_view text) : typed(text) {}
    std::string_view typed;
    std::optional<NumberValue> value;  // once read or computed
    std::string shown;                 // a computed value's text, for the steps
    std::string_view text() const { return value ? std::string_view(shown) : typed; }
  };
  std::vector<Operand> operands;
  std::vector<char> operators;
  const auto op_at = [&](std::size_t k) {
    const auto at = static_cast<std::size_t>(positions[k]);
    return at < flat.size() ? flat[at] : '=';
  };
  operands.emplace_back(flat.substr(0, static_cast<std::size_t>(positions[0])));
  std::string line;
  for (std::size_t k = 0; k < positions.size(); ++k) {
    const char op = op_at(k);
    while (!operators.empty() && OperatorPriority(operators.back()) >= OperatorPriority(op)) {
      ThrowIfStopped();
      Operand& right = operands.back();
      Operand& left = operands[operands.size() - 2];
      const char applied = operators.back();
      if (applied == '(' || applied == ')') return Refusal{RefusalId::kNoOperator, {}};
      Status status = Success();
      if (!left.value) status = ReadOperand(left.typed, applied, false, left.value);
      if (status && !right.value) status = ReadOperand(right.typed, applied, true, right.value);
      if (status) status = ApplyOperator(applied, *left.value, *right.value, precision_);
      if (!status) return status;
      operands.pop_back();
      operators.pop_back();
      left.value->StripZeros();
      if (writes_steps) {
        left.shown = SpliceText(*left.value);
        // The whole rewritten text: the stack, then the text not read yet.
        line.clear();
        for (std::size_t i = 0; i < operands.size(); ++i) {
          if (i > 0) line += operators[i - 1];
          line.append(operands[i].text());
        }
        line.append(flat.substr(std::min(static_cast<std::size_t>(positions[k]), flat.size())));
        if (Status appended = AppendStep(steps, line); !appended) return appended;
      }
    }
    if (k + 1 < positions.size()) {
      const auto from = static_cast<std::size_t>(positions[k]) + 1;
      operators.push_back(op);
      operands.emplace_back(flat.substr(from, static_cast<std::size_t>(positions[k + 1]) - from));
    }
  }
  Operand& last = operands.back();
  value = last.value ? SpliceText(*last.value) : std::string(last.typed);
  return Success();
}

template <typename Step>
Status ExprEvaluator::ReduceGroup(std::string inner, std::string_view name, std::string& value,
                                  const Step& step) {
  // A function before a computed argument is applied to its value as the
  // next rewriting does: to the bracketed value as a group of its own.
  for (int round = 0; round < 2; ++round) {
    const bool bracketed_number = InBrackets(inner) && IsNumberText(WithoutBrackets(inner));
    if (bracketed_number || IsNumberText(inner)) {
      const std::string_view number =
          bracketed_number ? WithoutBrackets(inner) : std::string_view(inner);
      if (name.empty()) {
        value = number;
      } else {
        std::string call(name);
        call.append("(").append(number).append(")");
        auto result = ApplyFunction(call, FunctionContext{precision_, base_, radian_});
        if (!result) return std::move(result).refusal();
        value = std::move(*result);
      }
      ToSpliceForm(value);
      return step(false, value);
    }
    std::string last;
    if (Status reduced = ReduceFlat(inner, last, false, nullptr); !reduced) return reduced;
    std::string storage;
    const std::string_view plain = UnwrapOperand(last, storage);
    if (name.empty()) {
      value = plain;
      ToSpliceForm(value);
      return step(false, value);
    }
    inner = std::string(plain);
    if (Status stepped = step(true, "(" + inner + ")"); !stepped) return stepped;
  }
  // Not reached: a reduced value is a number text.
  return Refusal{RefusalId::kNoOperator, {}};
}

Outcome<std::string> ExprEvaluator::Evaluate(std::string_view prepared, std::string* steps) {
  const BracketCount brackets = CountBrackets(prepared);
  const auto refuse_brackets = [&] {
    return Refusal{RefusalId::kUnbalancedBrackets,
                   {std::to_string(brackets.opens), std::to_string(brackets.closes)}};
  };
  if (!brackets.Balanced()) return refuse_brackets();
  step_characters_ = 0;
  last_step_size_ = prepared.size();
  if (steps != nullptr) {
    steps->reserve(2 * prepared.size() + 3);  // the first two lines
    steps->assign(prepared);
  }
  if (bounded_) {
    if (Status appended = AppendStep(steps, prepared); !appended)
      return std::move(appended).refusal();
  }
  // One level per open bracket: the text read so far at that level, its
  // groups already replaced by their values, and the size of the function
  // name before its "(" (the level below ends with it).
  struct Level {
    std::string text;
    std::size_t name_size = 0;
  };
  std::vector<Level> levels(1);
  std::string line;
  std::size_t i = 0;
  // A text without brackets is flat: reduced where it stands.
  const bool brackets_read = brackets.opens > 0;
  while (brackets_read && i < prepared.size()) {
    const std::size_t next = std::min(FindAnyOf(prepared, "()", i), prepared.size());
    levels.back().text.append(prepared.substr(i, next - i));
    if (next == prepared.size()) break;
    i = next + 1;
    if (prepared[next] == '(') {
      levels.push_back({{}, FunctionNameAtEnd(levels.back().text).size()});
      continue;
    }
    // A ")" before its "(": as many of each, in the wrong order.
    if (levels.size() == 1) return refuse_brackets();
    ThrowIfStopped();
    Level group = std::move(levels.back());
    levels.pop_back();
    std::string& outer = levels.back().text;
    if (IsNumberText(group.text) && group.name_size == 0) {
      // A bracketed plain number is an operand.
      outer.append("(").append(group.text).append(")");
      continue;
    }
    const std::string name = outer.substr(outer.size() - group.name_size);
    // A rewriting step: the levels below, the outer text with the group's
    // value (`keep_name`: still after its function name), and the text not
    // read yet; counted in bounded runs, written when steps are wanted.
    const auto step = [&](bool keep_name, std::string_view value) {
      if (!bounded_) return Success();
      line.clear();
      for (std::size_t j = 0; j + 1 < levels.size(); ++j) line.append(levels[j].text).append("(");
      line.append(outer, 0, outer.size() - (keep_name ? 0 : group.name_size));
      line.append(value).append(prepared.substr(i));
      return AppendStep(steps, line);
    };
    std::string value;
    if (Status reduced = ReduceGroup(std::move(group.text), name, value, step); !reduced)
      return std::move(reduced).refusal();
    outer.resize(outer.size() - group.name_size);
    outer.append(value);
  }
  const std::string_view text = brackets_read ? std::string_view(levels.front().text) : prepared;
  std::string result;
  if (IsNumberOperand(text)) {
    if (!IsNumberOfBase(base_, text)) {
      std::string storage;
      return Refusal{RefusalId::kInvalidInputNumber, {std::string(UnwrapOperand(text, storage))}};
    }
    result = text;
  } else if (Status reduced = ReduceFlat(text, result, true, steps); !reduced) {
    return std::move(reduced).refusal();
  }
  last_step_size_ = result.size();
  if (InBrackets(result)) {
    result.pop_back();
    result.erase(0, 1);
  }
  if (!result.empty() && result.front() == '+') result.erase(0, 1);
  return result;
}

Outcome<std::string> ExprEvaluator::EvaluateExpression(std::string_view prepared,
                                                       std::string* steps) {
  bounded_ = true;
  return Evaluate(prepared, steps);
}

Outcome<std::string> ExprEvaluator::EvaluateValues(std::string_view prepared) {
  bounded_ = false;
  return Evaluate(prepared, nullptr);
}

}  // namespace calvoro
