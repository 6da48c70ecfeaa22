// The digit-by-digit schoolbook multiplication and division (the oracle).
#include "numeric/reference/schoolbook.h"

#include <algorithm>
#include <stdexcept>

#include "numeric/operation_steps.h"

namespace calvoro::reference {
namespace {

void RefuseZeroDivisor(const HugeFloat& divisor) {
  if (divisor.IsZero()) throw std::domain_error("ERROR: Division by zero!");
}

// -1, 0, 1 comparing integer digit arrays without leading zeros.
int CompareIntegers(const Digits& x, const Digits& y) {
  if (x.size() != y.size()) return x.size() < y.size() ? -1 : 1;
  for (std::size_t i = x.size(); i-- > 0;) {
    if (x[i] != y[i]) return x[i] < y[i] ? -1 : 1;
  }
  return 0;
}

// x -= y for integers with x >= y; leading zeros of x dropped afterwards.
void SubtractInPlace(Digits& x, const Digits& y, int radix) {
  int borrow = 0;
  for (std::size_t i = 0; i < x.size(); ++i) {
    int u = x[i] - (i < y.size() ? y[i] : 0) - borrow;
    borrow = u < 0;
    x[i] = static_cast<std::uint8_t>(u < 0 ? u + radix : u);
    if (i >= y.size() && !borrow) break;
  }
  while (x.size() > 1 && x.back() == 0) x.pop_back();
}

// Appends `count` zero digits below an integer digit array (times radix^count).
Digits Shifted(Digits d, int count) {
  if (count > 0 && !(d.size() == 1 && d[0] == 0)) d.insert(d.begin(), count, 0);
  return d;
}

}  // namespace

// The product of two integer digit arrays, least significant first. Column
// sums are accumulated first and carried once: the same digits as summing
// one shifted partial product per digit, in one pass.
Digits MultiplyIntegers(const Digits& a, const Digits& b, int radix) {
  std::vector<std::uint64_t> columns(a.size() + b.size(), 0);
  for (std::size_t j = 0; j < b.size(); ++j) {
    if (b[j] == 0) continue;
    for (std::size_t i = 0; i < a.size(); ++i) columns[i + j] += std::uint64_t{a[i]} * b[j];
  }
  Digits product(columns.size());
  std::uint64_t carry = 0;
  for (std::size_t k = 0; k < columns.size(); ++k) {
    const std::uint64_t u = columns[k] + carry;
    product[k] = static_cast<std::uint8_t>(u % radix);
    carry = u / radix;
  }
  while (carry) {
    product.push_back(static_cast<std::uint8_t>(carry % radix));
    carry /= radix;
  }
  while (product.size() > 1 && product.back() == 0) product.pop_back();
  return product;
}

// Schoolbook division of integer digit arrays: each quotient digit is found
// by subtracting the divisor at most radix - 1 times from the running
// remainder, so the cost grows with the product of the lengths.
void DivideIntegers(const Digits& x, const Digits& y, int radix, Digits& quotient,
                    Digits& remainder) {
  quotient.assign(x.size(), 0);
  remainder.assign(1, 0);
  for (std::size_t i = x.size(); i-- > 0;) {
    // remainder = remainder * radix + x[i]
    if (remainder.size() == 1 && remainder[0] == 0) {
      remainder[0] = x[i];
    } else {
      remainder.insert(remainder.begin(), x[i]);
    }
    int digit = 0;
    while (CompareIntegers(remainder, y) >= 0) {
      SubtractInPlace(remainder, y, radix);
      ++digit;
    }
    quotient[i] = static_cast<std::uint8_t>(digit);
  }
  while (quotient.size() > 1 && quotient.back() == 0) quotient.pop_back();
}

HugeFloat Multiply(const HugeFloat& a, const HugeFloat& b, int precision) {
  detail::CheckSameRadix(a, b);
  const int sign = a.sign() * b.sign();  // a zero product of unlike signs prints "-0"
  if (a.IsZero() || b.IsZero())
    return detail::Finish(HugeFloat(a.radix(), sign, Digits{0}, -1), precision);

  Digits product =
      MultiplyIntegers(detail::IntegerDigitsOf(a), detail::IntegerDigitsOf(b), a.radix());
  const int fraction = a.FractionDigits() + b.FractionDigits();
  if (fraction >= static_cast<int>(product.size())) product.resize(fraction + 1, 0);  // "0." above
  HugeFloat result(a.radix(), sign, std::move(product), fraction > 0 ? fraction : -1);
  result.DropFractionZeros();
  result.DropLeadingZeros();
  return detail::Finish(std::move(result), precision);
}

void LongDivide(const HugeFloat& x, const HugeFloat& y, HugeFloat& q, HugeFloat& r, int n) {
  detail::CheckSameRadix(x, y);
  RefuseZeroDivisor(y);
  const int radix = x.radix();
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
  reference::LongDivide(a, b, q, r, precision);
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
  reference::LongDivide(a, b, q, r, 0);
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
    reference::LongDivide(a, b, q, r, a.precision());
    q.set_sign(a.sign() * b.sign());
  }
  q.set_precision(a.precision());
  return q;
}

}  // namespace calvoro::reference
