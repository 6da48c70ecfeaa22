// Oracles for HugeFloat: a deliberately simple exact arithmetic (below), and
// on it the multiplication and divisions with HugeFloat's contracts (at the
// end of this file).
//
// A value is held as an exact scaled integer: sign, a natural number in
// base-2^32 limbs and the count of radix fraction digits, so the value is
// (-1)^negative * magnitude / radix^fraction_digits. It shares no code or
// representation with numeric/ and computes the expected result text of the
// four operators (normal form, precision cut, signed zeros) from the values.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "numeric/huge_float.h"

namespace calvoro::testing {

// A natural number, base-2^32 limbs, least significant first, no zero limb at
// the top (zero is the empty vector).
class Natural {
 public:
  Natural() = default;
  explicit Natural(std::uint64_t value);

  bool IsZero() const { return limbs_.empty(); }
  std::size_t BitLength() const;
  bool Bit(std::size_t index) const;

  // this = this * factor + addend
  void MultiplyAdd(std::uint32_t factor, std::uint32_t addend);
  // this = this / divisor; returns the remainder. divisor must not be zero.
  std::uint32_t DivideSmall(std::uint32_t divisor);

  static int Compare(const Natural& a, const Natural& b);
  static Natural Sum(const Natural& a, const Natural& b);
  static Natural Difference(const Natural& a, const Natural& b);  // requires a >= b
  static Natural Product(const Natural& a, const Natural& b);
  // Quotient and remainder of a / b by shift and subtract; b must not be zero.
  static void DivMod(const Natural& a, const Natural& b, Natural& quotient, Natural& remainder);
  static Natural Power(std::uint32_t base, int exponent);

  // Digits in `radix`, most significant first, without leading zeros ("" for 0).
  std::string DigitText(int radix) const;

 private:
  void Trim();
  std::vector<std::uint32_t> limbs_;
};

// An exact value of one radix.
struct ReferenceNumber {
  int radix = 10;
  bool negative = false;  // kept for zeros too: "-0" is a negative zero
  Natural magnitude;
  int fraction_digits = 0;

  // Accepts an optional "-", digits of the radix (letters in either case) and
  // at most one point. Throws std::invalid_argument on anything else.
  static ReferenceNumber Parse(std::string_view text, int radix);

  // this scaled so that it has `digits` fraction digits (digits >= fraction_digits).
  Natural ScaledTo(int digits) const;
};

// The working precision handed to the operations for a radix: 10 and 16 keep
// P, 8 gets 4P/3 (truncated), 2 gets 4P.
int ReferenceScaledPrecision(int radix, int precision);

// Expected result texts of the HugeFloat operations on operand texts of
// `radix`, with `precision` the (already scaled) precision of the operation.
std::string ReferenceAdd(std::string_view a, std::string_view b, int radix, int precision);
std::string ReferenceSubtract(std::string_view a, std::string_view b, int radix, int precision);
std::string ReferenceMultiply(std::string_view a, std::string_view b, int radix, int precision);
// The divisor must not be zero.
std::string ReferenceDivide(std::string_view a, std::string_view b, int radix, int precision);
// One of the four above by operator character '+', '-', '*', '/'.
std::string ReferenceOperate(char op, std::string_view a, std::string_view b, int radix,
                             int precision);

}  // namespace calvoro::testing

// Multiplication and divisions with the contracts of huge_float.h, computed
// by the simple exact arithmetic above (schoolbook products, division by
// shift and subtract): no code shared with numeric/, so that a fault there
// is not repeated here. The oracle of the fast paths.
namespace calvoro::testing::schoolbook {

// The same contracts as the functions of the same names in huge_float.h.
HugeFloat Multiply(const HugeFloat& a, const HugeFloat& b, int precision);
HugeFloat Divide(const HugeFloat& a, const HugeFloat& b, int precision);
void LongDivide(const HugeFloat& x, const HugeFloat& y, HugeFloat& q, HugeFloat& r, int n);
HugeFloat Remainder(const HugeFloat& a, const HugeFloat& b);
HugeFloat IntegerQuotient(const HugeFloat& a, const HugeFloat& b);

// Integer digit arrays (least significant first, no leading zeros).
Digits MultiplyIntegers(const Digits& a, const Digits& b, int radix);
void DivideIntegers(const Digits& x, const Digits& y, int radix, Digits& quotient,
                    Digits& remainder);

}  // namespace calvoro::testing::schoolbook
