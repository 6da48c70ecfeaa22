// The evaluator's bounds measured on the text before any work.
#include "engine/expression_bounds.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/evaluator.h"
#include "engine/expression_scan.h"
#include "engine/number_base.h"
#include "engine/refusal.h"

namespace calvoro {
namespace {

using Kind = ExpressionToken::Kind;

// The characters a piece stands for in the prepared text. In Mix the
// numbers are converted into one base, which may shorten them up to four
// times (binary into hexadecimal).
std::uint64_t Weight(std::string_view lower, const ExpressionToken& token, NumberBase base,
                     const NameSizes& names) {
  std::uint64_t number = 0;
  switch (token.kind) {
    case Kind::kMemory:
      number = names.memories[static_cast<std::size_t>(lower[token.pos + 4] - '1')];
      break;
    case Kind::kPi:
      number = names.pi;
      break;
    case Kind::kParameter: {
      const char letter = lower[token.pos];
      number = names.parameters[letter == 'f' ? 0 : letter == 'k' ? 1 : letter == 'm' ? 2 : 3];
      break;
    }
    case Kind::kNumber:
      number = token.length;
      break;
    default:
      return token.length;
  }
  return base == NumberBase::Mix ? number / 4 : number;
}

}  // namespace

ExpressionBounds MeasureExpression(std::string_view lower, NumberBase base,
                                   const NameSizes& names) {
  struct Level {
    int operators = 0;
    bool function = false;  // the group is a function's argument
  };
  std::vector<Level> levels(1);
  ExpressionBounds bounds{BoundExcess::kNone, lower.size()};
  std::uint64_t length = 0;  // characters of the prepared text so far
  std::uint64_t groups = 0;  // rewritten groups closed so far
  std::uint64_t closed = 0;  // the sum of their positions after ")"
  ExpressionScanner scanner(lower, base);
  Kind left = Kind::kOther;
  for (ExpressionToken token; scanner.Next(token); left = token.kind) {
    BoundExcess excess = BoundExcess::kNone;
    const auto add_operator = [&] {
      if (++levels.back().operators > kMaxOperators) excess = BoundExcess::kOperators;
    };
    if (NeedsImplicitMultiplication(left, token.kind)) {
      add_operator();
      ++length;
    }
    length += Weight(lower, token, base, names);
    switch (token.kind) {
      case Kind::kOpen:
        levels.push_back({0, left == Kind::kFunction});
        if (levels.size() - 1 > static_cast<std::size_t>(kMaxNestingDepth))
          excess = BoundExcess::kNesting;
        break;
      case Kind::kClose:
        if (levels.size() > 1) {
          if (levels.back().operators > 0 || levels.back().function) {
            ++groups;
            closed += length;
          }
          levels.pop_back();
        }
        break;
      case Kind::kOperator:
        if (lower[token.pos] != '=' && EndsOperand(left)) add_operator();
        break;
      default:
        break;
    }
    // The first two lines, and each group's step with the text after it.
    const std::uint64_t steps = length + 3 + groups * (length + 3) - closed;
    if (excess == BoundExcess::kNone && steps > kMaxStepCharacters) excess = BoundExcess::kSteps;
    if (excess != BoundExcess::kNone) return {excess, token.pos};
  }
  return bounds;
}

std::size_t NestingWithinLength(std::string_view text) {
  int depth = 0;
  // Nothing nests before the first "(" (found by memchr, a pasted column
  // has none).
  for (std::size_t i = std::min(text.find('('), text.size()); i < text.size(); ++i) {
    if (text[i] == '(' && ++depth > kMaxNestingDepth) return i;
    if (text[i] == ')') --depth;
  }
  return text.size();
}

Refusal BoundRefusal(BoundExcess excess) {
  switch (excess) {
    case BoundExcess::kOperators:
      return {RefusalId::kTooManyOperators, {std::to_string(kMaxOperators)}};
    case BoundExcess::kNesting:
      return {RefusalId::kTooDeep, {std::to_string(kMaxNestingDepth)}};
    default:
      return {RefusalId::kTooManySteps, {std::to_string(kMaxStepCharacters)}};
  }
}

bool ReportBoundExcess(BoundExcess excess, MessageSink& sink) {
  if (excess == BoundExcess::kNone) return false;
  ReportRefusal(BoundRefusal(excess), sink);
  return true;
}

}  // namespace calvoro
