// One operator applied to two number texts, with the refusals it reports.
#include "engine/apply_operator.h"

#include <gtest/gtest.h>

#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

using testing::RecordedMessage;
using testing::RecordingSink;

// 10^400 written out: beyond the range of a double.
const std::string kTenToThe400Text = "1" + std::string(400, '0');
const char* const kTenToThe400 = kTenToThe400Text.c_str();

TEST(ApplyOperator, ScalesPrecisionPerRadix) {
  EXPECT_EQ(ScaledPrecision(10, 5), 5);
  EXPECT_EQ(ScaledPrecision(16, 5), 5);
  EXPECT_EQ(ScaledPrecision(8, 5), 6);
  EXPECT_EQ(ScaledPrecision(2, 5), 20);
  EXPECT_EQ(ScaledPrecision(8, 1), 1);
}

TEST(ApplyOperator, ComputesEachOperator) {
  struct Case {
    char op;
    const char* left;
    const char* right;
    int radix;
    int precision;
    const char* expected;
  } cases[] = {
      {'/', "1", "700", 10, 5, "0.00142"},
      {'/', "1", "3", 8, 5, "0.252525"},
      {'/', "1", "11", 2, 5, "0.01010101010101010101"},
      {'+', "ff", "1", 16, 5, "100"},
      {'^', "2", "10", 10, 5, "1024.000000"},
      {'^', "2", "0.5", 10, 5, "1.414214"},
      {'^', "-2", "3", 10, 5, "-8.000000"},
      {'^', "-8", "2", 10, 5, "64.000000"},
      {'^', "+4", "0.5", 10, 5, "2.000000"},
      {'^', "10", "10", 2, 5, "100"},                     // 2^2 = 4 in binary
      {'^', "A", "2", 16, 5, "64"},                       // 10^2 = 100 = 0x64
      {'^', "10", "0.1", 2, 5, "1.0110101000001001111"},  // sqrt 2 to 4P = 20 bits
      {'^', "7", "2", 8, 5, "61"},
      {'^',
       "0.0000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "0000000000000000000000000000000000000000000000000000000000000000000000000000000000"
       "00000000000000000000000000000000000000000000000000000000000000001",
       "2", 10, 5, "0.000000"},  // below the double range reads as 0
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.left) + c.op + c.right + " radix " + std::to_string(c.radix));
    RecordingSink sink;
    const auto result = ApplyOperator(c.op, c.left, c.right, c.radix, c.precision, sink);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, c.expected);
    EXPECT_TRUE(sink.empty());
  }
}

TEST(ApplyOperator, RefusalsReportOnceAndGiveNoResult) {
  struct Case {
    char op;
    const char* left;
    const char* right;
    int radix;
    const char* text;
    const char* caption;
  } cases[] = {
      {'/', "5", "0", 10, "The denominator cannot be zero.", "Calvoro Warning Message"},
      {'^', "-8", "0.3333", 10,
       "Sorry,we cannot raise a negative number to a power if the exponent is not an integer.",
       "Tivamo Warning Message"},
      {'^', "-8", "2.0", 10,
       "Sorry,we cannot raise a negative number to a power if the exponent is not an integer.",
       "Tivamo Warning Message"},
      {'^', "0", "-1", 10, "The denominator cannot be zero.", "Calvoro Warning Message"},
      {'^', "10", "400", 10, "Sorry, the result of the power is too large for the calculator.",
       "Calvoro Warning Message"},
      {'^', kTenToThe400, "2", 10,
       "Sorry, the result of the power is too large for the calculator.",
       "Calvoro Warning Message"},  // beyond the double range reads as infinity, never as 0
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.left) + c.op + c.right);
    RecordingSink sink;
    EXPECT_FALSE(ApplyOperator(c.op, c.left, c.right, c.radix, 5, sink).has_value());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].kind, RecordedMessage::Box);
    EXPECT_EQ(sink.messages[0].text, c.text);
    EXPECT_EQ(sink.messages[0].caption, c.caption);
    EXPECT_EQ(sink.messages[0].icon, MessageIcon::Warning);
  }
}

}  // namespace
}  // namespace calvoro
