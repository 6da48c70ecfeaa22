// The one number reader, fed the odd inputs every former reader met, and the
// printing of doubles.
#include "numeric/number_text.h"

#include <gtest/gtest.h>

#include <limits>
#include <stdexcept>
#include <string>

#include "numeric/huge_float.h"

namespace calvoro {
namespace {

constexpr NumberSyntax kPlain{};
constexpr NumberSyntax kOperand{.plus = true, .brackets = true};
constexpr NumberSyntax kField{.plus = true, .blanks = true, .exponent = true};

TEST(ReadNumber, TakesWholeNumbersOfTheRadixOnly) {
  const struct {
    std::string text;
    Radix radix;
    NumberSyntax syntax;
    bool read;
    std::string sign_integer_fraction;  // "-12|34", the parts as read
  } cases[] = {
      // A stray character anywhere refuses the text: nothing is read in part.
      {"12a34", Radix::kDecimal, kPlain, false, ""},
      {"12a34", Radix::kHex, kPlain, true, "12a34|"},
      {"1.2.3", Radix::kDecimal, kPlain, false, ""},
      {"19", Radix::kOctal, kPlain, false, ""},  // a digit beyond the radix
      {"102", Radix::kBinary, kPlain, false, ""},
      {"1F.8", Radix::kHex, kPlain, true, "1F|8"},
      {"1f.8", Radix::kHex, kPlain, true, "1f|8"},
      {"1F", Radix::kDecimal, kPlain, false, ""},
      // Points and signs.
      {".5", Radix::kDecimal, kPlain, true, "|5"},
      {"5.", Radix::kDecimal, kPlain, true, "5|"},
      {".", Radix::kDecimal, kPlain, false, ""},
      {"-", Radix::kDecimal, kPlain, false, ""},
      {"", Radix::kDecimal, kPlain, false, ""},
      {"-0.25", Radix::kDecimal, kPlain, true, "-0|25"},
      {"+4", Radix::kDecimal, kPlain, false, ""},
      {"+4", Radix::kDecimal, kOperand, true, "4|"},
      {"--4", Radix::kDecimal, kOperand, false, ""},
      // Brackets and blanks only where the syntax allows them.
      {"(-0.5)", Radix::kDecimal, kPlain, false, ""},
      {"(-0.5)", Radix::kDecimal, kOperand, true, "-0|5"},
      {"((1))", Radix::kDecimal, kOperand, false, ""},
      {" 2.5\t", Radix::kDecimal, kOperand, false, ""},
      {" 2.5\t", Radix::kDecimal, kField, true, "2|5"},
      // Exponents in radix 10 only, with digits.
      {"1e400", Radix::kDecimal, kField, true, "1|"},
      {"-2E-3", Radix::kDecimal, kField, true, "-2|"},
      {"abc1e400", Radix::kDecimal, kField, false, ""},
      {"1e", Radix::kDecimal, kField, false, ""},
      {"1e+", Radix::kDecimal, kField, false, ""},
      {"1e5", Radix::kDecimal, kOperand, false, ""},
      {"1e5", Radix::kHex, kField, true, "1e5|"},  // hexadecimal digits
  };
  for (const auto& c : cases) {
    const auto number = ReadNumber(c.text, c.radix, c.syntax);
    ASSERT_EQ(number.has_value(), c.read) << c.text << " in radix " << c.radix;
    EXPECT_EQ(IsNumber(c.text, c.radix, c.syntax), c.read) << c.text;
    if (!number) continue;
    EXPECT_EQ((number->negative ? "-" : "") + std::string(number->integer) + "|" +
                  std::string(number->fraction),
              c.sign_integer_fraction)
        << c.text;
  }
}

TEST(ReadNumber, ValuesAsDoubles) {
  const struct {
    std::string text;
    Radix radix;
    double value;
  } cases[] = {
      {"2.1", Radix::kDecimal, 2.1},  // not widened from a float
      {"-.5", Radix::kDecimal, -0.5},
      {"0.8", Radix::kHex, 0.5},  // a hexadecimal argument is not read as decimal
      {"-1F.8", Radix::kHex, -31.5},
      {"17.4", Radix::kOctal, 15.5},
      {"101.01", Radix::kBinary, 5.25},
      {"1" + std::string(400, '0'), Radix::kDecimal, std::numeric_limits<double>::infinity()},
      {"-0." + std::string(400, '0') + "1", Radix::kDecimal, -0.0},
      {"1e400", Radix::kDecimal, std::numeric_limits<double>::infinity()},
      {"1e-99999999999999999999", Radix::kDecimal, 0.0},
      {"1e-7", Radix::kDecimal, 1e-7},
  };
  for (const auto& c : cases) {
    const auto number = ReadNumber(c.text, c.radix, {.exponent = true});
    ASSERT_TRUE(number) << c.text;
    EXPECT_EQ(number->ToDouble(), c.value) << c.text;
  }
  EXPECT_EQ(ReadDecimalDouble(" +4 "), 4.0);
  EXPECT_FALSE(ReadDecimalDouble("inf").has_value());
  EXPECT_FALSE(ReadDecimalDouble("1.5x").has_value());
}

TEST(ReadNumber, HugeFloatParsingRefusesWhatIsNoNumber) {
  EXPECT_EQ(HugeFloat::FromText(" -0012.3400 ").ToText(), "-12.3400");
  EXPECT_EQ(HugeFloat::FromText("+5").ToText(), "5");
  EXPECT_EQ(HugeFloat::FromText("  ").ToText(), "0");
  EXPECT_EQ(HugeFloat::FromRadixText("1f.8", Radix::kHex, 0).ToText(), "1F.8");
  for (const char* text : {"12a34", "1.2.3", "-"})
    EXPECT_THROW(HugeFloat::FromText(text), std::invalid_argument) << text;
  EXPECT_THROW(HugeFloat::FromRadixText("19", Radix::kOctal, 0), std::invalid_argument);
}

TEST(DoubleText, PrintsInTheCRules) {
  EXPECT_EQ(DoubleToText(0.1 + 0.2), "0.30000000000000004");  // "%.17f"
  EXPECT_EQ(DoubleToText(-0.0), "0");
  EXPECT_EQ(DoubleToText(-1.5e-7), "-0.00000015");
  EXPECT_EQ(DoubleToText(1e20), "100000000000000000000");
  EXPECT_EQ(DoubleToText(123456789.123456789), "123456789.12345679104328156");
  EXPECT_EQ(DoubleToText(1.0 / 3, 13), "0.3333333333333");
  EXPECT_EQ(ShortFixedText(2.5), "2.5");
  EXPECT_EQ(FixedText(5), "5.000000");
}

}  // namespace
}  // namespace calvoro
