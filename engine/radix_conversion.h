// Exact conversion of numbers of any length among binary, octal, decimal and
// hexadecimal, without the 100-bit limits of the base switch's conversion.
#pragma once

#include <string>
#include <string_view>

#include "engine/number_base.h"

namespace calvoro {

// Converts `number`, written in Mix notation (one optional pair of brackets
// around it, an optional sign, then the head of its base: "0b", "0", "0h" or
// none for decimal), into base `to` (not Mix); the result has the "-"
// but no head. The integer part is converted exactly whatever its length. A
// fraction between binary, octal and hexadecimal is exact too; one from or to
// decimal is cut, never rounded, as ConvertNumber cuts it: `precision`
// decimal or hexadecimal digits, four times as many bits, (4 x precision) / 3
// octal digits. Long numbers are split in halves joined by products, so the
// time grows like a product's.
std::string ConvertNumberExactly(std::string_view number, NumberBase to, int precision);

}  // namespace calvoro
