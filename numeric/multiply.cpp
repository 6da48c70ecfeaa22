// Exact multiplication of HugeFloat numbers (schoolbook).
#include "numeric/huge_float.h"
#include "numeric/operation_steps.h"

namespace calvoro {
namespace {

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

  Digits product =
      MultiplyIntegers(detail::IntegerDigitsOf(a), detail::IntegerDigitsOf(b), a.radix());
  const int fraction = a.FractionDigits() + b.FractionDigits();
  if (fraction >= static_cast<int>(product.size())) product.resize(fraction + 1, 0);  // "0." above
  HugeFloat result(a.radix(), sign, std::move(product), fraction > 0 ? fraction : -1);
  result.DropFractionZeros();
  result.DropLeadingZeros();
  return detail::Finish(std::move(result), precision);
}

}  // namespace calvoro
