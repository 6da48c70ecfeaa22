// The evaluator's bounds checked on the text before any work: operators per
// flat text, nesting, the step text, and the size of a substitution.
#include "engine/expression_bounds.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/evaluator.h"
#include "engine/expr_engine.h"
#include "engine/number_base.h"
#include "engine/refusal.h"

namespace calvoro {
namespace {

std::string Repeat(std::string_view piece, std::size_t times, std::string_view joint = "") {
  std::string text;
  for (std::size_t i = 0; i < times; ++i) {
    if (i > 0) text += joint;
    text += piece;
  }
  return text;
}

TEST(ExpressionBoundsTest, MeasuresBeforeAnyWork) {
  const std::string ops256 = Repeat("1", 257, "+");
  const std::string groups = Repeat("(1+1)", 4000, "+");
  struct Case {
    std::string text;
    BoundExcess excess;
    std::size_t within;  // checked when an excess is found
  };
  const Case cases[] = {
      {ops256, BoundExcess::kNone, 0},
      {ops256 + "+1", BoundExcess::kOperators, ops256.size()},
      {"-" + ops256, BoundExcess::kNone, 0},  // a leading sign is no operator
      // Inserted multiplications count: 2(1)(1)... is 2*(1)*(1)...
      {"2" + Repeat("(1)", 256), BoundExcess::kNone, 0},
      {"2" + Repeat("(1)", 257), BoundExcess::kOperators, 1 + 3 * 256},
      {"(" + ops256 + ")*2", BoundExcess::kNone, 0},
      {Repeat("(", 1000) + "1" + Repeat(")", 1000), BoundExcess::kNone, 0},
      {Repeat("(", 1001) + "1" + Repeat(")", 1001), BoundExcess::kNesting, 1000},
      // 4000 groups: refused by the operators between them, at the 257th.
      {groups, BoundExcess::kOperators, 6 * 257 - 1},
  };
  for (const Case& c : cases) {
    const ExpressionBounds bounds = MeasureExpression(c.text, NumberBase::Decimal);
    EXPECT_EQ(bounds.excess, c.excess) << c.text.substr(0, 40);
    if (c.excess != BoundExcess::kNone) {
      EXPECT_EQ(bounds.withinLength, c.within);
    }
  }
  // 62,750 groups in 375 kilobytes, each within the other bounds, would
  // write gigabytes of steps.
  const std::string wide = Repeat("(" + Repeat("(1+1)", 250, "+") + ")", 250, "+");
  EXPECT_EQ(MeasureExpression(wide, NumberBase::Decimal).excess, BoundExcess::kSteps);
}

class BoundsRefusalTest : public ::testing::Test {
 protected:
  std::string Refusal(std::string_view text, bool with_steps = true) {
    const auto outcome = engine.Calculate(text, memories, NumberBase::Decimal, with_steps);
    return outcome ? "calculated" : DescribeRefusal(outcome.refusal()).text;
  }
  EngineSettings settings;
  ExprEngine engine{settings};
  MemoryTexts memories = kZeroMemories;
};

TEST_F(BoundsRefusalTest, HugeTextsAndSubstitutionsAreRefusedBeforeTheyAreBuilt) {
  const auto Text = [](RefusalId id, const char* bound) {
    return DescribeRefusal({id, {bound}}).text;
  };
  // Ten megabytes of 1+1+..., and a hundred thousand nested brackets.
  EXPECT_EQ(Refusal(Repeat("1", 5'000'000, "+")), Text(RefusalId::kTooManyOperators, "256"));
  EXPECT_NE(Refusal(Repeat("(", 100000) + "1" + Repeat(")", 100000)).find("1000 levels deep"),
            std::string::npos);
  // Memories and parameters of ten million digits: 200 of them would make
  // two gigabytes of text.
  memories[0] = "1" + std::string(10'000'000, '0');
  settings.paramM = memories[0];
  EXPECT_EQ(Refusal(Repeat("last1", 200, "+")), Text(RefusalId::kTooManySteps, "500000000"));
  EXPECT_EQ(Refusal(Repeat("m", 200, "+")), Text(RefusalId::kTooManySteps, "500000000"));
  EXPECT_EQ(Refusal("last1-m+1"), "calculated");
  // Without the step text only the size of the substituted text is bounded.
  EXPECT_EQ(Refusal(Repeat("1", 300, "+"), false), "calculated");
  EXPECT_EQ(Refusal(Repeat("m", 200, "+"), false),
            Text(RefusalId::kSubstitutedTooLong, "500000000"));
}

}  // namespace
}  // namespace calvoro
