// The evaluator's bounds checked on an expression's text before any work:
// the operators of one flat text (kMaxOperators, the multiplications still
// to be inserted counted), the nesting of brackets (kMaxNestingDepth) and a
// lower bound of the step text (kMaxStepCharacters). One pass over the
// text's pieces, which stops at the first excess and builds nothing, so a
// text of a hundred megabytes is refused at once.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "engine/message_sink.h"
#include "engine/number_base.h"
#include "engine/refusal.h"

namespace calvoro {

// Bracket groups may nest this deep: every level costs the evaluator a pass
// over the whole text.
inline constexpr int kMaxNestingDepth = 1000;

// The characters that the names of an expression stand for once they are
// substituted; 0 while their values are not known (the step text's bound is
// then a lower bound of the real one).
struct NameSizes {
  std::array<std::size_t, 5> memories{};  // last1 .. last5
  std::size_t pi = 0;
  std::array<std::size_t, 4> parameters{};  // f, k, m, w
};

enum class BoundExcess { kNone, kOperators, kNesting, kSteps };

struct ExpressionBounds {
  BoundExcess excess = BoundExcess::kNone;
  // The length of the longest beginning of the text within every bound. A
  // beginning with balanced brackets that is longer passes one of them.
  std::size_t withinLength = 0;
};

// Measures a lower-cased expression in `base`. The step text is bounded
// from below by the text itself and, for every bracket group that is
// rewritten (one with an operator or a function name), by the text after
// its ")", which is still unchanged when the group's step is written.
ExpressionBounds MeasureExpression(std::string_view lower, NumberBase base,
                                   const NameSizes& names = {});

// The length of the longest beginning of the text whose brackets nest at
// most kMaxNestingDepth deep (the bound that holds without the step text).
std::size_t NestingWithinLength(std::string_view text);

// The most characters an expression may have once its names are replaced
// by their values (without steps; with them the step bound is smaller).
inline constexpr std::size_t kMaxSubstitutedCharacters = 500'000'000;

// The refusal of an excess (not kNone).
Refusal BoundRefusal(BoundExcess excess);
// Shows the refusal of an excess; false for kNone.
bool ReportBoundExcess(BoundExcess excess, MessageSink& sink);

}  // namespace calvoro
