// Exact conversion among the four bases: fractions cut like the base switch's
// conversion, signs and heads, and integers far beyond 100 bits.
#include "engine/radix_conversion.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "numeric/binary_conversion.h"

namespace calvoro {
namespace {

TEST(RadixConversionTest, ConvertsAmongTheFourBases) {
  struct Case {
    const char* number;  // Mix notation
    NumberBase to;
    int precision;
    const char* expected;
  } cases[] = {
      {"255.5", NumberBase::Binary, 10, "11111111.1"},
      {"255.5", NumberBase::Octal, 10, "377.4"},
      {"255.5", NumberBase::Hex, 10, "FF.8"},
      {"-0h1F.8", NumberBase::Decimal, 10, "-31.5"},
      {"-0h1f.8", NumberBase::Octal, 10, "-37.4"},
      {"00.4", NumberBase::Decimal, 10, "0.5"},  // octal 0.4
      {"0b0.0001", NumberBase::Decimal, 2, "0.06"},
      // 0.1 has no end in base 2: cut at 4 x precision bits, (4 x precision) / 3
      // octal digits, precision hexadecimal digits.
      {"0.1", NumberBase::Binary, 2, "0.00011001"},
      {"0.1", NumberBase::Octal, 2, "0.06"},
      {"0.1", NumberBase::Hex, 2, "0.19"},
      {"0", NumberBase::Hex, 10, "0"},
      {"0h0.001", NumberBase::Binary, 1, "0.000000000001"},  // exact between powers of two
      {"1267650600228229401496703205376", NumberBase::Hex, 0,
       "10000000000000000000000000"},  // 2^100: 101 bits
  };
  for (const Case& c : cases)
    EXPECT_EQ(ConvertNumberExactly(c.number, c.to, c.precision), c.expected)
        << c.number << " to " << RadixOf(c.to);
}

TEST(RadixConversionTest, LongIntegersAgreeWithDigitByDigitConversion) {
  std::mt19937 rng(7);
  for (const int length : {19, 40, 700, 3000}) {
    std::string decimal(1, static_cast<char>('1' + rng() % 9));
    while (decimal.size() < static_cast<std::size_t>(length))
      decimal.push_back(static_cast<char>('0' + rng() % 10));
    std::string expected = DecimalToRadix(HugeFloat::FromText(decimal), Radix::kHex, 0);
    if (expected.ends_with('.')) expected.pop_back();
    const std::string hex = ConvertNumberExactly(decimal, NumberBase::Hex, 10);
    EXPECT_EQ(hex, expected) << length;
    EXPECT_EQ(ConvertNumberExactly("0h" + hex, NumberBase::Decimal, 10), decimal) << length;
  }
}

}  // namespace
}  // namespace calvoro
