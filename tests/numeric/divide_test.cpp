// Divide, LongDivide, Remainder, IntegerQuotient and ToInt.
#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "numeric/huge_float.h"

namespace calvoro {
namespace {

HugeFloat R(const std::string& text, Radix radix = Radix::kDecimal, int precision = 0) {
  return HugeFloat::FromRadixText(text, radix, precision);
}

TEST(Divide, ZeroDivisorIsRefusedNotLooped) {
  for (const char* zero : {"0", "-0", "0.000", "00"}) {
    SCOPED_TRACE(zero);
    EXPECT_THROW(Divide(R("5"), R(zero), 5), std::domain_error);
    HugeFloat q, r;
    EXPECT_THROW(LongDivide(R("5"), R(zero), q, r, 3), std::domain_error);
    EXPECT_THROW(IntegerQuotient(R("5", Radix::kDecimal, 3), R(zero)), std::domain_error);
    EXPECT_THROW(Remainder(R("5"), R(zero)), std::domain_error);
  }
}

TEST(LongDivide, ScalesToIntegersAndPlacesThePoint) {
  HugeFloat q, r;
  LongDivide(R("7"), R("2"), q, r, 0);
  EXPECT_EQ(q.ToText(), "3");
  EXPECT_EQ(r.ToText(), "1");
  LongDivide(R("1"), R("8"), q, r, 2);  // 100 / 8 = 12 rem 4
  EXPECT_EQ(q.ToText(), "0.12");
  EXPECT_EQ(r.ToText(), "4");
  LongDivide(R("1"), R("1000"), q, r, 2);
  EXPECT_EQ(q.ToText(), "0.00");
  LongDivide(R("-12.5"), R("0.5"), q, r, 1);  // magnitudes only
  EXPECT_EQ(q.ToText(), "25.0");
}

TEST(Remainder, KeepsTheSignOfTheDividend) {
  struct Case {
    const char* a;
    const char* b;
    const char* expected;
  } cases[] = {
      {"7.5", "2", "1.5"},
      {"-7.5", "2", "-1.5"},
      {"0", "3", "0"},
      {"6", "3", "0"},
      {"-6", "3", "0"},
      {"1000000", "6.2831853", "5.9267638"},  // 159154 * 6.2831853 = 999994.0732...
      {"2", "7", "2"},
      {"0.3", "0.07", "0.02"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " % " + c.b);
    EXPECT_EQ(Remainder(R(c.a), R(c.b)).ToText(), c.expected);
  }
  EXPECT_THROW(Remainder(R("5"), R("-2")), std::overflow_error);
}

TEST(Remainder, HugeQuotientsAreFoundDigitByDigit) {
  // 10^100 mod 6.2831853: the quotient has 100 digits, far beyond counting.
  const HugeFloat big = R("1" + std::string(100, '0'));
  const HugeFloat b = R("6.2831853");
  const HugeFloat r = Remainder(big, b);
  EXPECT_FALSE(LessThan(r, R("0")));
  EXPECT_TRUE(LessThan(r, b));
  // big - r must be a whole multiple of b.
  const HugeFloat multiple = Subtract(big, r, 1000);
  HugeFloat q, rest;
  LongDivide(multiple, b, q, rest, 0);
  EXPECT_TRUE(rest.IsZero());
}

TEST(IntegerQuotient, DividesToTheRecordedPrecisionWithoutNormalising) {
  EXPECT_EQ(IntegerQuotient(R("10", Radix::kDecimal, 3), R("4")).ToText(), "2.500");
  EXPECT_EQ(IntegerQuotient(R("-10", Radix::kDecimal, 0), R("4")).ToText(), "-2");
  EXPECT_EQ(IntegerQuotient(R("0", Radix::kDecimal, 3), R("4")).ToText(), "0");
  HugeFloat a = R("255", Radix::kDecimal, 0);
  IntegerQuotientInPlace(a, R("16"));
  EXPECT_EQ(a.ToText(), "15");
  try {
    IntegerQuotient(R("1"), R("-2"));
    FAIL();
  } catch (const std::overflow_error& e) {
    EXPECT_STREQ(e.what(), "ERROR: Overflow in operator/!");
  }
  try {
    IntegerQuotientInPlace(a, R("-2"));
    FAIL();
  } catch (const std::overflow_error& e) {
    EXPECT_STREQ(e.what(), "ERROR: Overflow in operator /=!");
  }
}

TEST(ToInt, ConvertsTheInt32RangeAndRefusesBeyond) {
  EXPECT_EQ(ToInt(R("-2147483648")), -2147483648);
  EXPECT_EQ(ToInt(R("2147483647")), 2147483647);
  EXPECT_EQ(ToInt(R("0")), 0);
  EXPECT_EQ(ToInt(R("-305")), -305);
  EXPECT_EQ(ToInt(R("FF", Radix::kHex)), 255);
  EXPECT_EQ(ToInt(R("101", Radix::kBinary)), 5);
  for (const char* out : {"2147483648", "-2147483649", "99999999999999999999"}) {
    SCOPED_TRACE(out);
    try {
      ToInt(R(out));
      FAIL();
    } catch (const std::domain_error& e) {
      EXPECT_STREQ(e.what(), "ERROR: Domain in operator int()!");
    }
  }
  EXPECT_THROW(ToInt(R("80000000", Radix::kHex)), std::domain_error);
}

}  // namespace
}  // namespace calvoro
