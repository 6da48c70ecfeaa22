// Complex expressions: the explicit multiplications, the evaluation over
// complex values, and the complex-style window's Calculate with its messages.
#include "complex/complex_expression.h"

#include <gtest/gtest.h>

#include <complex>
#include <random>

#include "complex/complex_models.h"
#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

using testing::RecordingSink;

TEST(PrepareComplexExpressionTest, MakesMultiplicationsExplicit) {
  const struct {
    const char* text;
    const char* prepared;
  } cases[] = {
      {"5(A+6B-C)-E", "5*(a+6*b-c)-e"},
      {"A2", "a*2"},
      {"A(B)", "a*(b)"},
      {"(A)B", "(a)*b"},
      {"(A)(B)", "(a)*(b)"},  // the engine's step puts this one in
      {"sin(A)+2cos(B)", "sin(a)+2*cos(b)"},
      {"  3j-A  ", "3j-a"},
      {"2jA", "2ja"},  // j is no digit: no "*" (and the evaluation refuses it)
  };
  for (const auto& c : cases) EXPECT_EQ(PrepareComplexExpression(c.text), c.prepared) << c.text;
}

// A = 1+1j, B = 2-1j, C = 0.5, D = -3j, E = 0.
const ComplexOperands kOperands = {{{1, 1}, {2, -1}, {0.5, 0}, {0, -3}, {0, 0}}};

std::optional<ComplexNumber> Evaluate(std::string_view text) {
  return ComplexEvaluator(kOperands).Evaluate(PrepareComplexExpression(text));
}

TEST(ComplexEvaluatorTest, Values) {
  const struct {
    const char* text;
    const char* value;
  } cases[] = {
      {"2A", "2+2j"},
      {"(A)(B)", "3+1j"},
      {"5(A+6B-C)-E", "62.5-25j"},
      {"2+3j", "2+3j"},
      {"j*j", "-1"},
      {"8-3-2+5*2", "13"},
      {"2^3^2", "64"},  // left to right, as in real expressions
      {"A^2", "2j"},    // integer powers multiply out exactly
      {"-A^2", "2j"},   // the sign belongs to the first operand
      {"A-(-B)", "3"},
      {"A^(-1)", "0.5-0.5j"},
      {"0^0", "1"},
      {"E^2.5", "0"},
      {"(-1)^0.5", "0+1j"},  // -(1) keeps its imaginary zero +0: the angle is pi
      {"sqrt(-(4))", "2j"},
      {"((A))", "1+1j"},
      {"A*0.0000001*10000000", "1+1j"},  // intermediate values keep their digits
      {"ABS(3+4j)", "5"},
      {"exp(0)+ln(1)+sin(0)+cos(0)+tan(0)", "2"},
  };
  for (const auto& c : cases) {
    const std::optional<ComplexNumber> value = Evaluate(c.text);
    ASSERT_TRUE(value) << c.text;
    EXPECT_EQ(ComplexText(*value), c.value) << c.text;
  }
}

// Every item is moved once however deep the groups nest: a hundred
// thousand levels, each adding 1 to A.
TEST(ComplexEvaluatorTest, DeepNesting) {
  std::string text = std::string(100'000, '(') + "A";
  for (int i = 0; i < 100'000; ++i) text += "+1)";
  const std::optional<ComplexNumber> value = Evaluate(text);
  ASSERT_TRUE(value);
  EXPECT_EQ(ComplexText(*value), "100001+1j");
  EXPECT_FALSE(Evaluate(text + ")"));
}

TEST(ComplexEvaluatorTest, Failures) {
  for (const char* text : {"A+",      "*A",        "A*-B",     "A^-1", "1.2.3", ".",       "A/0",
                           "A/(B-B)", "0^(-1)",    "E^(-0.5)", "E^j",  "ln(E)", "sinh(A)", "log(A)",
                           "pi",      "2x",        "A B",      "()",   ")A(",   "AB",      "sin",
                           "2#3",     "exp(1000)", "10^400",   "(A+B", "j2",    "A=B",     "2jA"}) {
    EXPECT_FALSE(Evaluate(text)) << text;
  }
}

TEST(ComplexEvaluatorTest, OperatorsAndPowersAgreeWithStdComplex) {
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> part(-9, 9), exponent(-2.5, 2.5);
  for (int round = 0; round < 500; ++round) {
    ComplexOperands operands;
    for (auto& z : operands) z = {part(random), part(random)};
    operands[2] = {exponent(random), exponent(random)};
    operands[3] = {static_cast<double>(round % 9 - 4), 0};
    const std::complex<double> a(operands[0].re, operands[0].im), b(operands[1].re, operands[1].im),
        c(operands[2].re, operands[2].im), n(operands[3].re, 0);
    const struct {
      const char* text;
      std::complex<double> want;
    } cases[] = {
        {"A+B*B-A/B", a + b * b - a / b},
        {"A^C", std::pow(a, c)},
        {"B^D", std::pow(b, n)},
        {"B^(-D)", std::pow(b, -n)},
        {"(A*B)^2.5", std::pow(a * b, 2.5)},
    };
    for (const auto& k : cases) {
      const std::optional<ComplexNumber> got =
          ComplexEvaluator(operands).Evaluate(PrepareComplexExpression(k.text));
      ASSERT_TRUE(got) << k.text;
      EXPECT_LE(std::abs(std::complex<double>(got->re, got->im) - k.want),
                1e-11 * std::max(1.0, std::abs(k.want)))
          << k.text << " round " << round;
    }
  }
}

TEST(ComplexModelTest, CalculateShowsTheValueOrTheReason) {
  const std::string failure = std::string(
                                  "Sorry, fail to calculate the complex expression .Please check "
                                  "your input and report to ") +
                              std::string(kSupportEmail);
  const struct {
    const char* expression;
    const char* output;
    std::string_view message;
    std::string_view caption;
  } cases[] = {
      {"2A-B", "4.5+8j", "", ""},
      {" \t ", "4.5+4j", "Sorry, please input the expression before calculation.",
       kCaptionComplexWarning},
      {"(A+B", "4.5+4j", "The number of ) is not equal with the number of ( .",
       kCaptionComplexWarning},
      {"A%B", "4.5+4j", failure, kCaptionComplexCalculator},
  };
  for (const auto& c : cases) {
    RecordingSink sink;
    ComplexModel window(sink);
    window.operands[0] = {"3", "4"};
    window.operands[1] = {" 1.5", ""};  // an empty edit is 0
    window.expression = "A+B";
    ASSERT_TRUE(window.Calculate());
    window.expression = c.expression;
    EXPECT_EQ(window.Calculate(), c.message.empty()) << c.expression;
    EXPECT_EQ(window.output(), c.output) << c.expression;
    if (c.message.empty()) {
      EXPECT_TRUE(sink.empty()) << c.expression;
      continue;
    }
    ASSERT_EQ(sink.messages.size(), 1u) << c.expression;
    EXPECT_EQ(sink.messages[0].text, c.message);
    EXPECT_EQ(sink.messages[0].caption, c.caption);
  }
}

// A field that is no number is refused by name, nothing is shown, and the
// model names the field for the caret: in the window and in the dialog.
TEST(ComplexFieldsTest, RefuseWhatIsNoNumberByName) {
  const struct {
    ComplexOperandText a, b;
    int field;  // -1: read
    const char* message;
  } cases[] = {
      {{"1e-7", "+2"}, {"-0", " 3 "}, -1, ""},
      {{"abc1e400", "1"}, {"1", "1"}, 0, "Sorry, the real part of A is not a number."},
      {{"1", "1.2.3"}, {"1", "1"}, 1, "Sorry, the imaginary part of A is not a number."},
      {{"1", "1"}, {"0h1F", ""}, 2, "Sorry, the real part of B is not a number."},
      {{"1", "1"}, {"2", "4j"}, 3, "Sorry, the imaginary part of B is not a number."},
  };
  for (const auto& c : cases) {
    RecordingSink window_sink, dialog_sink;
    ComplexModel window(window_sink);
    window.operands[0] = c.a;
    window.operands[1] = c.b;
    window.expression = "A+B";
    ComplexOperationsModel dialog(dialog_sink);
    dialog.a = c.a;
    dialog.b = c.b;
    EXPECT_EQ(window.Calculate(), c.field < 0) << c.message;
    EXPECT_EQ(dialog.Press(ComplexOperation::kAdd), c.field < 0) << c.message;
    EXPECT_EQ(window.refusedField(), c.field);
    EXPECT_EQ(dialog.refusedField(), c.field);
    if (c.field < 0) continue;
    EXPECT_EQ(window.output(), "");
    ASSERT_EQ(window_sink.messages.size(), 1u);
    EXPECT_EQ(window_sink.messages[0].text, c.message);
    EXPECT_EQ(dialog_sink.messages[0].text, c.message);
  }
}

}  // namespace
}  // namespace calvoro
