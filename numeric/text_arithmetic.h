// Multiplication and division of number texts straight through the limb
// kernels, without the digit-per-byte form of HugeFloat: the operator
// application's road for long operands. The results are the texts that
// Multiply and Divide on HugeFloat::FromRadixText operands print.
#pragma once

#include <string>

#include "numeric/number_text.h"

namespace calvoro {

// a * b, and a / b truncated to `precision` fraction digits (b not zero),
// each brought to normal form and cut by `precision`.
std::string MultiplyNumberTexts(const NumberText& a, const NumberText& b, Radix radix,
                                int precision);
std::string DivideNumberTexts(const NumberText& a, const NumberText& b, Radix radix, int precision);

}  // namespace calvoro
