// Parsing, printing, normal form, comparison and the precision rule.
#include "numeric/huge_float.h"

#include <gtest/gtest.h>

namespace calvoro {
namespace {

struct TextCase {
  const char* input;
  Radix radix;
  const char* printed;
};

TEST(HugeFloatParse, FromTextDropsLeadingZeros) {
  const TextCase cases[] = {
      {"  -0012.3400  ", Radix::kDecimal, "-12.3400"},
      {"", Radix::kDecimal, "0"},
      {"    ", Radix::kDecimal, "0"},
      {"+5", Radix::kDecimal, "5"},
      {"-0", Radix::kDecimal, "-0"},
      {".5", Radix::kDecimal, "0.5"},
      {"000.25", Radix::kDecimal, "0.25"},
      {"3.", Radix::kDecimal, "3."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(HugeFloat::FromText(c.input).ToText(), c.printed);
  }
}

TEST(HugeFloatParse, FromRadixTextKeepsLeadingZerosAndReadsHexLetters) {
  const TextCase cases[] = {
      {"1F.8", Radix::kHex, "1F.8"}, {"1f.8", Radix::kHex, "1F.8"},
      {"007", Radix::kOctal, "007"}, {"-101.1", Radix::kBinary, "-101.1"},
      {"", Radix::kBinary, "0"},     {"  ", Radix::kHex, "0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    EXPECT_EQ(HugeFloat::FromRadixText(c.input, c.radix, 5).ToText(), c.printed);
  }
  const HugeFloat x = HugeFloat::FromRadixText("1F.8", Radix::kHex, 7);
  EXPECT_EQ(x.Bytes(), (Digits{8, kPointMarker, 15, 1}));
  EXPECT_EQ(x.precision(), 7);
  EXPECT_EQ(HugeFloat::FromText("123.45").Bytes(), (Digits{5, 4, kPointMarker, 3, 2, 1}));
}

TEST(HugeFloatParse, FromIntCoversTheWholeRange) {
  EXPECT_EQ(HugeFloat::FromInt(-305).ToText(), "-305");
  EXPECT_EQ(HugeFloat::FromInt(0).ToText(), "0");
  EXPECT_EQ(HugeFloat::FromInt(-2147483648LL).ToText(), "-2147483648");
  EXPECT_EQ(HugeFloat::FromInt(INT64_MIN).ToText(), "-9223372036854775808");
}

TEST(HugeFloatNormalForm, DropsZerosAtBothEnds) {
  struct Case {
    const char* input;
    const char* after_fraction_zeros;
  } cases[] = {
      {"-0012.3400", "-12.34"}, {"2.50", "2.5"}, {"3.0", "3"},
      {"100", "100"},           {"0.000", "0"},  {"-0.0", "-0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    HugeFloat x = HugeFloat::FromText(c.input);
    x.DropFractionZeros();
    EXPECT_EQ(x.ToText(), c.after_fraction_zeros);
  }
  HugeFloat typed = HugeFloat::FromRadixText("00.5", Radix::kDecimal, 1);
  typed.DropLeadingZeros();
  EXPECT_EQ(typed.ToText(), "0.5");
  HugeFloat zeros = HugeFloat::FromRadixText("0000", Radix::kDecimal, 1);
  zeros.DropLeadingZeros();
  EXPECT_EQ(zeros.ToText(), "0");
}

TEST(HugeFloatCompare, ComparesMagnitudesIgnoringSignsAndLayout) {
  struct Case {
    const char* a;
    const char* b;
    int expected;
  } cases[] = {
      {"-2.5", "2.50", 0}, {"9.99", "10", -1},     {"0.001", "0.0009", 1}, {"0", "-0", 0},
      {"0.0", "0", 0},     {"123", "0123.000", 0}, {"1.0001", "1", 1},     {"99", "100", -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " vs " + c.b);
    EXPECT_EQ(CompareMagnitude(HugeFloat::FromText(c.a), HugeFloat::FromText(c.b)), c.expected);
    EXPECT_EQ(CompareMagnitude(HugeFloat::FromText(c.b), HugeFloat::FromText(c.a)), -c.expected);
  }
}

TEST(HugeFloatCompare, SignedComparisonsTreatMinusZeroAsZero) {
  const auto t = [](const char* s) { return HugeFloat::FromText(s); };
  EXPECT_TRUE(LessThan(t("-3"), t("2")));
  EXPECT_TRUE(LessThan(t("-3"), t("-2.5")));
  EXPECT_FALSE(LessThan(t("-0"), t("0")));
  EXPECT_FALSE(GreaterThan(t("0"), t("-0")));
  EXPECT_TRUE(GreaterThan(t("0.1"), t("-0")));
  EXPECT_TRUE(IsZero(t("-0.000")));
}

TEST(HugeFloatPrecision, TruncatesFractionOrSignificantDigits) {
  struct Case {
    const char* input;
    int precision;
    const char* expected;
  } cases[] = {
      {"2.71828", 3, "2.718"},       {"0.0271828", 3, "0.0271"},
      {"12345", 3, "12345"},         {"0.000", 3, "0.000"},
      {"1234.56789", 3, "1234.567"}, {"0.000123456", 3, "0.000123"},
      {"1.2034", 2, "1.20"},         {"0.5", 3, "0.5"},
      {"-9.99999", 1, "-9.9"},       {"7.25", 0, "7"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input);
    HugeFloat x = HugeFloat::FromText(c.input);
    x.ApplyPrecision(c.precision);
    EXPECT_EQ(x.ToText(), c.expected);
  }
}

}  // namespace
}  // namespace calvoro
