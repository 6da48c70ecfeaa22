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
std::string ReferencePower(std::string_view base, int n, bool negative, Radix radix,
                           int precision) {
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
    Radix radix;
    int precision;
  } cases[] = {
      {"1.7", Radix::kDecimal, 5},   {"-3", Radix::kDecimal, 5}, {"0.03", Radix::kDecimal, 8},
      {"-0.9", Radix::kDecimal, 30}, {"-1.B", Radix::kHex, 7},   {"0.11", Radix::kBinary, 20},
      {"7.4", Radix::kOctal, 9},
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
  EXPECT_TRUE(IsIntegerPower("-8", "2", Radix::kDecimal));
  EXPECT_TRUE(IsIntegerPower("(-8)", "(-3)", Radix::kDecimal));
  EXPECT_TRUE(IsIntegerPower("A", "B", Radix::kHex));
  EXPECT_FALSE(IsIntegerPower("2", "2.0", Radix::kDecimal));
  EXPECT_FALSE(IsIntegerPower("2", "A", Radix::kDecimal));
  EXPECT_FALSE(IsIntegerPower("2", "2", Radix::kBinary));
  EXPECT_FALSE(IsIntegerPower("2", "", Radix::kDecimal));
}

// The estimate never falls below the true digit count and stays within one
// digit above it (where the fraction digits are exactly n times the base's).
TEST(ExactPower, EstimatesDigitsFromAbove) {
  struct Case {
    const char* base;
    Radix radix;
    std::uint64_t n;
    long double digits;
  } cases[] = {
      {"2", Radix::kDecimal, 10, 4},          // 1024
      {"99", Radix::kDecimal, 3, 6},          // 970299
      {"1.5", Radix::kDecimal, 2, 3},         // 2.25
      {"0.5", Radix::kDecimal, 30, 30},       // the fraction digits alone
      {"FF", Radix::kHex, 2, 4},              // FE01
      {"0.11", Radix::kBinary, 24, 48},       // 0.75^24
      {"10", Radix::kDecimal, 9999999, 1e7},  // exactly at the limit
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.base) + "^" + std::to_string(c.n));
    const HugeFloat base = HugeFloat::FromRadixText(c.base, c.radix, 0);
    const long double estimate = EstimatePowerDigits(base, c.n);
    EXPECT_GE(estimate, c.digits);
    EXPECT_LT(estimate, c.digits + 1);
  }
  EXPECT_LE(EstimatePowerDigits(HugeFloat::FromRadixText("10", Radix::kDecimal, 0), 9999999),
            kMaxResultDigits);
  EXPECT_GT(EstimatePowerDigits(HugeFloat::FromRadixText("10", Radix::kDecimal, 0), 10000000),
            kMaxResultDigits);
  EXPECT_GT(EstimatePowerDigits(HugeFloat::FromRadixText("1.0001", Radix::kDecimal, 0), UINT64_MAX),
            kMaxResultDigits);
}

}  // namespace
}  // namespace calvoro
