// The calculation driver: clean-up, implicit multiplication, substitution,
// Mix, result formatting and the rewritten step text.
#include "engine/expr_engine.h"

#include <gtest/gtest.h>

#include <string>

#include "engine/expression_scan.h"
#include "engine/functions.h"
#include "engine/number_base.h"
#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

using testing::RecordedMessage;
using testing::RecordingSink;

class ExprEngineTest : public ::testing::Test {
 protected:
  // With the step text; the calculation without it must agree on everything
  // else, refusals included.
  std::optional<Calculation> Calc(std::string_view text, int base = kBaseDecimal) {
    const std::size_t before = sink.messages.size();
    std::optional<Calculation> with = engine.Calculate(text, memories, base, true);
    const std::optional<Calculation> without = plainEngine.Calculate(text, memories, base);
    EXPECT_EQ(with.has_value(), without.has_value()) << text;
    EXPECT_EQ(sink.messages.size() - before, plainSink.messages.size()) << text;
    plainSink.messages.clear();
    if (with && without) {
      EXPECT_EQ(with->steps.substr(0, with->steps.find('\r')), without->FirstLine(text)) << text;
      EXPECT_EQ(with->FirstLine(text), without->FirstLine(text)) << text;
      EXPECT_EQ(without->result, with->result) << text;
      EXPECT_EQ(without->plainResult, with->plainResult) << text;
      EXPECT_TRUE(without->steps.empty()) << text;
    }
    return with;
  }
  EngineSettings settings;
  RecordingSink sink;
  ExprEngine engine{settings, sink};
  RecordingSink plainSink;
  ExprEngine plainEngine{settings, plainSink};
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

// Results that double precision already gave correctly at the default
// precision keep every digit.
TEST_F(ExprEngineTest, FunctionResultsAtPrecisionTenKeepTheirDigits) {
  struct Case {
    int base;
    bool radian;
    const char* text;
    const char* result;
  };
  const Case cases[] = {
      {10, true, "sin(1)", "0.8414709848"},
      {10, true, "tan(1.5)", "14.1014199472"},
      {10, true, "sec(2)", "-2.4029979617"},
      {10, true, "cosh(0.7)", "1.2551690056"},
      {10, true, "tanh(0.5)", "0.4621171573"},
      {10, true, "arccos(-0.5)", "2.0943951024"},
      {10, true, "arcsec(2)", "1.0471975512"},
      {10, true, "ln(2)", "0.6931471806"},
      {10, true, "log(30)", "1.4771212547"},
      {10, true, "exp(0.0000012)", "1.0000012"},
      {10, true, "sqrt(10)", "3.1622776602"},
      {10, true, "deg(1)", "57.2957795131"},
      {10, true, "rad(180)", "3.1415926536"},
      {10, false, "sin(1)", "0.0174524064"},
      {10, false, "tan(89.99)", "5729.5778931306"},
      {10, false, "sinh(2)", "0.0349136742"},
      {10, false, "arcsin(0.1)", "5.7391704773"},
      {10, false, "arctan(10)", "84.2894068625"},
      {16, true, "sin(1)", "0.D76AA47848"},
      {16, true, "ln(2)", "0.B17217F7D2"},
      {2, true, "exp(1)", "10.1011011111100001010100010110001010001011"},
      {2, true, "deg(1)", "111001.01001011101110000011010011000111100001"},
      {8, false, "cos(36)", "0.6733172720541"},
      {8, true, "sqrt(2)", "1.3240474631772"},
  };
  for (const Case& c : cases) {
    settings.angleRadian = c.radian;
    const auto calc = Calc(c.text, c.base);
    ASSERT_TRUE(calc) << c.text;
    EXPECT_EQ(calc->result, c.result) << c.text << " base " << c.base;
  }
  EXPECT_TRUE(sink.empty());
}

// An expression inside a function's brackets is evaluated first; what the
// function refuses of its value is refused as for a typed number.
TEST_F(ExprEngineTest, FunctionParametersMayBeExpressions) {
  memories[0] = "5";
  const CalcCase cases[] = {
      {10, "sqrt(2+3)", "2.2360679775"},  {10, "sin(pi/6)", "0.5"},
      {10, "ln(last1*2)", "2.302585093"}, {10, "sin(sqrt(2+3))", "0.7867491316"},
      {10, "arcsin(1/2)*6/pi", "1"},      {10, "fac(2+3)", "120"},
      {10, "2^(1/2)", "1.4142135624"},    {16, "sqrt(8*2)", "4"},
  };
  for (const auto& c : cases) {
    const auto calc = Calc(c.text, c.base);
    ASSERT_TRUE(calc) << c.text;
    EXPECT_EQ(calc->result, c.result) << c.text;
  }
  EXPECT_TRUE(sink.empty());
  const auto steps = Calc("ln(exp(1+1))");
  ASSERT_TRUE(steps);
  EXPECT_EQ(steps->steps,
            "ln(exp(1+1))\r\n=ln(exp(1+1))\r\n=ln(exp(2))\r\n=ln(7.38905609893)\r\n=2");

  const struct {
    const char* text;
    const char* message;
  } refusals[] = {
      {"sqrt(2-3)", "Sorry,the parameter for the function Sqrt(x) cannot be less than zero."},
      {"ln(1-1)", "Sorry,the parameter for the function Ln(x) should be larger than zero."},
      {"arcsin(1/2+1)",
       "Sorry,the absolute value of the parameter of arcsin cannot be larger than 1."},
      {"fac(1/2)", "Sorry,the number of factorial function should be integer"},
      {"sin(2*)", "The char [position:7] just after the operator * cannot be acceptted"},
      {"sin(2x+1)",
       "The expression - 2x+1 cannot be used as the parameter of the function -- sin. The "
       "parameter of the function must be float number or integer."},
  };
  for (const auto& r : refusals) {
    sink.messages.clear();
    EXPECT_FALSE(Calc(r.text)) << r.text;
    ASSERT_EQ(sink.messages.size(), 1u) << r.text;
    EXPECT_EQ(sink.messages[0].text, r.message) << r.text;
  }
}

// The default Pi carries the digits the precision needs; an edited Pi is
// used as typed.
TEST_F(ExprEngineTest, PiFollowsThePrecisionUnlessEdited) {
  settings.precision = 200;
  const auto pi = Calc("pi");
  ASSERT_TRUE(pi);
  EXPECT_EQ(pi->result, PiText(200));  // decimal 201 is a 4
  settings.precision = 10;
  settings.angleRadian = false;
  EXPECT_EQ(Calc("sin(30)")->result, "0.5");
  settings.paramPi = "3.14";
  EXPECT_EQ(Calc("2pi")->result, "6.28");
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

TEST(ImplicitMultiplicationTest, StarsWhereTheTextImpliesThem) {
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
    EXPECT_EQ(InsertImplicitMultiplication(c.text, c.base), c.out) << c.text;
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
      {"0.EEEEEEEEEEE", 16, 10, "0.EEEEEEEEEF"},  // E is a digit in base 16
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
