// The limb kernels against the digit-by-digit schoolbook oracle: every
// multiplication and division path (schoolbook, Karatsuba, NTT, Knuth D, Barrett with
// the Newton reciprocal, the shortened-divisor path) on the same operands,
// and the public HugeFloat operations (and the operator application's
// products and quotients of number texts) on random operands of 1 to 5,000
// digits in the four radices.
#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "numeric/huge_float.h"
#include "numeric/limb_arithmetic.h"
#include "numeric/text_arithmetic.h"
#include "tests/support/reference_number.h"

namespace calvoro {
namespace {

namespace schoolbook = testing::schoolbook;

using limbs::Limbs;

constexpr Radix kRadices[] = {Radix::kDecimal, Radix::kHex, Radix::kOctal, Radix::kBinary};

// Operand shapes that stress carries, borrows and the estimates of Knuth D.
enum class Shape { kUniform, kAllMax, kPowerOfBase, kSparse };

Limbs RandomLimbs(std::mt19937_64& rng, std::size_t count, Radix radix, Shape shape) {
  const limbs::Limb base = limbs::FormatOf(radix).base;
  Limbs a(count);
  for (auto& limb : a) {
    switch (shape) {
      case Shape::kUniform:
        limb = static_cast<limbs::Limb>(rng() % base);
        break;
      case Shape::kAllMax:
        limb = base - 1;
        break;
      case Shape::kPowerOfBase:
        limb = 0;
        break;
      case Shape::kSparse:
        limb = rng() % 8 == 0 ? static_cast<limbs::Limb>(rng() % base) : 0;
        break;
    }
  }
  if (count > 0 && a.back() == 0) a.back() = 1;
  return a;
}

Digits DigitsOf(const Limbs& a, Radix radix) { return limbs::Unpack(a, radix); }

// x == q * y + r and r < y, checked with the oracle's multiplication.
void ExpectDivision(const Limbs& x, const Limbs& y, const Limbs& q, const Limbs& r, Radix radix) {
  const Digits product =
      schoolbook::MultiplyIntegers(DigitsOf(q, radix), DigitsOf(y, radix), radix);
  HugeFloat sum =
      AddMagnitudes(HugeFloat(radix, 1, product, -1), HugeFloat(radix, 1, DigitsOf(r, radix), -1));
  EXPECT_EQ(sum.ToText(), HugeFloat(radix, 1, DigitsOf(x, radix), -1).ToText());
  EXPECT_LT(CompareMagnitude(HugeFloat(radix, 1, DigitsOf(r, radix), -1),
                             HugeFloat(radix, 1, DigitsOf(y, radix), -1)),
            0);
}

TEST(LimbKernels, PackAndUnpackAreInverse) {
  for (Radix radix : kRadices) {
    const Digits digits = {0, 1, 0, static_cast<std::uint8_t>(radix - 1),
                           1, 0, 0};  // leading zeros
    EXPECT_EQ(limbs::Unpack(limbs::Pack(digits, radix), radix),
              Digits({0, 1, 0, static_cast<std::uint8_t>(radix - 1), 1}));
    EXPECT_TRUE(limbs::Pack(Digits{0, 0, 0}, radix).empty());
    EXPECT_EQ(limbs::Unpack({}, radix), Digits{0});
  }
  EXPECT_EQ(limbs::Text(limbs::Pack(Digits{5, 4, 3, 2, 1, 0, 9, 8, 7, 6}, Radix::kDecimal),
                        Radix::kDecimal),
            "6789012345");
  EXPECT_EQ(limbs::Text({}, Radix::kHex), "0");
}

TEST(LimbKernels, EveryMultiplicationPathMatchesTheOracle) {
  std::mt19937_64 rng(7);
  struct Size {
    std::size_t a, b;
  };
  // Across the thresholds: schoolbook rows below 64 (decimal) or 128 limbs,
  // Karatsuba with odd halves and with pieces of a much shorter operand,
  // transforms of fewer than 16 points (scalar levels) and longer ones, and
  // lengths just above a power of two (299 x 300, 560 x 520: the top folded).
  const Size sizes[] = {{1, 1},     {2, 1},     {7, 5},     {40, 40},   {63, 64},
                        {64, 64},   {127, 128}, {128, 128}, {201, 129}, {300, 130},
                        {299, 300}, {301, 301}, {560, 520}, {700, 64},  {1100, 900}};
  for (Radix radix : kRadices) {
    for (const Size& size : sizes) {
      for (Shape shape : {Shape::kUniform, Shape::kAllMax, Shape::kPowerOfBase, Shape::kSparse}) {
        SCOPED_TRACE(::testing::Message() << "radix " << radix << ", " << size.a << " x " << size.b
                                          << " limbs, shape " << static_cast<int>(shape));
        const Limbs a = RandomLimbs(rng, size.a, radix, shape);
        const Limbs b = RandomLimbs(rng, size.b, radix, shape);
        const Digits expected =
            schoolbook::MultiplyIntegers(DigitsOf(a, radix), DigitsOf(b, radix), radix);
        EXPECT_EQ(DigitsOf(limbs::detail::MultiplySchoolbook(a, b, radix), radix), expected);
        EXPECT_EQ(DigitsOf(limbs::detail::MultiplyKaratsuba(a, b, radix), radix), expected);
        EXPECT_EQ(DigitsOf(limbs::detail::MultiplyNtt(a, b, radix), radix), expected);
        EXPECT_EQ(DigitsOf(limbs::Multiply(a, b, radix), radix), expected);
        const Limbs square = limbs::detail::MultiplySchoolbook(a, a, radix);
        EXPECT_EQ(limbs::detail::MultiplyNtt(a, a, radix), square) << "square";
        EXPECT_EQ(limbs::detail::MultiplyKaratsuba(a, a, radix), square) << "square";
        EXPECT_EQ(limbs::Multiply(a, a, radix), square) << "square";
      }
    }
  }
}

TEST(LimbKernels, NttCoefficientsNearTheirBoundStayExact) {
  // All limbs base - 1: every convolution coefficient is n (base - 1)^2, the
  // largest the three primes must recover.
  for (Radix radix : kRadices) {
    std::mt19937_64 rng(1);
    const Limbs a = RandomLimbs(rng, 20000, radix, Shape::kAllMax);
    const Limbs product = limbs::detail::MultiplyNtt(a, a, radix);
    // (B^n - 1)^2 = B^2n - 2 B^n + 1: limb 0 is 1, limbs 1..n-1 zero, limb n is B - 2.
    ASSERT_EQ(product.size(), 40000u);
    EXPECT_EQ(product[0], 1u);
    EXPECT_EQ(product[1], 0u);
    EXPECT_EQ(product[19999], 0u);
    EXPECT_EQ(product[20000], limbs::FormatOf(radix).base - 2);
    EXPECT_EQ(product[39999], limbs::FormatOf(radix).base - 1);
  }
}

TEST(LimbKernels, UnbalancedProductsInPiecesMatchTheWholeTransform) {
  std::mt19937_64 rng(11);
  const Limbs a = RandomLimbs(rng, 30000, Radix::kDecimal, Shape::kUniform);
  const Limbs b = RandomLimbs(rng, 350, Radix::kDecimal, Shape::kUniform);
  EXPECT_EQ(limbs::Multiply(a, b, Radix::kDecimal),
            limbs::detail::MultiplyNtt(a, b, Radix::kDecimal));
}

TEST(LimbKernels, EveryDivisionPathGivesQuotientAndRemainder) {
  std::mt19937_64 rng(3);
  struct Size {
    std::size_t x, y;
  };
  // One-limb divisors, Knuth D (divisors below 16 limbs, or fewer than 4000
  // quotient limbs times divisor limbs), Barrett (quotient about as long as
  // the divisor or longer) and the shortened-divisor path (much shorter
  // quotient), on both sides of each threshold.
  const Size sizes[] = {{1, 1},     {9, 1},     {5, 2},     {60, 30},   {400, 15},
                        {400, 16},  {100, 50},  {130, 60},  {250, 130}, {400, 130},
                        {700, 300}, {560, 400}};
  for (Radix radix : kRadices) {
    for (const Size& size : sizes) {
      for (Shape shape : {Shape::kUniform, Shape::kAllMax, Shape::kPowerOfBase, Shape::kSparse}) {
        SCOPED_TRACE(::testing::Message() << "radix " << radix << ", " << size.x << " / " << size.y
                                          << " limbs, shape " << static_cast<int>(shape));
        const Limbs x = RandomLimbs(rng, size.x, radix, Shape::kUniform);
        const Limbs y = RandomLimbs(rng, size.y, radix, shape);
        Limbs q, r;
        limbs::DivMod(x, y, radix, q, r);
        ExpectDivision(x, y, q, r, radix);
        if (size.y >= 2) {
          Limbs qk, rk;
          limbs::detail::DivModKnuth(x, y, radix, qk, rk);
          EXPECT_EQ(qk, q);
          EXPECT_EQ(rk, r);
        }
        if (size.y >= 2 && size.x >= size.y) {
          Limbs qb, rb;
          limbs::detail::DivModBarrett(x, y, radix, qb, rb);
          EXPECT_EQ(qb, q);
          EXPECT_EQ(rb, r);
        }
      }
    }
  }
}

TEST(LimbKernels, ExactQuotientsAndOneBelowThem) {
  std::mt19937_64 rng(5);
  for (Radix radix : kRadices) {
    for (std::size_t n : {2u, 150u, 400u}) {
      const Limbs y = RandomLimbs(rng, n, radix, Shape::kUniform);
      const Limbs k = RandomLimbs(rng, n + 17, radix, Shape::kUniform);
      Limbs x = limbs::Multiply(y, k, radix);
      Limbs q, r;
      limbs::DivMod(x, y, radix, q, r);
      EXPECT_EQ(q, k);
      EXPECT_TRUE(r.empty());
      // x - 1: quotient k - 1, remainder y - 1.
      Limbs one{1}, unused;
      Limbs x_less = x;
      for (std::size_t i = 0; i < x_less.size(); ++i) {  // subtract one with borrow
        if (x_less[i] != 0) {
          --x_less[i];
          break;
        }
        x_less[i] = limbs::FormatOf(radix).base - 1;
      }
      limbs::DivMod(x_less, y, radix, q, r);
      ExpectDivision(x_less, y, q, r, radix);
    }
  }
}

TEST(LimbKernels, ReciprocalIsExactAtTheEdgesOfItsRecursion) {
  std::mt19937_64 rng(9);
  for (Radix radix : {Radix::kDecimal, Radix::kHex}) {
    for (std::size_t n : {41u, 42u, 87u, 200u, 333u}) {
      for (Shape shape : {Shape::kUniform, Shape::kAllMax, Shape::kPowerOfBase}) {
        SCOPED_TRACE(::testing::Message() << "radix " << radix << ", " << n << " limbs, shape "
                                          << static_cast<int>(shape));
        const Limbs y = RandomLimbs(rng, n, radix, shape);
        Limbs power(2 * n + 1, 0);
        power.back() = 1;
        Limbs q, r;
        limbs::detail::DivModKnuth(power, y, radix, q, r);
        EXPECT_EQ(limbs::detail::Reciprocal(y, radix), q);
      }
    }
  }
}

// ------------------------------------------------------------ HugeFloat level

char DigitCharOf(int value) { return "0123456789ABCDEF"[value]; }

// A random number text of the radix with `length` digits: integer, fraction
// or both, sometimes with leading fraction zeros, either sign.
std::string RandomNumber(std::mt19937_64& rng, Radix radix, int length) {
  std::string digits;
  const bool runs = rng() % 3 == 0;  // long runs of zeros and of the top digit
  for (int i = 0; i < length; ++i) {
    int d = static_cast<int>(rng() % static_cast<unsigned>(radix));
    if (runs) d = (i / 37) % 2 == 0 ? 0 : radix - 1;
    digits.push_back(DigitCharOf(d));
  }
  if (digits.front() == '0') digits.front() = '1';
  std::string text;
  switch (rng() % 4) {
    case 0:
      text = digits;
      break;
    case 1:
      text = "0." + std::string(rng() % 12, '0') + digits;
      break;
    default: {
      const std::size_t cut = 1 + rng() % digits.size();
      text = digits.substr(0, cut);
      if (cut < digits.size()) text += "." + digits.substr(cut);
    }
  }
  if (rng() % 2 == 0) text.insert(0, "-");
  return text;
}

int RandomLength(std::mt19937_64& rng, int max) {
  switch (rng() % 3) {
    case 0:
      return 1 + static_cast<int>(rng() % 20);
    case 1:
      return 1 + static_cast<int>(rng() % 600);
    default:
      return 1 + static_cast<int>(rng() % static_cast<unsigned>(max));
  }
}

class FastHugeFloat : public ::testing::TestWithParam<Radix> {};

TEST_P(FastHugeFloat, ProductsQuotientsAndRemaindersMatchTheSchoolbookOracle) {
  const Radix radix = GetParam();
  std::mt19937_64 rng(1000 + static_cast<unsigned>(radix));
  int mismatches = 0;
  for (int round = 0; round < 60; ++round) {
    const char* zeros[] = {"0", "-0", "0.000", "-00.0"};
    const std::string a_text =
        rng() % 12 == 0 ? zeros[rng() % 4] : RandomNumber(rng, radix, RandomLength(rng, 5000));
    const std::string b_text =
        rng() % 10 == 0 ? std::string("-0") : RandomNumber(rng, radix, RandomLength(rng, 2500));
    // Precisions that cut the quotient below, inside and beyond its digits.
    const int precision = std::vector<int>{1, 3, 40, 700, 3000}[rng() % 5];
    const HugeFloat a = HugeFloat::FromRadixText(a_text, radix, precision);
    const HugeFloat b = HugeFloat::FromRadixText(b_text, radix, precision);
    SCOPED_TRACE(::testing::Message() << "radix " << radix << ", precision " << precision << ", "
                                      << a_text.size() << " and " << b_text.size() << " chars");
    // The operator application's road from text to limbs and back too.
    const std::optional<NumberText> x = ReadNumber(a_text, radix);
    const std::optional<NumberText> y = ReadNumber(b_text, radix);
    ASSERT_TRUE(x && y);
    const std::string product = schoolbook::Multiply(a, b, precision).ToText();
    const bool same_product = Multiply(a, b, precision).ToText() == product &&
                              MultiplyNumberTexts(*x, *y, radix, precision) == product;
    EXPECT_TRUE(same_product);
    mismatches += !same_product;
    if (b.IsZero()) continue;
    const std::string quotient = schoolbook::Divide(a, b, precision).ToText();
    const bool same_quotient = Divide(a, b, precision).ToText() == quotient &&
                               DivideNumberTexts(*x, *y, radix, precision) == quotient;
    EXPECT_TRUE(same_quotient);
    mismatches += !same_quotient;
    HugeFloat positive_b = b;
    positive_b.set_sign(1);
    EXPECT_EQ(Remainder(a, positive_b).ToText(), schoolbook::Remainder(a, positive_b).ToText());
    EXPECT_EQ(IntegerQuotient(a, positive_b).ToText(),
              schoolbook::IntegerQuotient(a, positive_b).ToText());
    HugeFloat q, r, rq, rr;
    LongDivide(a, b, q, r, precision % 50);
    schoolbook::LongDivide(a, b, rq, rr, precision % 50);
    EXPECT_EQ(q.ToText(), rq.ToText());
    EXPECT_EQ(r.ToText(), rr.ToText());
    if (mismatches > 3) break;
  }
}

INSTANTIATE_TEST_SUITE_P(Radices, FastHugeFloat, ::testing::ValuesIn(kRadices),
                         [](const ::testing::TestParamInfo<Radix>& info) {
                           return "Radix" + std::to_string(info.param);
                         });

TEST(FastHugeFloat, ZerosSignsAndCutsAreUnchanged) {
  struct Case {
    const char* a;
    const char* b;
    int precision;
    const char* product;
    const char* quotient;
  };
  const Case cases[] = {
      {"-3", "0", 5, "-0", nullptr},
      {"0.000", "-7", 5, "-0", "0"},
      {"-1", "1000", 2, "-1000", "-0"},
      {"1.23456", "1", 3, "1.234", "1.234"},
      {"0.0271828", "1", 3, "0.0271", "0.027"},
      {"999999999999999999.999999999", "1.000000001", 40, "1000000000999999999.999999998999999999",
       "999999999000000000.9999999980000000019999999980000000019999"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.a) + " and " + c.b);
    const HugeFloat a = HugeFloat::FromText(c.a), b = HugeFloat::FromText(c.b);
    const NumberText x = *ReadNumber(c.a, Radix::kDecimal), y = *ReadNumber(c.b, Radix::kDecimal);
    EXPECT_EQ(Multiply(a, b, c.precision).ToText(), c.product);
    EXPECT_EQ(MultiplyNumberTexts(x, y, Radix::kDecimal, c.precision), c.product);
    if (c.quotient) {
      EXPECT_EQ(Divide(a, b, c.precision).ToText(), c.quotient);
      EXPECT_EQ(DivideNumberTexts(x, y, Radix::kDecimal, c.precision), c.quotient);
    }
  }
}

// ------------------------------------------------------------ factorial

// n! by the plain loop: multiply limbs of `width` digits by 2, 3, ..., n.
std::string FactorialByLoop(int n, Radix radix) {
  const limbs::LimbFormat format = limbs::FormatOf(radix);
  Limbs value{1};
  for (std::uint64_t i = 2; i <= static_cast<std::uint64_t>(n); ++i) {
    std::uint64_t carry = 0;
    for (auto& limb : value) {
      const std::uint64_t t = limb * i + carry;
      limb = static_cast<limbs::Limb>(t % format.base);
      carry = t / format.base;
    }
    while (carry != 0) {
      value.push_back(static_cast<limbs::Limb>(carry % format.base));
      carry /= format.base;
    }
  }
  return limbs::Text(value, radix);
}

TEST(LimbFactorial, MatchesTheLimbLoop) {
  for (Radix radix : kRadices) {
    for (int n : {0, 1, 2, 3, 12, 13, 25, 100, 1000, 5000, 20000}) {
      SCOPED_TRACE(::testing::Message() << "radix " << radix << ", " << n << "!");
      EXPECT_EQ(limbs::FactorialText(n, radix), FactorialByLoop(n, radix));
    }
  }
  EXPECT_EQ(limbs::FactorialText(25, Radix::kDecimal), "15511210043330985984000000");
}

}  // namespace
}  // namespace calvoro
