// HugeFloat + - * / against the independent reference arithmetic of
// tests/support/reference_number: hand-checked cases first (they hold the
// reference itself to known answers), then thousands of random operands per
// radix with a fixed seed.
#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <exception>
#include <optional>
#include <random>
#include <sstream>
#include <string>

#include "engine/apply_operator.h"
#include "numeric/huge_float.h"
#include "tests/support/recording_sink.h"
#include "tests/support/reference_number.h"

namespace calvoro {
namespace {

using testing::RecordingSink;
using testing::ReferenceOperate;
using testing::ReferenceScaledPrecision;

// The product's result text for one operation; `precision` is the precision
// handed to the operation (already scaled for the radix).
std::string ProductText(char op, const std::string& a, const std::string& b, Radix radix,
                        int precision) {
  const HugeFloat x = HugeFloat::FromRadixText(a, radix, precision);
  const HugeFloat y = HugeFloat::FromRadixText(b, radix, precision);
  switch (op) {
    case '+':
      return Add(x, y, precision).ToText();
    case '-':
      return Subtract(x, y, precision).ToText();
    case '*':
      return Multiply(x, y, precision).ToText();
    default:
      return Divide(x, y, precision).ToText();
  }
}

std::string Describe(char op, const std::string& a, const std::string& b, Radix radix,
                     int precision) {
  std::ostringstream out;
  out << "radix " << radix << ", precision " << precision << ": " << a << " " << op << " " << b;
  return out.str();
}

// ------------------------------------------------------------ known results

struct KnownCase {
  Radix radix;
  char op;
  const char* a;
  const char* b;
  int precision;  // as handed to the operation
  const char* expected;
};

const KnownCase kKnownCases[] = {
    // Exact sums, carries through the point, normal form.
    {Radix::kDecimal, '+', "0.1", "0.2", 5, "0.3"},
    {Radix::kDecimal, '+', "999.99", "0.01", 5, "1000"},
    {Radix::kDecimal, '+', "9999999999999999999", "1", 1, "10000000000000000000"},
    {Radix::kDecimal, '-', "10000000000000000000", "1", 1, "9999999999999999999"},
    {Radix::kDecimal, '-', "1", "0.0000001", 30, "0.9999999"},
    {Radix::kDecimal, '+', "-0.5", "0.25", 5, "-0.25"},
    {Radix::kDecimal, '-', "-3", "-7.5", 5, "4.5"},
    {Radix::kDecimal, '-', "3", "7.5", 5, "-4.5"},
    // Exact cancellation is a positive zero.
    {Radix::kDecimal, '-', "5", "5", 5, "0"},
    {Radix::kDecimal, '+', "-5", "5", 5, "0"},
    {Radix::kDecimal, '+', "5", "-5", 5, "0"},
    {Radix::kDecimal, '-', "-2.5", "-2.5", 5, "0"},
    // Signed zero operands.
    {Radix::kDecimal, '+', "-0", "-0", 5, "-0"},
    {Radix::kDecimal, '+', "-0", "0", 5, "0"},
    {Radix::kDecimal, '+', "0", "-0", 5, "0"},
    {Radix::kDecimal, '-', "-0", "0", 5, "-0"},
    {Radix::kDecimal, '-', "0", "-0", 5, "0"},
    {Radix::kDecimal, '-', "-0", "-0", 5, "0"},
    {Radix::kDecimal, '-', "0", "0", 5, "0"},
    {Radix::kDecimal, '+', "-0", "-7", 5, "-7"},
    {Radix::kDecimal, '-', "-0", "7", 5, "-7"},
    {Radix::kDecimal, '-', "0", "-7", 5, "7"},
    {Radix::kDecimal, '*', "-3", "0", 5, "-0"},
    {Radix::kDecimal, '*', "0", "-3", 5, "-0"},
    {Radix::kDecimal, '*', "-0", "5", 5, "-0"},
    {Radix::kDecimal, '*', "-0", "-5", 5, "0"},
    {Radix::kDecimal, '*', "-0", "-0", 5, "0"},
    {Radix::kDecimal, '*', "0", "0", 5, "0"},
    // Products.
    {Radix::kDecimal, '*', "12.5", "0.08", 5, "1"},
    {Radix::kDecimal, '*', "0.5", "0.5", 5, "0.25"},
    {Radix::kDecimal, '*', "0.2", "0.5", 5, "0.1"},
    {Radix::kDecimal, '*', "2.5", "4", 5, "10"},
    {Radix::kDecimal, '*', "10", "10", 1, "100"},
    {Radix::kDecimal, '*', "2500", "0.04", 1, "100"},
    {Radix::kDecimal, '*', "123456789", "987654321", 1, "121932631112635269"},
    {Radix::kDecimal, '*', "1.23456", "1", 3, "1.234"},
    {Radix::kDecimal, '*', "-1.5", "-1.5", 5, "2.25"},
    {Radix::kDecimal, '*', "0.001", "0.001", 3, "0.000001"},
    {Radix::kDecimal, '*', "99.99", "99.99", 30, "9998.0001"},
    // The precision cut: fraction digits above one, significant digits below.
    {Radix::kDecimal, '+', "1234.56789", "0", 3, "1234.567"},
    {Radix::kDecimal, '+', "2.71828", "0", 3, "2.718"},
    {Radix::kDecimal, '+', "0.0271828", "0", 3, "0.0271"},
    {Radix::kDecimal, '+', "0.000123456", "0", 3, "0.000123"},
    {Radix::kDecimal, '-', "-0.000123456", "0", 3, "-0.000123"},
    {Radix::kDecimal, '+', "12345", "0", 1, "12345"},
    {Radix::kDecimal, '-', "1", "1.0001", 1, "-0.0001"},
    {Radix::kDecimal, '+', "1.2", "0.0034", 2, "1.20"},
    {Radix::kDecimal, '+', "1", "0.0003", 2, "1.00"},
    {Radix::kDecimal, '-', "1", "-0.0003", 3, "1.000"},
    {Radix::kDecimal, '+', "0.1", "0.00002", 3, "0.100"},
    {Radix::kDecimal, '-', "0.0001", "0.000023456", 3, "0.0000765"},
    {Radix::kDecimal, '*', "0.5", "0.20001", 2, "0.10"},
    {Radix::kDecimal, '*', "3", "0.33335", 3, "1.000"},
    // Division truncates after P fraction digits.
    {Radix::kDecimal, '/', "10", "4", 5, "2.5"},
    {Radix::kDecimal, '/', "1", "7", 5, "0.14285"},
    {Radix::kDecimal, '/', "100", "7", 5, "14.28571"},
    {Radix::kDecimal, '/', "1", "700", 5, "0.00142"},
    {Radix::kDecimal, '/', "1", "3", 5, "0.33333"},
    {Radix::kDecimal, '/', "2", "3", 5, "0.66666"},
    {Radix::kDecimal, '/', "-7", "2", 5, "-3.5"},
    {Radix::kDecimal, '/', "7", "-2", 5, "-3.5"},
    {Radix::kDecimal, '/', "-7", "-2", 5, "3.5"},
    {Radix::kDecimal, '/', "1", "0.3", 5, "3.33333"},
    {Radix::kDecimal, '/', "0.001", "3", 5, "0.00033"},
    {Radix::kDecimal, '/', "1.5", "0.5", 5, "3"},
    {Radix::kDecimal, '/', "1", "8", 2, "0.12"},
    {Radix::kDecimal, '/', "1", "1000", 2, "0"},
    {Radix::kDecimal, '/', "-1", "1000", 2, "-0"},
    {Radix::kDecimal, '/', "1", "-1000", 2, "-0"},
    {Radix::kDecimal, '/', "-1", "-1000", 2, "0"},
    {Radix::kDecimal, '/', "0", "5", 5, "0"},
    {Radix::kDecimal, '/', "-0", "5", 5, "0"},
    {Radix::kDecimal, '/', "0", "-5", 5, "0"},
    {Radix::kDecimal, '/', "121932631112635269", "987654321", 1, "123456789"},
    {Radix::kDecimal, '/', "1.5", "0.05", 5, "30"},
    {Radix::kDecimal, '/', "0.001", "0.1", 5, "0.01"},
    {Radix::kDecimal, '/', "123456789012345678901234567890", "3", 2,
     "41152263004115226300411522630"},
    {Radix::kDecimal, '/', "1", "-0.3", 3, "-3.333"},
    {Radix::kDecimal, '+', "1.99", "0.01", 1, "2"},
    {Radix::kDecimal, '+', "0.000123", "0.0000004567", 3, "0.000123"},
    {Radix::kDecimal, '*', "-0.001", "0.001", 2, "-0.000001"},
    // Hexadecimal: letters in either case, printed in capitals.
    {Radix::kHex, '+', "FF", "1", 5, "100"},
    {Radix::kHex, '+', "ff", "1", 5, "100"},
    {Radix::kHex, '-', "1", "0.0001", 4, "0.FFFF"},
    {Radix::kHex, '-', "1", "0.00001", 4, "0.FFFF"},
    {Radix::kHex, '*', "F.F", "F.F", 5, "FE.01"},
    {Radix::kHex, '*', "a.8", "2", 5, "15"},
    {Radix::kHex, '/', "1", "3", 4, "0.5555"},
    {Radix::kHex, '/', "-1", "10000", 4, "-0.0001"},
    {Radix::kHex, '/', "-1", "100000", 4, "-0"},
    {Radix::kHex, '/', "FF", "F", 5, "11"},
    {Radix::kHex, '+', "0.8", "0.8", 5, "1"},
    {Radix::kHex, '*', "A", "A", 5, "64"},
    // Octal and binary.
    {Radix::kOctal, '+', "7.7", "0.1", 6, "10"},
    {Radix::kOctal, '/', "1", "3", 6, "0.252525"},
    {Radix::kOctal, '-', "0", "0.0001", 1, "-0.0001"},
    {Radix::kOctal, '*', "0.4", "0.4", 6, "0.2"},
    {Radix::kBinary, '+', "1.1", "0.1", 4, "10"},
    {Radix::kBinary, '*', "1.1", "1.1", 4, "10.01"},
    {Radix::kBinary, '/', "1", "11", 8, "0.01010101"},
    {Radix::kBinary, '-', "10", "0.0000011", 4, "1.1111"},
    {Radix::kBinary, '+', "0.00101011", "0", 4, "0.001010"},
    {Radix::kBinary, '-', "1", "10", 5, "-1"},
    {Radix::kOctal, '*', "777", "777", 5, "776001"},
};

TEST(DifferentialKnownResults, ReferenceAndProductAgreeWithHandCheckedAnswers) {
  for (const KnownCase& c : kKnownCases) {
    SCOPED_TRACE(Describe(c.op, c.a, c.b, c.radix, c.precision));
    EXPECT_EQ(ReferenceOperate(c.op, c.a, c.b, c.radix, c.precision), c.expected) << "reference";
    try {
      EXPECT_EQ(ProductText(c.op, c.a, c.b, c.radix, c.precision), c.expected) << "HugeFloat";
    } catch (const std::exception& e) {
      ADD_FAILURE() << "HugeFloat threw " << e.what();
    }
  }
}

// ------------------------------------------------------------ random operands

class Random {
 public:
  explicit Random(std::uint64_t seed) : engine_(seed) {}
  // Uniform-enough value in [0, n); modulo keeps the sequence the same on
  // every standard library.
  int Below(int n) { return static_cast<int>(engine_() % static_cast<std::uint64_t>(n)); }
  bool Percent(int p) { return Below(100) < p; }

 private:
  std::mt19937_64 engine_;
};

char DigitChar(int value) { return "0123456789ABCDEF"[value]; }

enum class DigitStyle { Uniform, MostlyMax, MostlyZero, Edges };

std::string DigitRun(Random& random, Radix radix, int count, DigitStyle style) {
  std::string run;
  for (int i = 0; i < count; ++i) {
    int d = random.Below(radix);
    switch (style) {
      case DigitStyle::Uniform:
        break;
      case DigitStyle::MostlyMax:  // long carry chains
        if (random.Percent(92)) d = radix - 1;
        break;
      case DigitStyle::MostlyZero:  // long borrow chains, sparse products
        if (random.Percent(90)) d = 0;
        break;
      case DigitStyle::Edges: {
        const int edges[] = {0, 1, radix - 1};
        d = edges[random.Below(3)];
        break;
      }
    }
    run.push_back(DigitChar(d));
  }
  return run;
}

int OperandLength(Random& random) {
  const int kind = random.Below(100);
  if (kind < 55) return 1 + random.Below(12);
  if (kind < 88) return 13 + random.Below(48);
  return 61 + random.Below(140);
}

// A number text in normal form: no leading zero except "0" before a
// fraction, no trailing fraction zero; "0" and "-0" for zero.
std::string RandomOperand(Random& random, Radix radix) {
  const int kind = random.Below(100);
  if (kind < 4) return "0";
  if (kind < 7) return "-0";

  const int length = OperandLength(random);
  int integer_digits = length;
  int leading_fraction_zeros = 0;
  const int shape = random.Below(10);
  if (shape < 3 || length == 1) {
    // integer only
  } else if (shape < 5) {
    integer_digits = 0;  // below one, sometimes far below
    if (random.Percent(50)) leading_fraction_zeros = random.Below(40);
  } else {
    integer_digits = 1 + random.Below(length - 1);
  }
  const int fraction_digits = length - integer_digits;
  const auto style = static_cast<DigitStyle>(random.Below(4));
  const int nonzero = style == DigitStyle::MostlyMax ? radix - 1 : 1 + random.Below(radix - 1);

  std::string text;
  if (integer_digits > 0) {
    text = DigitRun(random, radix, integer_digits, style);
    if (text.front() == '0') text.front() = DigitChar(nonzero);
  } else {
    text = "0";
  }
  if (fraction_digits > 0) {
    std::string fraction = DigitRun(random, radix, fraction_digits, style);
    if (fraction.back() == '0') fraction.back() = DigitChar(nonzero);
    text += "." + std::string(leading_fraction_zeros, '0') + fraction;
  }
  if (radix == 16 && random.Percent(30)) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  if (random.Percent(50)) text.insert(0, "-");
  return text;
}

std::string Negated(const std::string& text) {
  return text[0] == '-' ? text.substr(1) : "-" + text;
}

bool IsZeroText(const std::string& text) { return text == "0" || text == "-0"; }

// A unit in the last place of some position, either sign: "1", "0.001", "-100".
std::string SmallStep(Random& random) {
  std::string step;
  const int place = random.Below(30) - 5;  // radix^-place
  if (place <= 0) {
    step = "1" + std::string(static_cast<std::size_t>(-place), '0');
  } else {
    step = "0." + std::string(static_cast<std::size_t>(place - 1), '0') + "1";
  }
  return random.Percent(50) ? "-" + step : step;
}

// The right operand: mostly independent, sometimes equal, opposite or very
// near the left one so that sums cancel and differences fall far below one.
std::string RandomPartner(Random& random, Radix radix, const std::string& left) {
  const int kind = random.Below(100);
  if (kind < 7) return left;
  if (kind < 14) return Negated(left);
  if (kind < 26) {
    // Exact, uncut: the reference's precision only cuts beyond this many digits.
    return testing::ReferenceAdd(left, SmallStep(random), radix, 1 << 20);
  }
  if (kind < 30) {
    const char* small[] = {"1", "-1", "0.1", "10", "-0.1"};
    return small[random.Below(5)];
  }
  return RandomOperand(random, radix);
}

struct Mismatches {
  int count = 0;
  static constexpr int kReported = 10;  // detailed reports; the rest are counted

  void Check(char op, const std::string& a, const std::string& b, Radix radix, int precision,
             const std::string& actual, const std::string& expected, const std::string& path) {
    if (actual == expected) return;
    if (++count > kReported) return;
    SCOPED_TRACE(Describe(op, a, b, radix, precision) + " via " + path);
    EXPECT_EQ(actual, expected);
  }
};

constexpr int kPairsPerRadix = 6000;
constexpr char kOperators[] = {'+', '-', '*', '/'};

class DifferentialRandom : public ::testing::TestWithParam<Radix> {};

TEST_P(DifferentialRandom, FourOperatorsMatchReference) {
  const Radix radix = GetParam();
  Random random(0xC0FFEEull * 31 + static_cast<std::uint64_t>(radix));
  Mismatches mismatches;
  int operations = 0;

  for (int pair = 0; pair < kPairsPerRadix; ++pair) {
    const std::string a = RandomOperand(random, radix);
    const std::string b = RandomPartner(random, radix, a);
    const int working = 1 + random.Below(30);  // precision setting 0..29, plus one
    const int precision = ReferenceScaledPrecision(radix, working);
    const bool through_operator = pair % 16 == 0;

    for (char op : kOperators) {
      if (op == '/' && IsZeroText(b)) continue;
      const std::string expected = ReferenceOperate(op, a, b, radix, precision);
      std::string actual;
      try {
        actual = ProductText(op, a, b, radix, precision);
      } catch (const std::exception& e) {
        actual = std::string("exception: ") + e.what();
      }
      mismatches.Check(op, a, b, radix, precision, actual, expected, "HugeFloat");
      ++operations;

      if (through_operator) {
        RecordingSink sink;
        const std::optional<std::string> applied =
            ValueOrReport(ApplyOperator(op, a, b, radix, working), sink);
        mismatches.Check(op, a, b, radix, precision, applied.value_or("(refused)"), expected,
                         "ApplyOperator with working precision " + std::to_string(working));
        EXPECT_TRUE(sink.empty());
      }
    }
  }
  EXPECT_EQ(mismatches.count, 0) << "mismatches in " << operations << " operations";
}

INSTANTIATE_TEST_SUITE_P(DifferentialRadix, DifferentialRandom,
                         ::testing::Values(Radix::kDecimal, Radix::kOctal, Radix::kHex,
                                           Radix::kBinary),
                         [](const ::testing::TestParamInfo<Radix>& info) {
                           return "Radix" + std::to_string(info.param);
                         });

// ------------------------------------------------------------ operator application

TEST(DifferentialApplyOperator, RefusesZeroDivisorOfAnySpelling) {
  const char* divisors[] = {"0", "-0", "00", "0.0", "0.000", "-0.00"};
  for (Radix radix : {Radix::kDecimal, Radix::kOctal, Radix::kHex, Radix::kBinary}) {
    for (const char* divisor : divisors) {
      SCOPED_TRACE(::testing::Message() << "radix " << radix << ": 1 / " << divisor);
      RecordingSink sink;
      EXPECT_FALSE(ValueOrReport(ApplyOperator('/', "1", divisor, radix, 5), sink).has_value());
      ASSERT_EQ(sink.messages.size(), 1u);
      EXPECT_EQ(sink.messages[0].text, "The denominator cannot be zero.");
      EXPECT_EQ(sink.messages[0].caption, "Calvoro Warning Message");
      EXPECT_EQ(sink.messages[0].icon, MessageIcon::Warning);
    }
  }
}

}  // namespace
}  // namespace calvoro
