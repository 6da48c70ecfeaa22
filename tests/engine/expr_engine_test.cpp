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
  std::optional<Calculation> Calc(std::string_view text, NumberBase base = NumberBase::Decimal) {
    const std::size_t before = sink.messages.size();
    std::optional<Calculation> with =
        ShowOutcome(engine, engine.Calculate(text, memories, base, true), sink);
    const std::optional<Calculation> without =
        ShowOutcome(plainEngine, plainEngine.Calculate(text, memories, base), plainSink);
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
  ExprEngine engine{settings};
  RecordingSink plainSink;
  ExprEngine plainEngine{settings};
  MemoryTexts memories = kZeroMemories;
};

struct CalcCase {
  NumberBase base;
  const char* text;
  const char* result;
};

TEST_F(ExprEngineTest, Results) {
  const CalcCase cases[] = {
      {NumberBase::Decimal, " 5+3 ", "8"},
      {NumberBase::Decimal, "2(3+4)", "14"},
      {NumberBase::Decimal, "5PI+78(34.5+89.6)", "9695.5079632679"},
      {NumberBase::Decimal, "0-0", "0"},
      {NumberBase::Decimal, "1/7", "0.1428571429"},  // rounded on the last kept digit
      {NumberBase::Decimal, "2/3", "0.6666666667"},
      {NumberBase::Decimal, "-2/3", "-0.6666666667"},
      {NumberBase::Decimal, "0.99999999999", "1"},  // a plain number is rounded too
      {NumberBase::Decimal, "3^50", "717897987691852588770249"},
      {NumberBase::Decimal, "fac(25)", "15511210043330985984000000"},
      {NumberBase::Decimal, "(3+4)*(-1)", "-7"},  // no brackets around a negative result
      {NumberBase::Decimal, "int(2*15)", "30"},
      {NumberBase::Hex, "f+1", "10"},  // f is a digit in base 16
      {NumberBase::Hex, "FF*FF", "FE01"},
      {NumberBase::Hex, "1FACE+1", "1FACF"},  // fac without "(" is a number here
      {NumberBase::Mix, "0hFACE+0h1", "0hFACF"},
      {NumberBase::Binary, "1/11", "0.0101010101010101010101010101010101010101"},
      {NumberBase::Octal, "1/3", "0.2525252525253"},  // 4P/3 digits, rounded in base 8
      {NumberBase::Mix, "0b101+0h1F", "0h24"},
      {NumberBase::Mix, "0b1+012+9", "20"},
      {NumberBase::Mix, "07+01", "010"},  // the octal head survives normalising
      {NumberBase::Mix, "0b1-0b10", "-0b1"},
      {NumberBase::Mix, "0+1", "1"},  // a lone 0 is decimal
      // A lone number without a units digit keeps one (".0" once gave "").
      {NumberBase::Decimal, ".0", "0"},
      {NumberBase::Decimal, "-.0", "0"},
      {NumberBase::Decimal, ".5", "0.5"},
      {NumberBase::Hex, "-.8", "-0.8"},
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
      {NumberBase::Decimal, "3*m", "-6"},
      {NumberBase::Decimal, "m^2", "4"},
      {NumberBase::Decimal, "arcsin(k)*6/pi", "1"},
      {NumberBase::Decimal, "last1", "5"},
      {NumberBase::Decimal, "last2+last3", "46"},
      {NumberBase::Decimal, "abs(last4)", "3"},
      {NumberBase::Decimal, "last5/1000", "123456"},  // exponent notation expanded before use
      {NumberBase::Decimal, "last12", "10"},          // last1*2
      {NumberBase::Decimal, "sin(m)*0+abs(m)", "2"},  // a bracketed negative value is a number
      {NumberBase::Hex, "last1+last2", "24"},
      {NumberBase::Binary, "last1*10", "1010"},
      {NumberBase::Mix, "last1+last2", "0h24"},
  };
  for (const auto& c : cases) {
    const auto calc = Calc(c.text, c.base);
    ASSERT_TRUE(calc) << c.text;
    EXPECT_EQ(calc->result, c.result) << c.text;
  }
  // The "E" of a hexadecimal memory is a digit, not an exponent.
  memories[1] = "-0h92F8.E9074";
  const auto hex = Calc("last2+1", NumberBase::Hex);
  ASSERT_TRUE(hex);
  EXPECT_EQ(hex->result, "-92F7.E9074");
  EXPECT_TRUE(sink.empty());
}

// Results that double precision already gave correctly at the default
// precision keep every digit.
TEST_F(ExprEngineTest, FunctionResultsAtPrecisionTenKeepTheirDigits) {
  struct Case {
    NumberBase base;
    bool radian;
    const char* text;
    const char* result;
  };
  const Case cases[] = {
      {NumberBase::Decimal, true, "sin(1)", "0.8414709848"},
      {NumberBase::Decimal, true, "tan(1.5)", "14.1014199472"},
      {NumberBase::Decimal, true, "sec(2)", "-2.4029979617"},
      {NumberBase::Decimal, true, "cosh(0.7)", "1.2551690056"},
      {NumberBase::Decimal, true, "tanh(0.5)", "0.4621171573"},
      {NumberBase::Decimal, true, "arccos(-0.5)", "2.0943951024"},
      {NumberBase::Decimal, true, "arcsec(2)", "1.0471975512"},
      {NumberBase::Decimal, true, "ln(2)", "0.6931471806"},
      {NumberBase::Decimal, true, "log(30)", "1.4771212547"},
      {NumberBase::Decimal, true, "exp(0.0000012)", "1.0000012"},
      {NumberBase::Decimal, true, "sqrt(10)", "3.1622776602"},
      {NumberBase::Decimal, true, "deg(1)", "57.2957795131"},
      {NumberBase::Decimal, true, "rad(180)", "3.1415926536"},
      {NumberBase::Decimal, false, "sin(1)", "0.0174524064"},
      {NumberBase::Decimal, false, "tan(89.99)", "5729.5778931306"},
      {NumberBase::Decimal, false, "sinh(2)", "0.0349136742"},
      {NumberBase::Decimal, false, "arcsin(0.1)", "5.7391704773"},
      {NumberBase::Decimal, false, "arctan(10)", "84.2894068625"},
      {NumberBase::Hex, true, "sin(1)", "0.D76AA47848"},
      {NumberBase::Hex, true, "ln(2)", "0.B17217F7D2"},
      {NumberBase::Binary, true, "exp(1)", "10.1011011111100001010100010110001010001011"},
      {NumberBase::Binary, true, "deg(1)", "111001.01001011101110000011010011000111100001"},
      {NumberBase::Octal, false, "cos(36)", "0.6733172720541"},
      {NumberBase::Octal, true, "sqrt(2)", "1.3240474631772"},
  };
  for (const Case& c : cases) {
    settings.angleRadian = c.radian;
    const auto calc = Calc(c.text, c.base);
    ASSERT_TRUE(calc) << c.text;
    EXPECT_EQ(calc->result, c.result) << c.text << " base " << RadixOf(c.base);
  }
  EXPECT_TRUE(sink.empty());
}

// An expression inside a function's brackets is evaluated first; what the
// function refuses of its value is refused as for a typed number.
TEST_F(ExprEngineTest, FunctionParametersMayBeExpressions) {
  memories[0] = "5";
  const CalcCase cases[] = {
      {NumberBase::Decimal, "sqrt(2+3)", "2.2360679775"},
      {NumberBase::Decimal, "sin(pi/6)", "0.5"},
      {NumberBase::Decimal, "ln(last1*2)", "2.302585093"},
      {NumberBase::Decimal, "sin(sqrt(2+3))", "0.7867491316"},
      {NumberBase::Decimal, "arcsin(1/2)*6/pi", "1"},
      {NumberBase::Decimal, "fac(2+3)", "120"},
      {NumberBase::Decimal, "2^(1/2)", "1.4142135624"},
      {NumberBase::Hex, "sqrt(8*2)", "4"},
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
       "Sorry, the absolute value of arcsin's parameter should be equal to or less than 1"},
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

  const auto mix = Calc("0b101+0h1F", NumberBase::Mix);
  ASSERT_TRUE(mix);
  EXPECT_EQ(mix->steps, "5+1F\r\n=5+1F\r\n=0h24");
}

TEST_F(ExprEngineTest, Refusals) {
  struct Refusal {
    NumberBase base;
    const char* text;
    RecordedMessage::Kind kind;
    const char* message;
  };
  const Refusal cases[] = {
      {NumberBase::Decimal, "(2+3", RecordedMessage::Box,
       "The number of ) is not equal with the number of ( ."},
      {NumberBase::Decimal, "5+*3", RecordedMessage::Input,
       "The char [position:2] just before operator * cannot be acceptted"},
      {NumberBase::Decimal, "arcsin(2)", RecordedMessage::Box,
       "Sorry, the absolute value of arcsin's parameter should be equal to or less than 1"},
      {NumberBase::Decimal, "arccos(-1.5)", RecordedMessage::Box,
       "Sorry, the absolute value of arccos's parameter should be equal to or less than 1"},
      {NumberBase::Mix, "0b102+1", RecordedMessage::Input, "Syntax Error."},
      {NumberBase::Mix, "08+1", RecordedMessage::Input, "Syntax Error."},
      {NumberBase::Decimal, "5/0", RecordedMessage::Box, "The denominator cannot be zero."},
      {NumberBase::Binary, "2m", RecordedMessage::Box, "Sorry, the input number 21 is invalid."},
      {NumberBase::Octal, "(9)", RecordedMessage::Box, "Sorry, the input number 9 is invalid."},
      // arcsin and arccos arguments are read in the calculation's base first.
      {NumberBase::Hex, "ln(0)+arcsin(1A)", RecordedMessage::Box,
       "Sorry, the absolute value of arcsin's parameter should be equal to or less than 1"},
      {NumberBase::Hex, "ln(0)+arccos(-B)", RecordedMessage::Box,
       "Sorry, the absolute value of arccos's parameter should be equal to or less than 1"},
      {NumberBase::Mix, "ln(0)+arcsin(0hA)", RecordedMessage::Box,
       "Sorry, the absolute value of arcsin's parameter should be equal to or less than 1"},
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

TEST_F(ExprEngineTest, ArcArgumentsWithinOneInTheirBase) {
  const std::pair<NumberBase, const char*> cases[] = {
      {NumberBase::Hex, "arcsin(0.8)"},
      {NumberBase::Binary, "arccos(-0.1)"},
      {NumberBase::Octal, "arcsin(0.7)"},
      {NumberBase::Mix, "arccos(0h0.F)"},
  };
  for (const auto& [base, text] : cases) {
    sink.messages.clear();
    EXPECT_TRUE(Calc(text, base)) << text;
    EXPECT_TRUE(sink.empty()) << text;
  }
}

TEST_F(ExprEngineTest, MixRuleTextsGoWithTheRefusal) {
  EXPECT_FALSE(Calc("0b12", NumberBase::Mix));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].caption, "0b12");
  EXPECT_TRUE(sink.messages[0].hint.starts_with(
      "In the mix calculation, the binary float number must begin with 0b"));
  EXPECT_TRUE(sink.messages[0].hint.ends_with("0,1,2,3,4,5,6,7,8,9,A,B,C,D,E,F and point."));
}

TEST(ImplicitMultiplicationTest, StarsWhereTheTextImpliesThem) {
  struct Case {
    NumberBase base;
    const char* text;
    const char* out;
  };
  const Case cases[] = {
      {NumberBase::Decimal, "5pi+78(34.5+89.6)", "5*pi+78*(34.5+89.6)"},
      {NumberBase::Decimal, "(1+2)(3+4)", "(1+2)*(3+4)"},
      {NumberBase::Decimal, "2m", "2*m"},
      {NumberBase::Decimal, "last12", "last1*2"},
      {NumberBase::Decimal, "sin(30)", "sin(30)"},
      {NumberBase::Decimal, "2sin(30)cos(0)", "2*sin(30)*cos(0)"},
      {NumberBase::Decimal, "2x+3x", "2*x+3*x"},
      {NumberBase::Decimal, "pi2", "pi*2"},
      {NumberBase::Decimal, "mfkw", "m*f*k*w"},
      {NumberBase::Decimal, "2f", "2*f"},
      {NumberBase::Hex, "2f", "2f"},
      {NumberBase::Hex, "f2(1)", "f2*(1)"},
      {NumberBase::Hex, "1abs(2)", "1*abs(2)"},
      {NumberBase::Decimal, "arcsin(1)", "arcsin(1)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(InsertImplicitMultiplication(c.text, c.base), c.out) << c.text;
  }
}

TEST(FormatTest, LimitFraction) {
  struct Case {
    const char* text;
    NumberBase base;
    int digits;
    const char* out;
  };
  const Case cases[] = {
      {"0.14285714285", NumberBase::Decimal, 10, "0.1428571429"},
      {"9.99999", NumberBase::Decimal, 4, "10"},
      {"-9.99999", NumberBase::Decimal, 4, "-10"},
      {"1.23", NumberBase::Decimal, 4, "1.23"},
      {"12", NumberBase::Decimal, 0, "12"},
      {"0.5", NumberBase::Decimal, 0, "1"},
      {"0.77", NumberBase::Octal, 1, "1"},
      {"0.34", NumberBase::Octal, 1, "0.4"},
      {"0.F8", NumberBase::Hex, 1, "1"},
      {"0.11", NumberBase::Binary, 1, "1"},
      {"1.2", NumberBase::Decimal, 0, "1"},
      {"0.10000001", NumberBase::Decimal, 4, "0.1"},
      {"0.EEEEEEEEEEE", NumberBase::Hex, 10, "0.EEEEEEEEEF"},  // E is a digit in base 16
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
