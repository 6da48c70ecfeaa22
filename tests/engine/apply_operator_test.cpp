// One operator applied to two number texts, with the refusals it reports.
#include "engine/apply_operator.h"

#include <gtest/gtest.h>

#include "numeric/precision.h"
#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

using testing::RecordedMessage;
using testing::RecordingSink;

// 10^400 written out: beyond the range of a double.
const std::string kTenToThe400Text = "1" + std::string(400, '0');
const char* const kTenToThe400 = kTenToThe400Text.c_str();
// 10^-331: below the range of a double.
const std::string kTinyNumberText = "0." + std::string(330, '0') + "1";
const char* const kTinyNumber = kTinyNumberText.c_str();
// 10^5000000 and 10^-5000001: their product has more than 10^7 digits.
const std::string kHugeText = "1" + std::string(5'000'000, '0');
const char* const kHuge = kHugeText.c_str();
const std::string kSmallText = "0." + std::string(5'000'000, '0') + "1";
const char* const kSmall = kSmallText.c_str();

TEST(ApplyOperator, ScalesPrecisionPerRadix) {
  EXPECT_EQ(ScaledDigits(Radix::kDecimal, 5), 5);
  EXPECT_EQ(ScaledDigits(Radix::kHex, 5), 5);
  EXPECT_EQ(ScaledDigits(Radix::kOctal, 5), 6);
  EXPECT_EQ(ScaledDigits(Radix::kBinary, 5), 20);
  EXPECT_EQ(ScaledDigits(Radix::kOctal, 1), 1);
}

TEST(ApplyOperator, ComputesEachOperator) {
  struct Case {
    char op;
    const char* left;
    const char* right;
    Radix radix;
    int precision;
    std::string expected;
  } cases[] = {
      {'/', "1", "700", Radix::kDecimal, 5, "0.00142"},
      {'/', "1", "3", Radix::kOctal, 5, "0.252525"},
      {'/', "1", "11", Radix::kBinary, 5, "0.01010101010101010101"},
      {'+', "ff", "1", Radix::kHex, 5, "100"},
      // A non-integer exponent: rounded beyond P, then cut like a product.
      {'^', "2", "0.5", Radix::kDecimal, 5, "1.41421"},
      {'^', "10", "4.5", Radix::kDecimal, 5, "31622.77660"},  // a cut may end in 0, as a product's
      {'^', "2", "2.0", Radix::kDecimal, 5, "4"},
      {'^', "3", "40.0", Radix::kDecimal, 5, "12157665459056928801"},  // every integer digit
      {'^', "+4", "0.5", Radix::kDecimal, 5, "2"},
      {'^', "0.00", "2.5", Radix::kDecimal, 5, "0"},
      {'^', "10", "0.1", Radix::kBinary, 5, "1.01101010000010011110"},  // sqrt 2 to 4P = 20 bits
      {'^', "2", "0.8", Radix::kHex, 5, "1.6A09E"},                     // 2^(8/16)
      {'^', kTinyNumber, "2.5", Radix::kDecimal, 5, "0." + std::string(827, '0') + "31622"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.left) + c.op + c.right + " radix " + std::to_string(c.radix));
    RecordingSink sink;
    const auto result =
        ValueOrReport(ApplyOperator(c.op, c.left, c.right, c.radix, c.precision), sink);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, c.expected);
    EXPECT_TRUE(sink.empty());
  }
}

// An integer exponent gives the exact power, cut once by the scaled working
// precision like a product; a negative one divides 1 by it.
// A value held as its text or as its digits gives one result, in either form.
TEST(ApplyOperator, ValuesOfEitherFormAgree) {
  const struct {
    char op;
    const char* left;
    const char* right;
    const char* result;
  } cases[] = {
      {'+', "007", "0.50", "7.5"}, {'-', "2", "2", "0"},     {'*', "-1.5", "4", "-6"},
      {'/', "1", "8", "0.125"},    {'^', "2", "10", "1024"}, {'^', "-0.5", "3", "-0.125"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.left) + c.op + c.right);
    for (const bool as_digits : {false, true}) {
      const auto value = [&](const char* text) {
        return as_digits ? NumberValue(HugeFloat::FromRadixText(text, Radix::kDecimal, 11))
                         : NumberValue::View(text, Radix::kDecimal, 11);
      };
      NumberValue left = value(c.left);
      NumberValue right = value(c.right);
      ASSERT_TRUE(ApplyOperator(c.op, left, right, 11).ok());
      left.StripZeros();
      EXPECT_EQ(left.Text(), c.result);
      EXPECT_EQ(left.Digits().ToText(), c.result);
    }
  }
}

TEST(ApplyOperator, IntegerPowersAreExact) {
  struct Case {
    const char* left;
    const char* right;
    Radix radix;
    int precision;
    const char* expected;
  } cases[] = {
      {"3", "50", Radix::kDecimal, 5, "717897987691852588770249"},
      {"2", "10", Radix::kDecimal, 5, "1024"},
      {"0.5", "30", Radix::kDecimal, 11, "0.00000000093132257461"},  // 11 significant digits kept
      {"1.1", "30", Radix::kDecimal, 5, "17.44940"},                 // 5 fraction digits, truncated
      {"12.5", "3", Radix::kDecimal, 5, "1953.125"},
      {"2", "-2", Radix::kDecimal, 5, "0.25"},
      {"3", "-1", Radix::kDecimal, 5, "0.33333"},  // the quotient's cut
      {"-2", "3", Radix::kDecimal, 5, "-8"},
      {"-2", "(-3)", Radix::kDecimal, 5, "-0.125"},
      {"-8", "2", Radix::kDecimal, 5, "64"},
      {"(-8)", "2", Radix::kDecimal, 5, "64"},
      {"-8", "+2", Radix::kDecimal, 5, "64"},
      {"10", "0", Radix::kDecimal, 5, "1"},
      {"0", "0", Radix::kDecimal, 5, "1"},
      {"-5", "0", Radix::kDecimal, 5, "1"},
      {"0", "3", Radix::kDecimal, 5, "0"},
      {"-0", "3", Radix::kDecimal, 5, "0"},
      {"-1", "99999999999999999999999", Radix::kDecimal, 5,
       "-1"},  // beyond 64 bits: parity still counts
      {"1.000", "-99999999999999999999999", Radix::kDecimal, 5, "1"},
      {"2", "-99999999999", Radix::kDecimal, 5, "0"},  // below the precision: no divisor is built
      {"10", "-5", Radix::kDecimal, 5, "0.00001"},
      {"10", "-6", Radix::kDecimal, 5, "0"},
      {"0010", "3", Radix::kDecimal, 5, "1000"},
      {"10", "400", Radix::kDecimal, 5, kTenToThe400},  // beyond the double range
      {"A", "2", Radix::kHex, 5, "64"},
      {"0.8", "2", Radix::kHex, 5, "0.4"},
      {"10", "11", Radix::kBinary, 5, "1000"},
      {"0.1", "-10", Radix::kBinary, 5, "100"},
      {"0.11", "11000", Radix::kBinary, 1,
       "0.0000000001000"},  // 0.75^24 to 4P = 4 significant bits
      {"7", "2", Radix::kOctal, 5, "61"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.left) + "^" + c.right + " radix " + std::to_string(c.radix));
    RecordingSink sink;
    const auto result =
        ValueOrReport(ApplyOperator('^', c.left, c.right, c.radix, c.precision), sink);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, c.expected);
    EXPECT_TRUE(sink.empty());
  }
}

// Results just within the digit bound are computed: the bound counts the
// exact result, not the operands' lengths.
TEST(ApplyOperator, ResultsWithinTheDigitBoundAreComputed) {
  RecordingSink sink;
  const auto product = ValueOrReport(ApplyOperator('*', kHuge, "0.5", Radix::kDecimal, 5), sink);
  ASSERT_TRUE(product.has_value());
  EXPECT_EQ(*product, "5" + std::string(4'999'999, '0'));
  const auto quotient = ValueOrReport(ApplyOperator('/', "1", kSmall, Radix::kDecimal, 5), sink);
  ASSERT_TRUE(quotient.has_value());
  EXPECT_EQ(*quotient, "1" + std::string(5'000'001, '0'));
  EXPECT_TRUE(sink.empty());
}

TEST(ApplyOperator, RefusalsReportOnceAndGiveNoResult) {
  const char* const negative_power =
      "Sorry,we cannot raise a negative number to a power if the exponent is not an integer.";
  const char* const too_large = "Sorry, the result of the power is too large for the calculator.";
  const char* const too_small = "Sorry, the result of the power is too small for the calculator.";
  const char* const too_long =
      "Sorry, the result of the power would have more than 10000000 digits, which is beyond the "
      "calculator's limit.";
  const char* const long_product =
      "Sorry, the result of the multiplication would have more than 10000000 digits, which is "
      "beyond the calculator's limit.";
  const char* const long_quotient =
      "Sorry, the result of the division would have more than 10000000 digits, which is beyond "
      "the calculator's limit.";
  struct Case {
    const char* left;
    const char* right;
    Radix radix;
    const char* text;
    const char* caption;
    char op = '^';
  } cases[] = {
      {"5", "0", Radix::kDecimal, "The denominator cannot be zero.", "Calvoro Warning Message",
       '/'},
      {"5", "0.0", Radix::kDecimal, "The denominator cannot be zero.", "Calvoro Warning Message",
       '/'},
      {"-8", "0.3333", Radix::kDecimal, negative_power, "Tivamo Warning Message"},
      {"-8", "0.5", Radix::kDecimal, negative_power, "Tivamo Warning Message"},
      {"-8", "2.0", Radix::kDecimal, negative_power, "Tivamo Warning Message"},
      {"-8", ".5", Radix::kDecimal, negative_power, "Tivamo Warning Message"},  // pow's NaN
      {"0", "-1", Radix::kDecimal, "The denominator cannot be zero.", "Calvoro Warning Message"},
      {"0.00", "-3", Radix::kDecimal, "The denominator cannot be zero.", "Calvoro Warning Message"},
      {"0", "-1.5", Radix::kDecimal, "The denominator cannot be zero.", "Calvoro Warning Message"},
      // A non-integer power has at most a million integer digits and
      // leading fraction zeros.
      {"10", "1000000.5", Radix::kDecimal, too_large, "Calvoro Warning Message"},
      {kTenToThe400, "2500.5", Radix::kDecimal, too_large, "Calvoro Warning Message"},
      {"2", "99999999999.5", Radix::kDecimal, too_large, "Calvoro Warning Message"},
      {"0.1", "1000001.5", Radix::kDecimal, too_small, "Calvoro Warning Message"},
      {"2", "99999999999", Radix::kDecimal, too_long, "Calvoro Warning Message"},
      {"2.5", "-99999999999", Radix::kDecimal, too_long,
       "Calvoro Warning Message"},  // the divisor is bounded
      {"2", "FFFFFFFFFFFFFFFFFFFFFFFF", Radix::kHex, too_long, "Calvoro Warning Message"},
      {"10", "10000000", Radix::kDecimal, too_long, "Calvoro Warning Message"},  // 10000001 digits
      {"0.5", "10000001", Radix::kDecimal, too_long, "Calvoro Warning Message"},
      {kHuge, kHuge, Radix::kDecimal, long_product, "Calvoro Warning Message", '*'},
      {kSmall, kSmall, Radix::kDecimal, long_product, "Calvoro Warning Message", '*'},
      {kHuge, kSmall, Radix::kDecimal, long_quotient, "Calvoro Warning Message", '/'},
      {kHuge, kSmall, Radix::kBinary, long_quotient, "Calvoro Warning Message", '/'},  // in bits
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.left).substr(0, 20) + c.op + std::string(c.right).substr(0, 20));
    RecordingSink sink;
    EXPECT_FALSE(ValueOrReport(ApplyOperator(c.op, c.left, c.right, c.radix, 5), sink).has_value());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].kind, RecordedMessage::Box);
    EXPECT_EQ(sink.messages[0].text, c.text);
    EXPECT_EQ(sink.messages[0].caption, c.caption);
    EXPECT_EQ(sink.messages[0].icon, MessageIcon::Warning);
  }
}

}  // namespace
}  // namespace calvoro
