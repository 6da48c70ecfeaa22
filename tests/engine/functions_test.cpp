// The function application: computed values, the digit limit per base, the
// refusals, exact factorials and Pi beyond its stored digits.
#include "engine/functions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/expression_text.h"
#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

using testing::RecordingSink;

constexpr bool kRadian = true;
constexpr bool kDegree = false;

const std::string kTenToThe400 = "1" + std::string(400, '0');
const std::string kTenToTheMinus401 = "0." + std::string(400, '0') + "1";
const std::string kStoredPi(kPiText);

struct ValueCase {
  std::string call;
  NumberBase base;
  int precision;  // P
  bool radian;
  std::string expected;
};

TEST(ApplyFunction, ComputesValues) {
  const ValueCase cases[] = {
      {"sin(0)", NumberBase::Decimal, 11, kRadian, "0"},
      {"cos(0)", NumberBase::Decimal, 11, kRadian, "1"},
      {"sin(1)", NumberBase::Decimal, 11, kRadian,
       "0.8414709848"},  // 0.84147098480: 11 digits, zero dropped
      {"tan(1)", NumberBase::Decimal, 11, kRadian, "1.55740772465"},
      {"sec(1)", NumberBase::Decimal, 11, kRadian, "1.85081571768"},
      {"arcsec(2)", NumberBase::Decimal, 11, kRadian, "1.04719755119"},
      {"sinh(1)", NumberBase::Decimal, 11, kRadian, "1.17520119364"},
      {"cosh(-1)", NumberBase::Decimal, 11, kRadian, "1.54308063481"},
      {"tanh(1)", NumberBase::Decimal, 11, kRadian, "0.76159415595"},
      {"exp(1)", NumberBase::Decimal, 11, kRadian, "2.71828182845"},
      {"log(1000)", NumberBase::Decimal, 11, kRadian, "3"},
      {"ln(0.5)", NumberBase::Decimal, 11, kRadian, "(-0.69314718055)"},
      {"ln(2.1)", NumberBase::Decimal, 12, kRadian, "0.741937344729"},
      {"sqrt(+4)", NumberBase::Decimal, 11, kRadian, "2"},
      {"sqrt(2)", NumberBase::Decimal, 3, kRadian, "1.414"},
      {"sqrt(2)", NumberBase::Decimal, 30, kRadian,
       "1.414213562373095048801688724209"},  // P digits
      {"sin(0.001)", NumberBase::Decimal, 5, kRadian,
       "0.00099999"},  // significant digits, truncated
      {"deg(1)", NumberBase::Decimal, 11, kRadian, "57.29577951308"},
      {"rad(180)", NumberBase::Decimal, 11, kRadian, "3.14159265358"},
      {"rad(0.0000001)", NumberBase::Decimal, 11, kRadian, "0.0000000017453292519"},
      {"deg(" + kStoredPi + ")", NumberBase::Decimal, 11, kRadian, "180"},
      {"int(-7.9)", NumberBase::Decimal, 11, kRadian, "(-7)"},
      {"int(12)", NumberBase::Decimal, 11, kRadian, "12"},
      {"int(-0.5)", NumberBase::Decimal, 11, kRadian, "0"},
      {"abs(-0.25)", NumberBase::Decimal, 11, kRadian, "0.25"},
      {"abs(+3)", NumberBase::Decimal, 11, kRadian, "3"},
      {"fac(0)", NumberBase::Decimal, 11, kRadian, "1"},
      {"fac(25)", NumberBase::Decimal, 11, kRadian, "15511210043330985984000000"},
      {"fac(007)", NumberBase::Decimal, 11, kRadian, "5040"},
      {"fac(-5)", NumberBase::Decimal, 11, kRadian, "(-120)"},  // -(5!)
      {"fac(-0)", NumberBase::Decimal, 11, kRadian, "1"},
      // The exact reduction: whole turns cost no accuracy.
      {"sin(1000000000000)", NumberBase::Decimal, 12, kRadian, "(-0.611238702376)"},
      {"sin(" + kStoredPi + ")", NumberBase::Decimal, 11, kRadian,
       "0." + std::string(101, '0') + "21480865132"},
      {"sin(3.14159)", NumberBase::Decimal, 11, kRadian,
       "0.0000026535897932"},  // exact reduction: sin(Pi - 3.14159)
      // Arguments and results of any size.
      {"ln(" + kTenToThe400 + ")", NumberBase::Decimal, 11, kRadian, "921.03403719761"},
      {"log(" + kTenToTheMinus401 + ")", NumberBase::Decimal, 11, kRadian, "(-401)"},
      {"sqrt(" + kTenToThe400 + ")", NumberBase::Decimal, 11, kRadian, "1" + std::string(200, '0')},
      // Exact values stay exact at any precision: rounded beyond the kept
      // digits, then cut.
      {"sqrt(0.04)", NumberBase::Decimal, 200, kRadian, "0.2"},
      {"log(0.001)", NumberBase::Decimal, 200, kRadian, "(-3)"},
      {"exp(30)", NumberBase::Decimal, 11, kRadian,
       "10686474581524.46214699046"},  // every integer digit
      {"sin(30)", NumberBase::Decimal, 1001, kDegree, "0.5"},
      {"cos(-60)", NumberBase::Decimal, 1001, kDegree, "0.5"},
      {"arcsin(0.5)", NumberBase::Decimal, 1001, kDegree, "30"},
      {"arctan(1" + std::string(1000, '0') + ")", NumberBase::Decimal, 1001,
       kDegree,  // 90 - 5.7E-999 degrees
       "89." + std::string(998, '9') + "427"},
      // Degree mode: exact in whole degrees.
      {"tan(180)", NumberBase::Decimal, 11, kDegree, "0"},
      {"tan(45)", NumberBase::Decimal, 11, kDegree, "1"},
      {"sin(30)", NumberBase::Decimal, 11, kDegree, "0.5"},
      {"cos(-120)", NumberBase::Decimal, 11, kDegree, "(-0.5)"},
      {"sec(60)", NumberBase::Decimal, 11, kDegree, "2"},
      {"sin(1000000000000)", NumberBase::Decimal, 11, kDegree,
       "(-0.98480775301)"},  // sin(280 degrees)
      {"arcsin(1)", NumberBase::Decimal, 11, kDegree, "90"},
      {"arctan(1)", NumberBase::Decimal, 11, kDegree, "45"},
      {"arcsec(-2)", NumberBase::Decimal, 11, kDegree, "120"},
      {"sinh(90)", NumberBase::Decimal, 11, kDegree, "2.3012989023"},  // sinh(Pi/2)
      // Other bases: converted to decimal and back; 4P bits in binary, 4P/3
      // digits in octal, P in hexadecimal.
      {"sqrt(100)", NumberBase::Binary, 11, kRadian, "10"},
      {"sqrt(10)", NumberBase::Binary, 11, kRadian,
       "1.01101010000010011110011001100111111100111011"},
      {"sin(1)", NumberBase::Binary, 30, kRadian,
       "0.110101110110101010100100011110000100100001100111011100000010000011000110111010011110100"
       "1000010011100010100001111001111"},
      {"int(-101.11)", NumberBase::Binary, 11, kRadian, "(-101)"},
      {"fac(11110)", NumberBase::Binary, 11,
       kRadian,  // 30!, exact beyond the 100 bits of a conversion
       "1101000100111111011000110111000011111001011010000110010111011111010111011101010101"
       "00000000000000000000000000"},
      {"sqrt(2)", NumberBase::Octal, 11, kRadian, "1.32404746317716"},
      {"exp(1)", NumberBase::Octal, 11, kRadian, "2.55760521305053"},
      {"sqrt(2)", NumberBase::Hex, 11, kRadian, "1.6A09E667F3B"},
      {"fac(1E)", NumberBase::Hex, 11, kRadian, "D13F6370F96865DF5DD54000000"},
      {"sin(1E)", NumberBase::Hex, 11, kDegree, "0.8"},
  };
  for (const ValueCase& c : cases) {
    SCOPED_TRACE(c.call + " base " + std::to_string(RadixOf(c.base)) + " P " +
                 std::to_string(c.precision));
    RecordingSink sink;
    const auto result = ValueOrReport(ApplyFunction(c.call, {c.precision, c.base, c.radian}), sink);
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(*result, c.expected);
    EXPECT_TRUE(sink.empty());
  }
}

struct RefusalCase {
  std::string call;
  NumberBase base;
  bool radian;
  std::string text;
  std::string caption;
  MessageIcon icon;
};

TEST(ApplyFunction, RefusesWithOneMessage) {
  const std::string ln = "Sorry,the parameter for the function Ln(x) should be larger than zero.";
  const std::string fac_limit =
      "Sorry,the absolute value of the parameter of factorial function should be less than 60000";
  const std::string not_number =
      "Sorry,the parameter of the function must be float number or integer.";
  const auto tan_degree = [](const std::string& argument) {
    return "Sorry, we cannot calculate the Tan of the degree " + argument;
  };
  const auto warning = MessageIcon::Warning;
  const RefusalCase cases[] = {
      {"tan(90)", NumberBase::Decimal, kDegree, tan_degree("90"), "Tivamo",
       MessageIcon::Information},
      {"tan(270)", NumberBase::Decimal, kDegree, tan_degree("270"), "Tivamo",
       MessageIcon::Information},
      {"tan(-90)", NumberBase::Decimal, kDegree, tan_degree("-90"), "Tivamo",
       MessageIcon::Information},
      {"tan(450)", NumberBase::Decimal, kDegree, tan_degree("450"), "Tivamo",
       MessageIcon::Information},
      {"tan(90.0)", NumberBase::Decimal, kDegree, tan_degree("90.0"), "Tivamo",
       MessageIcon::Information},
      {"tan(5a)", NumberBase::Hex, kDegree, tan_degree("5a"), "Tivamo", MessageIcon::Information},
      {"sec(-270)", NumberBase::Decimal, kDegree,
       "Sorry, we cannot calculate the Sec of the degree -270", "Tivamo", MessageIcon::Information},
      {"ln(0)", NumberBase::Decimal, kRadian, ln, "Tivamo Warning Message", warning},
      {"ln(-1)", NumberBase::Decimal, kRadian, ln, "Tivamo Warning Message", warning},
      {"ln(0.000)", NumberBase::Decimal, kRadian, ln, "Tivamo Warning Message", warning},
      {"log(0)", NumberBase::Decimal, kRadian,
       "Sorry,the parameter for the function Log(x) should be larger than zero.",
       "Tivamo Warning Message", warning},
      {"sqrt(-4)", NumberBase::Decimal, kRadian,
       "Sorry,the parameter for the function Sqrt(x) cannot be less than zero.",
       "Tivamo Warning Message", warning},
      {"arcsin(1.5)", NumberBase::Decimal, kRadian,
       "Sorry, the absolute value of arcsin's parameter should be equal to or less than 1",
       "Tivamo Warning Message", warning},
      {"arccos(-1.0000000000000000001)", NumberBase::Decimal, kRadian,
       "Sorry, the absolute value of arccos's parameter should be equal to or less than 1",
       "Tivamo Warning Message", warning},
      {"arcsec(0.5)", NumberBase::Decimal, kRadian,
       "Sorry,the absolute value of the parameter of arcsec cannot be less than 1.",
       "Tivamo Warning Message", warning},
      {"fac(60001)", NumberBase::Decimal, kRadian, fac_limit, "Calvoro", warning},
      {"fac(-123456)", NumberBase::Decimal, kRadian, fac_limit, "Calvoro", warning},
      {"fac(4294967297)", NumberBase::Decimal, kRadian, fac_limit, "Calvoro",
       warning},  // no 32-bit wrap to 1
      {"fac(1110101001100001)", NumberBase::Binary, kRadian, fac_limit, "Calvoro",
       warning},  // 60001
      {"fac(2.5)", NumberBase::Decimal, kRadian,
       "Sorry,the number of factorial function should be integer", "Calvoro", warning},
      // Results of more than a million integer digits or leading zeros.
      {"exp(2302586)", NumberBase::Decimal, kRadian,
       "Sorry, the result of exp(2302586) is too large for the calculator.",
       "Calvoro Warning Message", warning},
      {"cosh(-2302586)", NumberBase::Decimal, kRadian,
       "Sorry, the result of cosh(-2302586) is too large for the calculator.",
       "Calvoro Warning Message", warning},
      {"exp(-2302590)", NumberBase::Decimal, kRadian,
       "Sorry, the result of exp(-2302590) is too small for the calculator.",
       "Calvoro Warning Message", warning},
      {"exp(1" + std::string(50, '0') + ")", NumberBase::Decimal,
       kRadian,  // a long argument shortened
       "Sorry, the result of exp(1" + std::string(29, '0') +
           "...) is too large for the "
           "calculator.",
       "Calvoro Warning Message", warning},
      {"exp(11110000000000000000000)", NumberBase::Binary, kRadian,
       "Sorry, the result of exp(11110000000000000000000) is too large for the calculator.",
       "Calvoro Warning Message", warning},
      // The radian reduction of an argument above 10^1000000.
      {"sin(1" + std::string(1'000'000, '0') + ")", NumberBase::Decimal, kRadian,
       "Sorry, the parameter of the function Sin(x) is too large.", "Tivamo Warning Message",
       warning},
      {"sin(x)", NumberBase::Decimal, kRadian, "Sorry, the input number x is invalid.",
       "Calvoro Warning Message", warning},
      {"sin(1.2.3)", NumberBase::Decimal, kRadian, "Sorry, the input number 1.2.3 is invalid.",
       "Calvoro Warning Message", warning},
      {"sin()", NumberBase::Decimal, kRadian, "Sorry, the input number  is invalid.",
       "Calvoro Warning Message", warning},
      {"sin(12)", NumberBase::Binary, kRadian, "Sorry, the input number 12 is invalid.",
       "Calvoro Warning Message", warning},
      {"sin(--2)", NumberBase::Decimal, kRadian, not_number, "Calvoro Warning Message", warning},
      {"sin((5))", NumberBase::Decimal, kRadian, not_number, "Calvoro Warning Message", warning},
  };
  for (const RefusalCase& c : cases) {
    SCOPED_TRACE(c.call.substr(0, 40));
    RecordingSink sink;
    EXPECT_FALSE(ValueOrReport(ApplyFunction(c.call, {11, c.base, c.radian}), sink).has_value());
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, c.text);
    EXPECT_EQ(sink.messages[0].caption, c.caption);
    EXPECT_EQ(sink.messages[0].icon, c.icon);
  }
}

// Just inside the limits: a million integer digits, a million leading zeros.
TEST(ApplyFunction, ComputesResultsAtTheMagnitudeLimits) {
  RecordingSink sink;
  const auto large = ValueOrReport(ApplyFunction("exp(2302585)", {11, NumberBase::Decimal, true}),
                                   sink);  // 9.1E+999999
  ASSERT_TRUE(large.has_value());
  EXPECT_EQ(large->find('.'), 1'000'000u);
  EXPECT_TRUE(large->starts_with("911198925846"));
  const auto small = ValueOrReport(ApplyFunction("exp(-2302585)", {11, NumberBase::Decimal, true}),
                                   sink);  // 1.1E-1000000
  ASSERT_TRUE(small.has_value());
  EXPECT_EQ(*small, "0." + std::string(999'999, '0') + "10974552006");
  EXPECT_TRUE(sink.empty());
}

// The value of a digit text modulo a prime, and its trailing zeros.
std::uint64_t Modulo(const std::string& text, Radix radix, std::uint64_t prime) {
  std::uint64_t value = 0;
  for (char c : text) {
    const int digit = c <= '9' ? c - '0' : c - 'A' + 10;
    value = (value * radix + digit) % prime;
  }
  return value;
}

std::size_t TrailingZeros(const std::string& text) {
  return text.size() - text.find_last_not_of('0') - 1;
}

// Legendre: the exponent of prime p in n!.
int PowerInFactorial(int n, int p) {
  int count = 0;
  for (long long q = p; q <= n; q *= p) count += static_cast<int>(n / q);
  return count;
}

TEST(FactorialText, MatchesIndependentProperties) {
  constexpr std::uint64_t kPrime = 1'000'000'007;
  RecordingSink sink;
  const auto largest = ValueOrReport(ApplyFunction("fac(60000)", {11, NumberBase::Decimal, true}),
                                     sink);  // the limit is accepted
  ASSERT_TRUE(largest.has_value());
  struct Case {
    int n;
    Radix radix;
    std::string text;
    int trailing_zeros;
  } cases[] = {
      {60000, Radix::kDecimal, *largest, PowerInFactorial(60000, 5)},
      {1000, Radix::kHex, FactorialText(1000, Radix::kHex), PowerInFactorial(1000, 2) / 4},
      {1000, Radix::kOctal, FactorialText(1000, Radix::kOctal), PowerInFactorial(1000, 2) / 3},
      {1000, Radix::kBinary, FactorialText(1000, Radix::kBinary), PowerInFactorial(1000, 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.n) + "! radix " + std::to_string(c.radix));
    std::uint64_t expected = 1;
    for (int i = 2; i <= c.n; ++i) expected = expected * i % kPrime;
    EXPECT_EQ(Modulo(c.text, c.radix, kPrime), expected);
    EXPECT_EQ(TrailingZeros(c.text), static_cast<std::size_t>(c.trailing_zeros));
    EXPECT_NE(c.text.front(), '0');
    // The digit count from the sum of logarithms.
    double digits = 0;
    for (int i = 2; i <= c.n; ++i) digits += std::log(i) / std::log(static_cast<double>(c.radix));
    EXPECT_EQ(c.text.size(), static_cast<std::size_t>(std::floor(digits)) + 1);
  }
}

TEST(PiText, ComputesDigitsBeyondTheStoredOnes) {
  EXPECT_EQ(PiText(10), "3.1415926535");
  EXPECT_EQ(PiText(101), kPiText);
  // Decimals 101 to 200 of Pi, and the six nines from decimal 762 on.
  EXPECT_EQ(PiText(2000).substr(102, 100),
            "8214808651328230664709384460955058223172535940812848111745028410270193852110555964"
            "462294895493038196");
  EXPECT_EQ(PiText(800).substr(763, 7), "9999998");
  EXPECT_EQ(PiText(2600).substr(0, 2002), PiText(2000));  // the kept digits agree
}

TEST(TextFunctions, CutAndConvertExactly) {
  EXPECT_EQ(IntegerPartText("-7.9"), "-7");
  EXPECT_EQ(IntegerPartText("+3.9"), "3");
  EXPECT_EQ(IntegerPartText(".5"), "0");
  EXPECT_EQ(IntegerPartText("1+2"), "1+2");  // not a number: unchanged
  EXPECT_EQ(AbsText("-0.25"), "0.25");
  EXPECT_EQ(AbsText("+3"), "3");
}

}  // namespace
}  // namespace calvoro
