// The calculation driver: clean-up, implicit multiplication, substitution,
// Mix, result formatting and the rewritten step text.
#include "engine/expr_engine.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/number_base.h"
#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

using testing::RecordedMessage;
using testing::RecordingSink;

class ExprEngineTest : public ::testing::Test {
 protected:
  std::optional<Calculation> Calc(std::string_view text, int base = kBaseDecimal) {
    return engine.Calculate(text, memories, base);
  }
  EngineSettings settings;
  RecordingSink sink;
  ExprEngine engine{settings, sink};
  MemoryTexts memories = kZeroMemories;
};

struct CalcCase {
  int base;
  const char* text;
  const char* result;
};

TEST_F(ExprEngineTest, Results) {
  const CalcCase cases[] = {
      {10, " 5+3 ", "8"},
      {10, "2(3+4)", "14"},
      {10, "5PI+78(34.5+89.6)", "9695.5079632679"},
      {10, "0-0", "0"},
      {10, "1/7", "0.1428571429"},  // rounded on the last kept digit
      {10, "2/3", "0.6666666667"},
      {10, "-2/3", "-0.6666666667"},
      {10, "0.99999999999", "1"},  // a plain number is rounded too
      {10, "3^50", "717897987691852588770249"},
      {10, "fac(25)", "15511210043330985984000000"},
      {10, "(3+4)*(-1)", "-7"},  // no brackets around a negative result
      {10, "int(2*15)", "30"},
      {16, "f+1", "10"},  // f is a digit in base 16
      {16, "FF*FF", "FE01"},
      {16, "1FACE+1", "1FACF"},  // fac without "(" is a number here
      {kBaseMix, "0hFACE+0h1", "0hFACF"},
      {2, "1/11", "0.0101010101010101010101010101010101010101"},
      {8, "1/3", "0.2525252525253"},  // 4P/3 digits, rounded in base 8
      {kBaseMix, "0b101+0h1F", "0h24"},
      {kBaseMix, "0b1+012+9", "20"},
      {kBaseMix, "07+01", "010"},  // the octal head survives normalising
      {kBaseMix, "0b1-0b10", "-0b1"},
      {kBaseMix, "0+1", "1"},  // a lone 0 is decimal
      // A lone number without a units digit keeps one (".0" once gave "").
      {10, ".0", "0"},
      {10, "-.0", "0"},
      {10, ".5", "0.5"},
      {16, "-.8", "-0.8"},
  };
  for (const auto& c : cases) {
    const auto calc = Calc(c.text, c.base);
    ASSERT_TRUE(calc) << c.text;
    EXPECT_EQ(calc->result, c.result) << c.text;
    EXPECT_TRUE(sink.empty()) << c.text;
  }
}

TEST_F(ExprEngineTest, ParametersMemoriesAndPi) {
  settings.paramM = "-2";
  settings.paramK = "0.5";
  memories = {"0b101", "0h1F", "017", "-3", "1.23456E+8"};
  const CalcCase cases[] = {
      {10, "3*m", "-6"},
      {10, "m^2", "4"},
      {10, "arcsin(k)*6/pi", "1"},
      {10, "last1", "5"},
      {10, "last2+last3", "46"},
      {10, "abs(last4)", "3"},
      {10, "last5/1000", "123456"},  // exponent notation expanded before use
      {10, "last12", "10"},          // last1*2
      {10, "sin(m)*0+abs(m)", "2"},  // a bracketed negative value is a number
      {16, "last1+last2", "24"},
      {2, "last1*10", "1010"},
      {kBaseMix, "last1+last2", "0h24"},
  };
  for (const auto& c : cases) {
    const auto calc = Calc(c.text, c.base);
    ASSERT_TRUE(calc) << c.text;
    EXPECT_EQ(calc->result, c.result) << c.text;
  }
  EXPECT_TRUE(sink.empty());
}

TEST_F(ExprEngineTest, StepTextEndsWithTheFormattedResult) {
  settings.precision = 5;
  settings.exponentThreshold = 5;
  const auto calc = Calc("123456789*10");
  ASSERT_TRUE(calc);
  EXPECT_EQ(calc->result, "1.23456E+9");
  EXPECT_EQ(calc->plainResult, "1234567890");
  EXPECT_EQ(calc->steps, "123456789*10\r\n=123456789*10\r\n=1234567890\r\n=1.23456E+9");

  const auto mix = Calc("0b101+0h1F", kBaseMix);
  ASSERT_TRUE(mix);
  EXPECT_EQ(mix->steps, "5+1F\r\n=5+1F\r\n=0h24");
}

TEST_F(ExprEngineTest, Refusals) {
  struct Refusal {
    int base;
    const char* text;
    RecordedMessage::Kind kind;
    const char* message;
  };
  const Refusal cases[] = {
      {10, "(2+3", RecordedMessage::Box, "The number of ) is not equal with the number of ( ."},
      {10, "5+*3", RecordedMessage::Input,
       "The char [position:2] just before operator * cannot be acceptted"},
      {10, "arcsin(2)", RecordedMessage::Box,
       "Sorry, the absolute value of arcsin's parameter should be equal to or less than 1"},
      {10, "arccos(-1.5)", RecordedMessage::Box,
       "Sorry, the absolute value of arccos's parameter should be equal to or less than 1"},
      {kBaseMix, "0b102+1", RecordedMessage::Input, "Syntax Error."},
      {kBaseMix, "08+1", RecordedMessage::Input, "Syntax Error."},
      {10, "5/0", RecordedMessage::Box, "The denominator cannot be zero."},
      {2, "2m", RecordedMessage::Box, "Sorry, the input number 21 is invalid."},
      {8, "(9)", RecordedMessage::Box, "Sorry, the input number 9 is invalid."},
  };
  for (const auto& c : cases) {
    sink.messages.clear();
    EXPECT_FALSE(Calc(c.text, c.base)) << c.text;
    ASSERT_EQ(sink.messages.size(), 1u) << c.text;
    EXPECT_EQ(sink.messages[0].kind, c.kind) << c.text;
    EXPECT_EQ(sink.messages[0].text, c.message) << c.text;
  }
  // Empty input and input with "=" fail without a message.
  sink.messages.clear();
  EXPECT_FALSE(Calc("  "));
  EXPECT_FALSE(Calc("x=2"));
  EXPECT_TRUE(sink.empty());
}

TEST_F(ExprEngineTest, MixRuleTextsGoWithTheRefusal) {
  EXPECT_FALSE(Calc("0b12", kBaseMix));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].caption, "0b12");
  EXPECT_TRUE(sink.messages[0].hint.starts_with(
      "In the mix calculation, the binary float number must begin with 0b"));
  EXPECT_TRUE(sink.messages[0].hint.ends_with("0,1,2,3,4,5,6,7,8,9,A,B,C,D,E,F and point."));
}

TEST_F(ExprEngineTest, ImplicitMultiplication) {
  struct Case {
    int base;
    const char* text;
    const char* out;
  };
  const Case cases[] = {
      {10, "5pi+78(34.5+89.6)", "5*pi+78*(34.5+89.6)"},
      {10, "(1+2)(3+4)", "(1+2)*(3+4)"},
      {10, "2m", "2*m"},
      {10, "last12", "last1*2"},
      {10, "sin(30)", "sin(30)"},
      {10, "2sin(30)cos(0)", "2*sin(30)*cos(0)"},
      {10, "2x+3x", "2*x+3*x"},
      {10, "pi2", "pi*2"},
      {10, "mfkw", "m*f*k*w"},
      {10, "2f", "2*f"},
      {16, "2f", "2f"},
      {16, "f2(1)", "f2*(1)"},
      {16, "1abs(2)", "1*abs(2)"},
      {10, "arcsin(1)", "arcsin(1)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(engine.InsertImplicitMultiplication(c.text, c.base), c.out) << c.text;
  }
}

TEST(FormatTest, LimitFraction) {
  struct Case {
    const char* text;
    int base;
    int digits;
    const char* out;
  };
  const Case cases[] = {
      {"0.14285714285", 10, 10, "0.1428571429"},
      {"9.99999", 10, 4, "10"},
      {"-9.99999", 10, 4, "-10"},
      {"1.23", 10, 4, "1.23"},
      {"12", 10, 0, "12"},
      {"0.5", 10, 0, "1"},
      {"0.77", 8, 1, "1"},
      {"0.34", 8, 1, "0.4"},
      {"0.F8", 16, 1, "1"},
      {"0.11", 2, 1, "1"},
      {"1.2", 10, 0, "1"},
      {"0.10000001", 10, 4, "0.1"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LimitFraction(c.text, c.base, c.digits), c.out) << c.text;
  }
}

TEST(FormatTest, FormatExponent) {
  struct Case {
    const char* text;
    int digits;
    int threshold;
    const char* out;
  };
  const Case cases[] = {
      {"123456789", 5, 5, "1.23456E+8"},
      {"12345", 5, 5, "12345"},
      {"-123456789", 5, 5, "-1.23456E+8"},
      {"100000000", 5, 5, "1E+8"},
      {"0.000000123", 5, 5, "1.23E-7"},
      {"0.000123456789", 5, 5, "0.00012345"},  // k below T + 2: Q significant digits
      {"123456.789", 5, 5, "1.23456E+5"},
      {"1234.56789", 5, 5, "1234.56789"},
      {"1234.567891", 5, 5, "1234.56789"},
      {"1.5E+3", 5, 5, "1.5E+3"},
      {"0", 5, 0, "0"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatExponent(c.text, c.digits, c.threshold), c.out) << c.text;
  }
}

}  // namespace
}  // namespace calvoro
