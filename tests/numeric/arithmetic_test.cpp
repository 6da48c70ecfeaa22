// Add, Subtract and Multiply on the edge cases of each radix.
#include <gtest/gtest.h>

#include "numeric/huge_float.h"

namespace calvoro {
namespace {

struct Case {
  int radix;
  const char* a;
  char op;
  const char* b;
  int precision;
  const char* expected;
};

std::string Apply(const Case& c) {
  const HugeFloat a = HugeFloat::FromRadixText(c.a, c.radix, c.precision);
  const HugeFloat b = HugeFloat::FromRadixText(c.b, c.radix, c.precision);
  switch (c.op) {
    case '+': return Add(a, b, c.precision).ToText();
    case '-': return Subtract(a, b, c.precision).ToText();
    default: return Multiply(a, b, c.precision).ToText();
  }
}

TEST(Arithmetic, ExactResultsThenTruncation) {
  const Case cases[] = {
      // carries, cancellation and the sign of zero
      {10, "0.1", '+', "0.2", 10, "0.3"},
      {10, "999.99", '+', "0.01", 10, "1000"},
      {10, "5", '-', "5", 10, "0"},
      {10, "-5", '+', "5", 10, "0"},
      {10, "2.5", '-', "2.50", 10, "0"},
      {10, "-0", '+', "-0", 10, "-0"},
      {10, "-0", '-', "0", 10, "-0"},
      {10, "1", '-', "1.0001", 1, "-0.0001"},
      {10, "-2", '-', "-7", 10, "5"},
      {10, "-7", '-', "-2", 10, "-5"},
      {10, "3", '-', "-4.5", 10, "7.5"},
      {10, "007", '+', "1", 10, "8"},
      {10, "1.99", '+', "0.01", 1, "2"},
      {10, "0.000123", '+', "0.0000004567", 3, "0.000123"},
      {10, "12.5", '*', "0.08", 5, "1"},
      {10, "0.5", '*', "0.5", 5, "0.25"},
      {10, "-3", '*', "0", 5, "-0"},
      {10, "0", '*', "-3", 5, "-0"},
      {10, "123456789", '*', "987654321", 1, "121932631112635269"},
      {10, "1.23456", '*', "1", 3, "1.234"},
      {10, "-0.001", '*', "0.001", 2, "-0.000001"},
      {10, "100", '*', "100", 1, "10000"},
      {10, "0.25", '*', "4", 1, "1"},
      // the other radices
      {16, "FF", '+', "1", 5, "100"},
      {16, "0.8", '+', "0.8", 5, "1"},
      {16, "A", '*', "A", 5, "64"},
      {16, "1", '-', "0.1", 5, "0.F"},
      {2, "1.1", '+', "0.1", 5, "10"},
      {2, "1", '-', "10", 5, "-1"},
      {2, "0.1", '*', "0.1", 5, "0.01"},
      {8, "7.7", '+', "0.1", 5, "10"},
      {8, "777", '*', "777", 5, "776001"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.radix) + ": " + c.a + c.op + c.b);
    EXPECT_EQ(Apply(c), c.expected);
  }
}

TEST(Arithmetic, MagnitudeHelpers) {
  const auto t = [](const char* s) { return HugeFloat::FromText(s); };
  EXPECT_EQ(AddMagnitudes(t("-9.5"), t("0.5")).ToText(), "10.0");  // exact, not normalised
  EXPECT_EQ(SubtractMagnitudes(t("10"), t("-0.25")).ToText(), "9.75");
  EXPECT_EQ(SubtractMagnitudes(t("1000"), t("999")).ToText(), "1");
  EXPECT_EQ(MultiplyByDigit(t("999"), 9).ToText(), "8991");
  EXPECT_EQ(MultiplyByDigit(HugeFloat::FromRadixText("FF", 16, 1), 15).ToText(), "EF1");
}

TEST(Arithmetic, OperandsAreNeverModified) {
  const HugeFloat a = HugeFloat::FromText("1.50");
  const HugeFloat b = HugeFloat::FromText("-2.25");
  (void)Add(a, b, 1);
  (void)Multiply(a, b, 1);
  (void)Subtract(a, b, 1);
  EXPECT_EQ(a.ToText(), "1.50");
  EXPECT_EQ(b.ToText(), "-2.25");
}

TEST(Arithmetic, MixedRadixIsRejected) {
  EXPECT_THROW(Add(HugeFloat::FromText("1"), HugeFloat::FromRadixText("1", 2, 1), 1),
               std::invalid_argument);
}

}  // namespace
}  // namespace calvoro
