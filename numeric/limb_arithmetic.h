// Natural numbers in limbs of several digits of one radix: the fast kernels
// behind HugeFloat's multiplication and division, and the factorial.
//
// A limb holds `width` digits of the radix, so base = radix^width (10^9 for
// radix 10, 2^28 for 16, 2^30 for 8 and 2): packing and unpacking digits is a
// linear regrouping, with no base conversion between the arithmetic and the
// text. Every base is at most 2^30, so a limb product fits in 60 bits.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "numeric/huge_float.h"

namespace calvoro::limbs {

using Limb = std::uint32_t;
// Least significant limb first, no zero limb at the top; zero is empty.
using Limbs = std::vector<Limb>;

struct LimbFormat {
  Radix radix;
  int width;  // digits per limb
  Limb base;  // radix^width
};
LimbFormat FormatOf(Radix radix);

// Integer digit values (least significant first; leading zeros allowed) to
// limbs.
Limbs Pack(const Digits& digits, Radix radix);
// Digit values without leading zeros; zero is the single digit 0.
Digits Unpack(const Limbs& limbs, Radix radix);
// Digit characters, most significant first; "0" for zero.
std::string Text(const Limbs& limbs, Radix radix);
// The digit characters of `high`, then of `low`, then `zeros` zero digits
// (most significant first, leading zeros allowed, letters in either case)
// as limbs: a number text read without its point, and scaled.
Limbs FromCharacters(std::string_view high, std::string_view low, std::size_t zeros, Radix radix);
// The number of digits (0 for zero), and of zero digits at the low end.
std::size_t DigitCount(const Limbs& limbs, Radix radix);
std::size_t TrailingZeroDigits(const Limbs& limbs, Radix radix);
// Writes the digit characters of the places [from, from + count) (place 0
// the lowest), most significant first; places above the number are "0".
void WriteDigits(const Limbs& limbs, Radix radix, std::size_t from, std::size_t count, char* out);

// a * b: schoolbook for short operands, Karatsuba for mid-size ones and the
// three-prime NTT for long ones.
Limbs Multiply(const Limbs& a, const Limbs& b, Radix radix);
// q = floor(x / y), r = x - q * y: one pass for a one-limb divisor, Knuth's
// algorithm D for short divisors or quotients, and Barrett reduction with a
// Newton reciprocal for long ones. A zero y throws std::domain_error.
void DivMod(const Limbs& x, const Limbs& y, Radix radix, Limbs& q, Limbs& r);

// n! (n >= 0) as digit characters of `radix`, from its prime factorisation.
std::string FactorialText(int n, Radix radix);

// The single algorithms, for the tests that hold them against each other.
namespace detail {
Limbs MultiplySchoolbook(const Limbs& a, const Limbs& b, Radix radix);
Limbs MultiplyKaratsuba(const Limbs& a, const Limbs& b, Radix radix);
Limbs MultiplyNtt(const Limbs& a, const Limbs& b, Radix radix);
// Requires y of at least two limbs.
void DivModKnuth(const Limbs& x, const Limbs& y, Radix radix, Limbs& q, Limbs& r);
// Requires y of at least two limbs and x >= y.
void DivModBarrett(const Limbs& x, const Limbs& y, Radix radix, Limbs& q, Limbs& r);
// floor(base^(2n) / y) for y of n limbs.
Limbs Reciprocal(const Limbs& y, Radix radix);
}  // namespace detail

}  // namespace calvoro::limbs
