// The small text tests and normalisers shared by the engine's steps.
#include "engine/expression_text.h"

#include <gtest/gtest.h>

namespace calvoro {
namespace {

TEST(ExpressionTextTest, Normalisers) {
  const std::pair<const char*, const char*> leading[] = {
      {"007", "7"}, {"000.5", "0.5"}, {"0", "0"}, {"(-007.5)", "(-7.5)"}, {"-00", "-0"}};
  for (const auto& [in, out] : leading) EXPECT_EQ(StripLeadingZeros(in), out) << in;
  const std::pair<const char*, const char*> trailing[] = {{"1.500", "1.5"},
                                                          {"2.000", "2"},
                                                          {"100", "100"},
                                                          {"(-1.20)", "(-1.2)"},
                                                          {"1.0E+10", "1.0E+10"}};
  for (const auto& [in, out] : trailing) EXPECT_EQ(StripTrailingZeros(in), out) << in;
}

TEST(ExpressionTextTest, ShiftsAndExpandsExponents) {
  const std::pair<const char*, const char*> cases[] = {
      {"1.23456E+8", "123456000"},
      {"-1.2E-7", "-0.00000012"},
      {"5E+0", "5"},
      {"1.5", "1.5"},
      {"1E+10001", "1E+10001"},
      {"1E+x", "1E+x"},
      // A hexadecimal memory's E is a digit, never an exponent.
      {"-0h92F8.E9", "-0h92F8.E9"},
      {"0h2.76E29", "0h2.76E29"},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(ExpandExponentNotation(in), out) << in;
  EXPECT_EQ(ShiftDecimalPoint("12", -3), "0.012");
  EXPECT_EQ(ShiftDecimalPoint("-1.5", 3), "-1500");
}

TEST(ExpressionTextTest, Classifiers) {
  EXPECT_TRUE(IsExpression("2*3"));
  EXPECT_TRUE(IsExpression("-(3)"));
  EXPECT_FALSE(IsExpression("-3"));
  EXPECT_FALSE(IsExpression("+3.5"));
  EXPECT_TRUE(ContainsUnknown("2X+1"));
  EXPECT_FALSE(ContainsUnknown("exp(1)"));
  EXPECT_TRUE(ContainsUnknown("exp(x)"));
  EXPECT_TRUE(UsesUserParameter("2*Pi"));
  EXPECT_TRUE(UsesMemory("LAST3"));
  EXPECT_FALSE(UsesMemory("last6"));
  EXPECT_EQ(FunctionNameAtEnd("2*arcsin"), "arcsin");
  EXPECT_EQ(FunctionNameAt("sinh(1)", 0), "sinh");
}

// Brackets in the blocks of sixteen, in the tail after them, and on the
// border between.
TEST(ExpressionTextTest, CountsBrackets) {
  const std::string digits(40, '7');
  const struct {
    std::string text;
    std::size_t opens, closes;
  } cases[] = {
      {"", 0, 0},
      {"(2+3", 1, 0},
      {"((((((((((((((((", 16, 0},
      {digits + "(" + digits + "))", 1, 2},
      {digits.substr(0, 15) + "()" + digits.substr(0, 15) + ")", 1, 2},
  };
  for (const auto& c : cases) {
    const BracketCount count = CountBrackets(c.text);
    EXPECT_EQ(count.opens, c.opens) << c.text;
    EXPECT_EQ(count.closes, c.closes) << c.text;
  }
}

}  // namespace
}  // namespace calvoro
