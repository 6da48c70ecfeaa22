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

TEST(Arithmetic, MixedRadixIsRejected) {
  EXPECT_THROW(Add(HugeFloat::FromText("1"), HugeFloat::FromRadixText("1", Radix::kBinary, 1), 1),
               std::invalid_argument);
}

}  // namespace
}  // namespace calvoro
