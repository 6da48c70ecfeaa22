// Multiplication and division of number texts straight through the limb
// kernels, without the digit-per-byte form of HugeFloat: the operator
// application's road for long operands. The results are the texts that
// Multiply and Divide on HugeFloat::FromRadixText operands print.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace calvoro {

// A plain number text of a radix, split: an optional "-", the digits
// before and after the point (hexadecimal letters in either case).
struct NumberText {
  bool negative = false;
  std::string_view integer;
  std::string_view fraction;

  bool IsZero() const;
  // The magnitude lies in [radix^(Top() - 1), radix^Top()) and is a
  // multiple of radix^Bottom(); both 0 for zero.
  std::int64_t Top() const;
  std::int64_t Bottom() const;
};

// "-"? digits ("." digits)? with digits of `radix` and at least one digit;
// nothing for any other text.
std::optional<NumberText> SplitNumberText(std::string_view text, int radix);

// a * b, and a / b truncated to `precision` fraction digits (b not zero),
// each brought to normal form and cut by `precision`.
std::string MultiplyNumberTexts(const NumberText& a, const NumberText& b, int radix,
                                int precision);
std::string DivideNumberTexts(const NumberText& a, const NumberText& b, int radix, int precision);

}  // namespace calvoro
