// Elementary functions, powers and Pi on number texts of radix 10, 8, 16 or
// 2, computed with MPFR. A result is rounded correctly to every digit that
// the precision cut after it keeps plus guard digits, and comes back as a
// text of the same radix.
#pragma once

#include <string>
#include <string_view>

#include "numeric/radix.h"

namespace calvoro {

enum class PreciseFunction {
  kSqrt,
  kExp,
  kLn,
  kLog,  // base 10
  kSin,
  kCos,
  kTan,
  kSec,
  kCot,
  kCsc,
  kSinh,
  kCosh,
  kTanh,
  kArcSin,
  kArcCos,
  kArcTan,
  kArcSec,
  kToDegrees,  // x * 180 / Pi
  kToRadians,  // x * Pi / 180
};

// The magnitude a function result may have: at most this many integer
// digits of its radix, and at most this many zeros between the point and the
// first significant digit. (The work grows with the digits a result needs;
// beyond this it would take minutes.)
inline constexpr long long kMaxFunctionDigits = 1'000'000;

struct PreciseResult {
  enum class Status { kValue, kTooLarge, kTooSmall, kNoValue };
  Status status = Status::kValue;
  // With kValue: the value as a text of the radix (a "-", digits, at most
  // one point), every integer digit and `digits` + guard digits after them
  // (significant digits below 1), rounded to nearest at the last one.
  std::string text;
};

// function(argument) for a number text of `radix` (an optional sign, digits,
// at most one point). `digits` is the precision of the cut that follows, in
// digits of the radix: fraction digits, or significant digits below 1. With
// `degrees` the trigonometric and hyperbolic functions read their argument
// in degrees and the inverse ones give their result in degrees. The caller
// checks the domain; an argument outside it gives kNoValue.
PreciseResult ComputeFunction(PreciseFunction function, std::string_view argument, Radix radix,
                              int digits, bool degrees);

// base ^ exponent for number texts of `radix`, with a base that is not
// negative (a negative base gives kNoValue) and not zero.
PreciseResult ComputePower(std::string_view base, std::string_view exponent, Radix radix,
                           int digits);

// Pi truncated to `digits` fraction digits of `radix` ("3.14159...", in
// binary "11.001..."). The longest text made for each radix is kept.
std::string PiDigits(Radix radix, int digits);

// Frees what MPFR keeps for the calling thread (its constants' caches). A
// thread that computed functions calls it before it ends, or the caches leak.
void ReleaseThreadCaches();

}  // namespace calvoro
