// Exact conversion between decimal and binary texts of HugeFloat numbers.
#pragma once

#include <string>
#include <string_view>

#include "numeric/huge_float.h"

namespace calvoro {

// The binary text of abs(x) (x in radix 10) with at most `fraction_bits`
// fraction bits, truncated, never rounded. The result is "integer bits" "."
// "fraction bits"; an integer yields a text ending in ".".
std::string DecimalToBinary(const HugeFloat& x, int fraction_bits);

// The same for target radix 8 or 16 (and 2), built on IntegerQuotient and
// Remainder by the radix; digits printed "0".."9", "A".."F".
std::string DecimalToRadix(const HugeFloat& x, Radix radix, int fraction_digits);

// The exact decimal value of a binary text ("0"/"1" digits, optional "."; no
// sign). At most 100 integer bits (the right-most) and 100 fraction bits (the
// left-most) are converted; when bits were dropped the result is prefixed
// with "sorry".
std::string BinaryToDecimal(std::string_view binary);

inline constexpr int kConversionBitLimit = 100;
inline constexpr std::string_view kBitsDroppedPrefix = "sorry";

// The exact decimal text of 2^exponent, 0 <= exponent <= kConversionBitLimit.
std::string PowerOfTwoText(int exponent);

}  // namespace calvoro
