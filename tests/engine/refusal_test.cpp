// A refusal reads the same wherever it stands in the expression.
#include "engine/refusal.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/expr_engine.h"

namespace calvoro {
namespace {

TEST(RefusalTest, SameRefusalSameTextAnywhereInTheExpression) {
  struct Case {
    NumberBase base;
    std::string call;     // refused on its own
    std::string earlier;  // the same function, accepted, to stand before it
  };
  const Case cases[] = {
      {NumberBase::Decimal, "arcsin(2)", "arcsin(0.5)"},
      {NumberBase::Decimal, "arccos(-3)", "arccos(0)"},
      {NumberBase::Decimal, "arcsin(1+1)", "arcsin(0.5)"},
      {NumberBase::Hex, "arcsin(0A)", "arcsin(0.8)"},
      {NumberBase::Decimal, "ln(0)", "ln(1)"},
      {NumberBase::Decimal, "sqrt(-4)", "sqrt(4)"},
      {NumberBase::Decimal, "fac(1.5)", "fac(3)"},
      {NumberBase::Decimal, "(-8)^0.5", "8^0.5"},
      {NumberBase::Decimal, "5/0", "5/1"},
      {NumberBase::Decimal, "5/(1-1)", "5/(2-1)"},
      {NumberBase::Decimal, "1.2.3", "1.2"},
      {NumberBase::Hex, "0A.1.1", "0A.1"},
  };
  EngineSettings settings;
  ExprEngine engine{settings};
  const auto refusal = [&](const std::string& text, NumberBase base) {
    const auto outcome = engine.Calculate(text, kZeroMemories, base);
    EXPECT_FALSE(outcome) << text;
    if (outcome) return std::string();
    const RefusalMessage message = DescribeRefusal(outcome.refusal());
    return std::string(message.caption) + " | " + message.text;
  };
  for (const Case& c : cases) {
    const std::string alone = refusal(c.call, c.base);
    for (const std::string& text : {c.call + "+1", "2*" + c.call + "-3", "1+" + c.call,
                                    c.earlier + "+" + c.call, "(" + c.call + ")*" + c.earlier}) {
      EXPECT_EQ(refusal(text, c.base), alone) << text;
    }
  }
}

TEST(RefusalTest, TextsAreFilledInOrder) {
  EXPECT_EQ(DescribeRefusal({RefusalId::kUnbalancedBrackets, {"3", "1"}}).text,
            "Sorry, the expression includes 3 ( and 1 ). It is invalid.");
  EXPECT_EQ(DescribeRefusal({RefusalId::kDegreeUndefined, {"Tan", "90"}}).text,
            "Sorry, we cannot calculate the Tan of the degree 90");
}

}  // namespace
}  // namespace calvoro
