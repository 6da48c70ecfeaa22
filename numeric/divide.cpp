// Truncating division, remainder and the radix conversion's quotient.
#include <algorithm>
#include <stdexcept>

#include "numeric/huge_float.h"
#include "numeric/limb_arithmetic.h"
#include "numeric/operation_steps.h"

namespace calvoro {
namespace {

void RefuseZeroDivisor(const HugeFloat& divisor) {
  if (divisor.IsZero()) throw std::domain_error("ERROR: Division by zero!");
}

// Integer division of digit arrays through the limb kernels; both results
// without leading zeros (zero is the single digit 0).
void DivideIntegers(const Digits& x, const Digits& y, Radix radix, Digits& quotient,
                    Digits& remainder) {
  limbs::Limbs q, r;
  limbs::DivMod(limbs::Pack(x, radix), limbs::Pack(y, radix), radix, q, r);
  quotient = limbs::Unpack(q, radix);
  remainder = limbs::Unpack(r, radix);
}

// Appends `count` zero digits below an integer digit array (times radix^count).
Digits Shifted(Digits d, int count) {
  if (count > 0 && !(d.size() == 1 && d[0] == 0)) d.insert(d.begin(), count, 0);
  return d;
}

}  // namespace

void LongDivide(const HugeFloat& x, const HugeFloat& y, HugeFloat& q, HugeFloat& r, int n) {
  detail::CheckSameRadix(x, y);
  RefuseZeroDivisor(y);
  const Radix radix = x.radix();
  if (n < 0) n = 0;
  const int fx = x.FractionDigits();
  const int fy = y.FractionDigits();
  // Scale both to integers so that X / Y = x / y * radix^n.
  const Digits big_x = Shifted(detail::IntegerDigitsOf(x), fy < fx ? n : n + fy - fx);
  const Digits big_y = Shifted(detail::IntegerDigitsOf(y), fy < fx ? fx - fy : 0);

  Digits quotient, remainder;
  DivideIntegers(big_x, big_y, radix, quotient, remainder);
  if (n > 0 && static_cast<int>(quotient.size()) <= n) quotient.resize(n + 1, 0);  // 0.00ddd
  q = HugeFloat(radix, 1, std::move(quotient), n > 0 ? n : -1);
  q.DropLeadingZeros();
  r = HugeFloat(radix, 1, std::move(remainder), -1);
}

HugeFloat Divide(const HugeFloat& a, const HugeFloat& b, int precision) {
  detail::CheckSameRadix(a, b);
  RefuseZeroDivisor(b);
  if (a.IsZero()) return HugeFloat(a.radix(), 1, Digits{0}, -1);
  HugeFloat q(a.radix()), r(a.radix());
  LongDivide(a, b, q, r, precision);
  q.set_sign(a.sign() * b.sign());
  return detail::Finish(std::move(q), precision);
}

HugeFloat Remainder(const HugeFloat& a, const HugeFloat& b) {
  detail::CheckSameRadix(a, b);
  if (b.sign() < 0 && !b.IsZero()) throw std::overflow_error("ERROR: Overflow in operator%!");
  RefuseZeroDivisor(b);
  if (a.IsZero()) return HugeFloat(a.radix(), 1, Digits{0}, -1);
  // With n = 0 both operands are scaled by radix^max(fa, fb), so the integer
  // remainder of the scaled division is abs(a) - k*abs(b) at that scale, with
  // k = floor(abs(a) / abs(b)) found digit by digit.
  HugeFloat q(a.radix()), r(a.radix());
  LongDivide(a, b, q, r, 0);
  const int scale = std::max(a.FractionDigits(), b.FractionDigits());
  Digits digits = r.digits();
  if (scale > 0 && static_cast<int>(digits.size()) <= scale) digits.resize(scale + 1, 0);
  HugeFloat result(a.radix(), 1, std::move(digits), scale > 0 ? scale : -1);
  result.DropFractionZeros();
  result.DropLeadingZeros();
  // The remainder takes the sign of a; a zero remainder stays a plain "0".
  if (!result.IsZero()) result.set_sign(a.sign());
  return result;
}

HugeFloat IntegerQuotient(const HugeFloat& a, const HugeFloat& b) {
  detail::CheckSameRadix(a, b);
  if (b.sign() < 0 && !b.IsZero()) throw std::overflow_error("ERROR: Overflow in operator/!");
  RefuseZeroDivisor(b);
  HugeFloat q(a.radix()), r(a.radix());
  if (!a.IsZero()) {
    LongDivide(a, b, q, r, a.precision());
    q.set_sign(a.sign() * b.sign());
  }
  q.set_precision(a.precision());
  return q;
}

void IntegerQuotientInPlace(HugeFloat& a, const HugeFloat& b) {
  if (b.sign() < 0 && !b.IsZero()) throw std::overflow_error("ERROR: Overflow in operator /=!");
  a = IntegerQuotient(a, b);
}

}  // namespace calvoro
