// Exact integer powers checked against the independent reference arithmetic,
// and the digit estimate that bounds them.
#include "engine/exact_power.h"

#include <gtest/gtest.h>

#include "tests/support/recording_sink.h"
#include "tests/support/reference_number.h"

namespace calvoro {
namespace {

using testing::Natural;
using testing::RecordingSink;
using testing::ReferenceDivide;
using testing::ReferenceMultiply;

// base^n by n - 1 uncut reference products, then the product's precision cut
// (a product by 1), or for a negative exponent the quotient 1 / base^n.
std::string ReferencePower(std::string_view base, int n, bool negative, int radix, int precision) {
  constexpr int kUncut = 100000;
  std::string power(base);
  for (int i = 1; i < n; ++i) power = ReferenceMultiply(power, base, radix, kUncut);
  return negative ? ReferenceDivide("1", power, radix, precision)
                  : ReferenceMultiply(power, "1", radix, precision);
}

// Square and multiply walks every bit pattern of n from 1 to 40.
TEST(ExactPower, MatchesRepeatedProducts) {
  struct Case {
    const char* base;
    int radix;
    int precision;
  } cases[] = {
      {"1.7", 10, 5},  {"-3", 10, 5},   {"0.03", 10, 8}, {"-0.9", 10, 30},
      {"-1.B", 16, 7}, {"0.11", 2, 20}, {"7.4", 8, 9},
  };
  for (const auto& c : cases) {
    for (int n = 1; n <= 40; ++n) {
      for (const bool negative : {false, true}) {
        std::string exponent = Natural(n).DigitText(c.radix);
        if (negative) exponent.insert(0, 1, '-');
        SCOPED_TRACE(std::string(c.base) + "^" + exponent + " radix " + std::to_string(c.radix));
        ASSERT_TRUE(IsIntegerPower(c.base, exponent, c.radix));
        RecordingSink sink;
        auto outcome = ExactPower(c.base, exponent, c.radix, c.precision);
        if (!outcome) ReportRefusal(outcome.refusal(), sink);
        const auto result = outcome ? std::optional<std::string>(*outcome) : std::nullopt;
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(*result, ReferencePower(c.base, n, negative, c.radix, c.precision));
        EXPECT_TRUE(sink.empty());
      }
    }
  }
}

TEST(ExactPower, TakesIntegerExponentsOfTheRadixOnly) {
  EXPECT_TRUE(IsIntegerPower("-8", "2", 10));
  EXPECT_TRUE(IsIntegerPower("(-8)", "(-3)", 10));
  EXPECT_TRUE(IsIntegerPower("A", "B", 16));
  EXPECT_FALSE(IsIntegerPower("2", "2.0", 10));
  EXPECT_FALSE(IsIntegerPower("2", "A", 10));
  EXPECT_FALSE(IsIntegerPower("2", "2", 2));
  EXPECT_FALSE(IsIntegerPower("2", "", 10));
}

// The estimate never falls below the true digit count and stays within one
// digit above it (where the fraction digits are exactly n times the base's).
TEST(ExactPower, EstimatesDigitsFromAbove) {
  struct Case {
    const char* base;
    int radix;
    std::uint64_t n;
    long double digits;
  } cases[] = {
      {"2", 10, 10, 4},          // 1024
      {"99", 10, 3, 6},          // 970299
      {"1.5", 10, 2, 3},         // 2.25
      {"0.5", 10, 30, 30},       // the fraction digits alone
      {"FF", 16, 2, 4},          // FE01
      {"0.11", 2, 24, 48},       // 0.75^24
      {"10", 10, 9999999, 1e7},  // exactly at the limit
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.base) + "^" + std::to_string(c.n));
    const HugeFloat base = HugeFloat::FromRadixText(c.base, c.radix, 0);
    const long double estimate = EstimatePowerDigits(base, c.n);
    EXPECT_GE(estimate, c.digits);
    EXPECT_LT(estimate, c.digits + 1);
  }
  EXPECT_LE(EstimatePowerDigits(HugeFloat::FromRadixText("10", 10, 0), 9999999), kMaxResultDigits);
  EXPECT_GT(EstimatePowerDigits(HugeFloat::FromRadixText("10", 10, 0), 10000000), kMaxResultDigits);
  EXPECT_GT(EstimatePowerDigits(HugeFloat::FromRadixText("1.0001", 10, 0), UINT64_MAX),
            kMaxResultDigits);
}

}  // namespace
}  // namespace calvoro
