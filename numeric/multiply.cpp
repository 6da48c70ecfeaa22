// Exact multiplication of HugeFloat numbers on limbs (schoolbook for short
// operands, NTT for long ones); the digits are those of the schoolbook
// product.
#include "numeric/huge_float.h"
#include "numeric/limb_arithmetic.h"
#include "numeric/operation_steps.h"

namespace calvoro {
namespace {

// The product of two integer digit arrays (least significant first; the
// point already removed), through the limb kernels.
Digits MultiplyIntegers(const Digits& a, const Digits& b, Radix radix) {
  return limbs::Unpack(limbs::Multiply(limbs::Pack(a, radix), limbs::Pack(b, radix), radix), radix);
}

}  // namespace

HugeFloat MultiplyByDigit(const HugeFloat& x, int d) {
  const Digits product =
      MultiplyIntegers(detail::IntegerDigitsOf(x), Digits{static_cast<std::uint8_t>(d)}, x.radix());
  return HugeFloat(x.radix(), 1, product, -1);
}

HugeFloat Multiply(const HugeFloat& a, const HugeFloat& b, int precision) {
  detail::CheckSameRadix(a, b);
  const int sign = a.sign() * b.sign();  // a zero product of unlike signs prints "-0"
  if (a.IsZero() || b.IsZero())
    return detail::Finish(HugeFloat(a.radix(), sign, Digits{0}, -1), precision);

  // The digits with the point removed are the integers A and B; leading
  // zeros vanish in the packing.
  Digits product = MultiplyIntegers(a.digits(), b.digits(), a.radix());
  const int fraction = a.FractionDigits() + b.FractionDigits();
  if (fraction >= static_cast<int>(product.size())) product.resize(fraction + 1, 0);  // "0." above
  HugeFloat result(a.radix(), sign, std::move(product), fraction > 0 ? fraction : -1);
  result.DropFractionZeros();
  result.DropLeadingZeros();
  return detail::Finish(std::move(result), precision);
}

}  // namespace calvoro
