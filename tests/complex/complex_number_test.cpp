// ComplexNumber's text form and the operations dialog: the dialog's own
// formulas and constants, and agreement with std::complex on random operands.
#include "complex/complex_number.h"

#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <random>

#include "complex/complex_models.h"
#include "numeric/number_text.h"
#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

using testing::RecordingSink;
using Op = ComplexOperation;

TEST(ComplexTextTest, Shapes) {
  const struct {
    ComplexNumber z;
    const char* text;
  } cases[] = {
      {{3, 4}, "3+4j"},
      {{0, -2}, "-2j"},
      {{-1.5, 0}, "-1.5"},
      {{2, 0}, "2"},
      {{0, 0}, "0"},
      {{-0.0, -0.0}, "0"},
      {{0, 2.5}, "2.5j"},
      {{2.5, -0.125}, "2.5-0.125j"},
      {{-7, 1e-9}, "-7+0j"},  // a tiny part keeps its sign's shape
      {{1e-9, 1}, "0+1j"},
      {{-1e-9, -1}, "0-1j"},  // "-0.000000" shows as 0
      {{1.0000005, 0}, "1.000001"},
  };
  for (const auto& c : cases) EXPECT_EQ(ComplexText(c.z), c.text) << c.text;
}

TEST(ComplexOperationsModelTest, OperationTexts) {
  const struct {
    Op op;
    ComplexNumber a, b;
    std::string output;
  } cases[] = {
      {Op::kAdd, {1, 2}, {3, -4}, "4-2j"},
      {Op::kSubtract, {1, 2}, {3, -4}, "-2+6j"},
      {Op::kMultiply, {1, 2}, {3, -4}, "11+2j"},
      {Op::kDivide, {11, 2}, {3, -4}, "1+2j"},
      {Op::kDivide, {1, 0}, {0, 2}, "-0.5j"},  // abs(d) above abs(c): the second scaling
      {Op::kModule, {3, 4}, {}, "5.000000"},
      {Op::kModule, {1e300, 1e300}, {}, FixedText(std::sqrt(2.0) * 1e300)},  // no overflow
      {Op::kLog, {3, 4}, {}, "1.609438+0.927295j"},
      {Op::kRealPower, {-1, 0}, {0.5, 7}, "0+1j"},  // B's imaginary part is ignored
      {Op::kRealPower, {0, 0}, {3, 0}, "0"},
      {Op::kRealPower, {0, 0}, {0, 0}, "0"},
      {Op::kComplexPower, {0, 0}, {2, 1}, "0"},
      // On the imaginary axis the angle is 1.5707963268: j^j = e^-1.5707963268.
      {Op::kComplexPower, {0, 1}, {0, 1}, ShortFixedText(std::exp(-1.5707963268))},
      {Op::kRoots, {0, 0}, {3, 0}, "0\r\n0\r\n0"},
      // 2.9 truncates to 2; the second root's angle uses 6.2831852, not 2pi.
      {Op::kRoots, {4, 0}, {2.9, 0}, "2\r\n-2+0j"},
      {Op::kRoots, {4, 0}, {0.9, 0}, ""},
  };
  for (const auto& c : cases) {
    RecordingSink sink;
    ComplexOperationsModel dialog(sink);
    dialog.a = {ShortFixedText(c.a.re), ShortFixedText(c.a.im)};
    dialog.b = {ShortFixedText(c.b.re), ShortFixedText(c.b.im)};
    ASSERT_TRUE(dialog.Press(c.op)) << kComplexOperationLabels[static_cast<int>(c.op)];
    EXPECT_EQ(dialog.output(), c.output) << kComplexOperationLabels[static_cast<int>(c.op)];
    EXPECT_TRUE(sink.empty());
  }
}

TEST(ComplexOperationsModelTest, RefusalsLeaveTheOutput) {
  const struct {
    Op op;
    const char* a_re;
    const char* b_re;
    const char* b_im;
    std::string_view message;
  } cases[] = {
      {Op::kRealPower, "0", "-1", "1", "The denominator cannot be zero."},
      {Op::kComplexPower, "0", "-0.5", "1", "The denominator cannot be zero."},
      {Op::kRoots, "1", "1001", "1", "Sorry, the number of roots must not be above 1000."},
      {Op::kDivide, "1", "0", "-0", "The denominator cannot be zero."},
      {Op::kLog, "0", "1", "1", "Sorry, the result is too large or not defined."},
      {Op::kMultiply, "1e300", "1e300", "0", "Sorry, the result is too large or not defined."},
  };
  for (const auto& c : cases) {
    RecordingSink sink;
    ComplexOperationsModel dialog(sink);
    dialog.a = {"1", "0"};
    dialog.b = {"1", "0"};
    ASSERT_TRUE(dialog.Press(Op::kAdd));
    dialog.a = {c.a_re, "0"};
    dialog.b = {c.b_re, c.b_im};
    EXPECT_FALSE(dialog.Press(c.op)) << c.b_re;
    EXPECT_EQ(dialog.output(), "2");
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, c.message);
    EXPECT_EQ(sink.messages[0].caption, kCaptionComplexWarning);
  }
}

::testing::AssertionResult Near(ComplexNumber got, std::complex<double> want, double tolerance) {
  if (std::abs(std::complex<double>(got.re, got.im) - want) <=
      tolerance * std::max(1.0, std::abs(want))) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "got " << got.re << "," << got.im << " want " << want.real() << "," << want.imag();
}

TEST(ComplexPropertyTest, AgreesWithStdComplex) {
  std::mt19937_64 random(20261207);
  std::uniform_real_distribution<double> part(-50, 50), small(-3, 3);
  for (int round = 0; round < 2000; ++round) {
    const ComplexNumber a{part(random), part(random)}, b{part(random), part(random)};
    const ComplexNumber p{small(random), small(random)}, e{small(random), small(random)};
    const std::complex<double> x(a.re, a.im), y(b.re, b.im), z(p.re, p.im), w(e.re, e.im);
    EXPECT_TRUE(Near(Add(a, b), x + y, 1e-15));
    EXPECT_TRUE(Near(Subtract(a, b), x - y, 1e-15));
    EXPECT_TRUE(Near(Multiply(a, b), x * y, 1e-15));
    EXPECT_TRUE(Near(Divide(a, b), x / y, 1e-14));
    EXPECT_NEAR(Module(a), std::abs(x), 1e-13);
    EXPECT_TRUE(Near(Log(a), std::log(x), 1e-14));
    EXPECT_TRUE(Near(Sin(p), std::sin(z), 1e-13));
    EXPECT_TRUE(Near(Cos(p), std::cos(z), 1e-13));
    EXPECT_TRUE(Near(Tan(p), std::tan(z), 1e-12));
    EXPECT_TRUE(Near(RealPower(a, e.re), std::pow(x, e.re), 1e-12));
    EXPECT_TRUE(Near(ComplexPower(a, e), std::pow(x, w), 1e-12));
    const int n = 1 + round % 7;
    for (const ComplexNumber& root : Roots(a, n)) {
      // The short turn constant puts the roots about 1e-7 off their places.
      EXPECT_TRUE(Near(RealPower(root, n), x, 1e-6));
    }
  }
}

}  // namespace
}  // namespace calvoro
