// The one reader of number texts: expressions' operands, function
// arguments, the parameters and Pi, the converter, the complex and matrix
// fields and the robot all read their numbers through ReadNumber. It takes a
// whole text or nothing: "12a34", a digit beyond the radix, a second point
// or a lone sign are refused, never read in part. Also the printing of the
// complex and matrix calculators' doubles.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "numeric/radix.h"

namespace calvoro {

// What a text may hold around the digits besides a leading "-".
struct NumberSyntax {
  bool plus = false;      // a leading "+"
  bool brackets = false;  // one pair of brackets around the whole text: "(-5)"
  bool blanks = false;    // blanks and tabs before and after the number
  bool exponent = false;  // radix 10: "e" or "E", a sign and digits after the digits
};

// One number read from a text: the sign, the digits of its radix before and
// after the point (hexadecimal letters in either case; either run may be
// empty, not both) and the decimal exponent.
struct NumberText {
  std::string_view text;  // the number as typed, without brackets and blanks
  bool negative = false;
  std::string_view integer;
  std::string_view fraction;
  std::string_view exponent;  // "+5", "-3" or "12"; empty without one
  Radix radix = Radix::kDecimal;

  bool IsZero() const;
  // The magnitude lies in [radix^(Top() - 1), radix^Top()) and is a
  // multiple of radix^Bottom(); both 0 for zero. The exponent is not
  // counted.
  std::int64_t Top() const;
  std::int64_t Bottom() const;
  // The nearest double, in the "C" rules whatever the locale; beyond the
  // range an infinity, or zero for a tiny value.
  double ToDouble() const;
};

// `text` read whole as one number of `radix` under `syntax`;
// nothing when it is anything else.
std::optional<NumberText> ReadNumber(std::string_view text, Radix radix, NumberSyntax syntax = {});
// Whether ReadNumber would read `text` (without building the NumberText).
bool IsNumber(std::string_view text, Radix radix, NumberSyntax syntax = {});

// A decimal number as the complex and matrix calculators' fields and the
// function arguments hold it: blanks around it, a sign ("+" too) and an
// exponent allowed.
std::optional<double> ReadDecimalDouble(std::string_view text);

// A finite double printed as "%.<fraction_digits>f" in the "C" locale, then
// trailing fraction zeros and a bare point removed; zero prints "0"
// whatever its sign; a value that is not finite prints "0".
std::string DoubleToText(double value, int fraction_digits = 17);
// "%f": six fraction digits, zeros kept (5.000000); infinities and
// not-a-numbers as the C library prints them ("inf", "-nan").
std::string FixedText(double value);
// "%f" with trailing fraction zeros and a bare point removed (2.5, 3); a
// value that prints as "-0" shows "0".
std::string ShortFixedText(double value);

}  // namespace calvoro
