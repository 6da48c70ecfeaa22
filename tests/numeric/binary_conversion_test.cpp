#include "numeric/binary_conversion.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "tests/support/reference_number.h"

namespace calvoro {
namespace {

using testing::Natural;

HugeFloat Decimal(std::string_view text) {
  return HugeFloat::FromRadixText(text, Radix::kDecimal, 20);
}

// Drops trailing fraction zeros and a bare point: "1010." -> "1010".
std::string Trimmed(std::string text) {
  while (text.find('.') != std::string::npos && (text.back() == '0' || text.back() == '.')) {
    text.pop_back();
  }
  return text;
}

// The digits of `text` (decimal) in `radix` with `places` fraction digits,
// truncated: exact integer arithmetic on value * radix^places.
std::string Expected(std::string_view text, Radix radix, int places) {
  const auto value = testing::ReferenceNumber::Parse(text, 10);
  Natural whole, part, scaled, rest;
  Natural::DivMod(value.magnitude, Natural::Power(10, value.fraction_digits), whole, part);
  Natural::DivMod(Natural::Product(part, Natural::Power(radix, places)),
                  Natural::Power(10, value.fraction_digits), scaled, rest);
  std::string fraction = scaled.DigitText(radix);
  fraction.insert(0, places - fraction.size(), '0');
  return Trimmed((whole.IsZero() ? "0" : whole.DigitText(radix)) + "." + fraction);
}

// 1 - 2^-100 = (10^100 - 5^100) / 10^100.
std::string OneMinusTwoToMinus100() {
  const auto digits =
      Natural::Difference(Natural::Power(10, 100), Natural::Power(5, 100)).DigitText(10);
  return "0." + std::string(100 - digits.size(), '0') + digits;
}

TEST(BinaryToDecimal, ConvertsExactlyWithin100Bits) {
  const std::string ones(100, '1');
  const std::pair<std::string, std::string> cases[] = {
      {"101.101", "5.625"},
      {"0.1", "0.5"},
      {"0.0001", "0.0625"},
      {"1111", "15"},
      {"0.0", "0"},
      {"1.", "1"},
      {ones, "1267650600228229401496703205375"},
      {"000" + ones + ".1000", "1267650600228229401496703205375.5"},  // zero bits cost nothing
      {"0." + ones, OneMinusTwoToMinus100()},
      // Bits beyond the limits: the right-most 100 integer bits, the left-most
      // 100 fraction bits, and the "sorry" prefix.
      {"1" + std::string(99, '0') + "1", "sorry1"},
      {"11" + std::string(100, '0') + ".1", "sorry0.5"},
      {"0." + ones + "1", "sorry" + OneMinusTwoToMinus100()},
      {"1." + std::string(100, '0') + "1", "sorry1"},
  };
  for (const auto& [binary, decimal] : cases) EXPECT_EQ(BinaryToDecimal(binary), decimal) << binary;
}

TEST(DecimalToBinary, ConvertsTheMagnitudeAndTruncates) {
  struct Case {
    std::string decimal;
    int bits;
    std::string binary;
  };
  const Case cases[] = {
      {"10.625", 20, "1010.101"},  // exact after three bits: no padding
      {"0.1", 15, "0.000110011001100"},
      {"0.1", 16, "0.0001100110011001"},  // the 17th bit is 1: truncated, not rounded
      {"0.5", 0, "0."},
      {"0", 8, "0."},
      {"007.2500", 8, "111.01"},
      {"-6.5", 4, "110.1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(DecimalToBinary(Decimal(c.decimal), c.bits), c.binary) << c.decimal << " " << c.bits;
  }
}

// Random decimals: n digits of radix 8 or 16 are the 3n or 4n bits regrouped;
// both conversions must give the exact truncated digits at those depths.
TEST(DecimalToRadix, AgreesWithDecimalToBinaryAndExactArithmetic) {
  std::mt19937 random(20240611);
  auto digits = [&](int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text.push_back(static_cast<char>('0' + random() % 10));
    return text;
  };
  for (int round = 0; round < 40; ++round) {
    const std::string text = digits(1 + random() % 25) + "." + digits(random() % 12);
    const int count = 1 + static_cast<int>(random() % 12);  // digits of the target radix
    for (const Radix radix : {Radix::kBinary, Radix::kOctal, Radix::kHex}) {
      const int width = radix == 2 ? 1 : radix == 8 ? 3 : 4;
      const std::string binary = Trimmed(DecimalToBinary(Decimal(text), width * count));
      ASSERT_EQ(binary, Expected(text, Radix::kBinary, width * count)) << text;
      EXPECT_EQ(Trimmed(DecimalToRadix(Decimal(text), radix, count)), Expected(text, radix, count))
          << text << " in radix " << radix;
    }
  }
}

}  // namespace
}  // namespace calvoro
