// Add, Subtract and Multiply on the edge cases of each radix.
#include <gtest/gtest.h>

#include "numeric/huge_float.h"

namespace calvoro {
namespace {

TEST(Arithmetic, MagnitudeHelpers) {
  const auto t = [](const char* s) { return HugeFloat::FromText(s); };
  EXPECT_EQ(AddMagnitudes(t("-9.5"), t("0.5")).ToText(), "10.0");  // exact, not normalised
  EXPECT_EQ(SubtractMagnitudes(t("10"), t("-0.25")).ToText(), "9.75");
  EXPECT_EQ(SubtractMagnitudes(t("1000"), t("999")).ToText(), "1");
  EXPECT_EQ(MultiplyByDigit(t("999"), 9).ToText(), "8991");
  EXPECT_EQ(MultiplyByDigit(HugeFloat::FromRadixText("FF", Radix::kHex, 1), 15).ToText(), "EF1");
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

// Adding into the left operand's digits gives what the copying operations
// give, whatever the lengths, carries, leading zeros, signs and points.
TEST(Arithmetic, InPlaceSumsMatchTheCopyingOnes) {
  struct Case {
    const char* a;
    const char* b;
    Radix radix;
  };
  const Case cases[] = {
      {"999", "1", Radix::kDecimal},     {"1", "99999", Radix::kDecimal},
      {"007", "3", Radix::kDecimal},     {"-45", "-55", Radix::kDecimal},
      {"-45", "55", Radix::kDecimal},    {"0", "0", Radix::kDecimal},
      {"12.5", "7.50", Radix::kDecimal}, {"-0.001", "0.001", Radix::kDecimal},
      {"FFF", "1", Radix::kHex},         {"111", "1", Radix::kBinary},
      {"-7", "1", Radix::kOctal},        {"123456789", "-987654321", Radix::kDecimal},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + ", " + c.b);
    const HugeFloat a = HugeFloat::FromRadixText(c.a, c.radix, 3);
    const HugeFloat b = HugeFloat::FromRadixText(c.b, c.radix, 3);
    EXPECT_EQ(Add(HugeFloat(a), b, 3).ToText(), Add(a, b, 3).ToText());
    EXPECT_EQ(Subtract(HugeFloat(a), b, 3).ToText(), Subtract(a, b, 3).ToText());
  }
}

// The normal form of a value is that of its text: trailing fraction zeros, a
// bare point and leading zeros go; a cancellation is a positive 0.
TEST(Arithmetic, StripZerosAsTheTextIsStripped) {
  const struct {
    const char* text;
    const char* stripped;
  } cases[] = {{"0012.500", "12.5"}, {"-0.0", "-0"}, {"100", "100"}, {"000", "0"}, {"5.", "5"}};
  for (const auto& c : cases) {
    HugeFloat value = HugeFloat::FromRadixText(c.text, Radix::kDecimal, 3);
    value.StripZeros();
    EXPECT_EQ(value.ToText(), c.stripped) << c.text;
  }
  HugeFloat cancelled = Subtract(HugeFloat::FromText("-2"), HugeFloat::FromText("-2"), 3);
  cancelled.StripZeros();
  EXPECT_EQ(cancelled.sign(), 1);
  EXPECT_EQ(cancelled.ToText(), "0");
}

TEST(Arithmetic, MixedRadixIsRejected) {
  EXPECT_DEBUG_DEATH(
      Add(HugeFloat::FromText("1"), HugeFloat::FromRadixText("1", Radix::kBinary, 1), 1), "");
}

}  // namespace
}  // namespace calvoro
