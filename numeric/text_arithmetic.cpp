// Multiplication and division of number texts on limbs.
#include "numeric/text_arithmetic.h"

#include <algorithm>

#include "numeric/digit_text.h"
#include "numeric/limb_arithmetic.h"

namespace calvoro {
namespace {

// The text of sign * magnitude / radix^fraction (magnitude not zero) in
// normal form, cut by the precision: the steps Multiply and Divide end with.
// `text` may come with its memory reserved.
std::string NumberOf(bool negative, const limbs::Limbs& magnitude, std::size_t fraction,
                     Radix radix, int precision, std::string text = {}) {
  const std::size_t digits = limbs::DigitCount(magnitude, radix);
  // Fraction digits without the trailing zeros.
  std::size_t kept = fraction - std::min(limbs::TrailingZeroDigits(magnitude, radix), fraction);
  if (kept > 0) {
    const auto p = static_cast<std::size_t>(std::max(precision, 0));
    // Below one the precision counts significant digits.
    const std::size_t limit = fraction < digits ? p : fraction - digits + p;
    kept = std::min(kept, limit);
  }
  // The digits shown are the top `shown` ones of the magnitude; below one
  // they follow "0." and the zeros before the first of them.
  const std::size_t integer = digits > fraction ? digits - fraction : 0;
  const std::size_t leading = digits > fraction ? 0 : fraction - digits;
  const std::size_t shown = integer + (kept > leading ? kept - leading : 0);
  text.clear();
  text.reserve((negative ? 1 : 0) + (integer == 0 ? 1 : integer) + (kept > 0 ? kept + 1 : 0));
  if (negative) text += '-';
  if (integer == 0) text += '0';
  text.resize(text.size() + integer);
  limbs::WriteDigits(magnitude, radix, digits - integer, integer, text.data() + text.size() - integer);
  if (kept > 0) {
    text += '.';
    const std::size_t zeros = std::min(leading, kept);
    text.append(zeros, '0');
    const std::size_t rest = shown - integer;
    text.resize(text.size() + rest);
    limbs::WriteDigits(magnitude, radix, digits - shown, rest, text.data() + text.size() - rest);
  }
  return text;
}

}  // namespace

std::string MultiplyNumberTexts(const NumberText& a, const NumberText& b, Radix radix,
                                int precision) {
  const bool negative = a.negative != b.negative;  // a zero product of unlike signs prints "-0"
  if (a.IsZero() || b.IsZero()) return negative ? "-0" : "0";
  const std::size_t fraction = a.fraction.size() + b.fraction.size();
  std::string text;
  if (fraction <= static_cast<std::size_t>(std::max(precision, 0))) {
    // No digit is cut: the text's memory is taken before the product's
    // working memory, which is then freed in one piece for what follows.
    text.reserve(3 + a.integer.size() + a.fraction.size() + b.integer.size() + b.fraction.size());
  }
  const limbs::Limbs product =
      limbs::Multiply(limbs::FromCharacters(a.integer, a.fraction, 0, radix),
                      limbs::FromCharacters(b.integer, b.fraction, 0, radix), radix);
  return NumberOf(negative, product, fraction, radix, precision, std::move(text));
}

std::string DivideNumberTexts(const NumberText& a, const NumberText& b, Radix radix,
                              int precision) {
  if (a.IsZero()) return "0";
  // Both scaled to integers so that X / Y = a / b * radix^n.
  const std::size_t n = static_cast<std::size_t>(std::max(precision, 0));
  const std::size_t fa = a.fraction.size();
  const std::size_t fb = b.fraction.size();
  // The text's memory first (see MultiplyNumberTexts).
  std::string text;
  text.reserve(3 + n + static_cast<std::size_t>(std::max<std::int64_t>(a.Top() - b.Top() + 1, 1)));
  limbs::Limbs q, r;
  limbs::DivMod(limbs::FromCharacters(a.integer, a.fraction, fb < fa ? n : n + fb - fa, radix),
                limbs::FromCharacters(b.integer, b.fraction, fb < fa ? fa - fb : 0, radix), radix,
                q, r);
  const bool negative = a.negative != b.negative;  // a quotient cut to zero keeps its sign
  if (q.empty()) return negative ? "-0" : "0";
  return NumberOf(negative, q, n, radix, precision, std::move(text));
}

}  // namespace calvoro
