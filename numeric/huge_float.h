// HugeFloat: an exact signed positional number of any length in radix 10, 8,
// 16 or 2. Digits are held one per byte, least significant first; the radix
// point is kept as a position (the number of digits below it), which is the
// same information as a point marker byte stored at that index.
//
// Every arithmetic result is brought to normal form (no leading zeros, no
// trailing fraction zeros) and then truncated by the working precision P; no
// operation ever rounds.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "numeric/radix.h"

namespace calvoro {

struct NumberText;

using Digits = std::vector<std::uint8_t>;  // digit values, least significant first

// The byte that stands for the radix point in the marker form of a number.
inline constexpr std::uint8_t kPointMarker = '.';

class HugeFloat {
 public:
  explicit HugeFloat(Radix radix = Radix::kDecimal);
  HugeFloat(Radix radix, int sign, Digits digits, int point);

  // Parses a decimal number text (ReadNumber: blanks around it and a "+"
  // allowed; a text of blanks is 0); any other text is refused with
  // std::invalid_argument. Leading zeros are dropped.
  static HugeFloat FromText(std::string_view text);
  // Parses a number text of the radix as FromText does (letters A-F in
  // either case are 10..15) and records `precision` with the number.
  // Leading zeros are kept as typed.
  static HugeFloat FromRadixText(std::string_view text, Radix radix, int precision);
  static HugeFloat FromInt(std::int64_t value);  // radix 10
  // A number already read (ReadNumber) as FromRadixText reads its text.
  static HugeFloat FromNumber(const NumberText& number, int precision);

  // "-" for sign -1, then the digits most significant first; empty prints "0".
  std::string ToText() const;

  Radix radix() const { return radix_; }
  int sign() const { return sign_; }
  void set_sign(int sign) { sign_ = sign < 0 ? -1 : 1; }
  const Digits& digits() const { return digits_; }
  // Number of digits below the point, or -1 when there is no point.
  int PointPosition() const { return point_; }
  bool HasPoint() const { return point_ >= 0; }
  int FractionDigits() const { return point_ < 0 ? 0 : point_; }
  int IntegerDigits() const { return static_cast<int>(digits_.size()) - FractionDigits(); }
  // The precision recorded by FromRadixText (0 otherwise).
  int precision() const { return precision_; }
  void set_precision(int precision) { precision_ = precision; }

  bool IsZero() const;
  // The digits in marker form: least significant first, kPointMarker at the point.
  Digits Bytes() const;

  // Drops leading zeros of the integer part; keeps one 0 before a point, and
  // one 0 when every digit was zero.
  void DropLeadingZeros();
  // Drops trailing fraction zeros, and the point when no fraction is left.
  void DropFractionZeros();
  // The value its text has once trailing fraction zeros, a bare point and
  // leading integer zeros (down to one digit) are stripped: an empty digit
  // array (an exact cancellation, printed "0") becomes a positive 0.
  void StripZeros();
  // Truncates to P fraction digits when the integer part is non-zero, else to
  // P significant fraction digits. Integers are never cut.
  void ApplyPrecision(int precision);

 private:
  friend bool AddIntegerMagnitudeInPlace(HugeFloat& x, const HugeFloat& y);

  Radix radix_;
  int sign_ = 1;
  Digits digits_;
  int point_ = -1;
  int precision_ = 0;
};

// -1, 0 or 1 as abs(a) is below, equal to or above abs(b).
int CompareMagnitude(const HugeFloat& a, const HugeFloat& b);
inline bool IsZero(const HugeFloat& a) { return a.IsZero(); }
bool LessThan(const HugeFloat& a, const HugeFloat& b);
bool GreaterThan(const HugeFloat& a, const HugeFloat& b);

// Exact magnitude helpers: the sign of the operands is ignored and the result
// is positive.
HugeFloat AddMagnitudes(const HugeFloat& x, const HugeFloat& y);
// Requires abs(x) >= abs(y).
HugeFloat SubtractMagnitudes(const HugeFloat& x, const HugeFloat& y);
// x must be an integer; d a digit value of the radix.
HugeFloat MultiplyByDigit(const HugeFloat& x, int d);

HugeFloat Add(const HugeFloat& a, const HugeFloat& b, int precision);
HugeFloat Subtract(const HugeFloat& a, const HugeFloat& b, int precision);
// The same results, adding into the digits of `a` where the magnitudes of
// two integers add (the running total of a sum, without an allocation).
HugeFloat Add(HugeFloat&& a, const HugeFloat& b, int precision);
HugeFloat Subtract(HugeFloat&& a, const HugeFloat& b, int precision);
HugeFloat Multiply(const HugeFloat& a, const HugeFloat& b, int precision);
// Quotient truncated after `precision` fraction digits. Throws
// std::domain_error for a zero divisor.
HugeFloat Divide(const HugeFloat& a, const HugeFloat& b, int precision);

// Divides the magnitudes: q = trunc(abs(x) / abs(y) * Radix^n) written with n
// fraction digits, r = the remainder of that scaled integer division (an
// integer). Throws std::domain_error for a zero divisor.
void LongDivide(const HugeFloat& x, const HugeFloat& y, HugeFloat& q, HugeFloat& r, int n);

// a - k*abs(b) with k the largest integer for which k*abs(b) <= abs(a); the
// sign of a. Throws std::overflow_error for a negative b.
HugeFloat Remainder(const HugeFloat& a, const HugeFloat& b);

// The radix conversion's division: quotient to a.precision() fraction digits,
// no normalising and no precision cut. Negative b throws std::overflow_error.
HugeFloat IntegerQuotient(const HugeFloat& a, const HugeFloat& b);
void IntegerQuotientInPlace(HugeFloat& a, const HugeFloat& b);

// The integer part as a 32-bit int; outside its range std::domain_error.
int ToInt(const HugeFloat& a);

}  // namespace calvoro
