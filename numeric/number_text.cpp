// The number reader and the printing of doubles.
#include "numeric/number_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "numeric/digit_text.h"

namespace calvoro {
namespace {

std::size_t FirstNonZero(std::string_view digits) {
  return std::min(digits.find_first_not_of('0'), digits.size());
}

// The end of the run of digits of `radix` that starts at `pos`.
std::size_t EndOfDigits(std::string_view text, std::size_t pos, Radix radix) {
  if (radix == 10) return EndOfDecimalDigits(text, pos);
  while (pos < text.size()) {
    const int value = DigitValue(text[pos]);
    if (value < 0 || value >= radix) break;
    ++pos;
  }
  return pos;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

// ReadNumber's work; `number` may be null when only the answer counts.
bool ScanNumber(std::string_view text, Radix radix, NumberSyntax syntax, NumberText* number) {
  if (syntax.blanks) text = Trimmed(text);
  if (syntax.brackets && text.size() >= 2 && text.front() == '(' && text.back() == ')') {
    text = text.substr(1, text.size() - 2);
    if (syntax.blanks) text = Trimmed(text);
  }
  const std::string_view typed = text;
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || (syntax.plus && text.front() == '+'))) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const std::size_t point = EndOfDigits(text, 0, radix);
  std::size_t end = point;
  if (end < text.size() && text[end] == '.') end = EndOfDigits(text, point + 1, radix);
  const std::size_t fraction_size = end > point ? end - point - 1 : 0;
  if (point == 0 && fraction_size == 0) return false;
  std::string_view exponent;
  if (end < text.size() && syntax.exponent && radix == 10 && (text[end] | 0x20) == 'e') {
    exponent = text.substr(end + 1);
    const std::size_t sign = !exponent.empty() && (exponent[0] == '+' || exponent[0] == '-');
    if (sign == exponent.size() || EndOfDecimalDigits(exponent, sign) != exponent.size())
      return false;
    end = text.size();
  }
  if (end != text.size()) return false;
  if (number != nullptr) {
    number->text = typed;
    number->negative = negative;
    number->integer = text.substr(0, point);
    number->fraction = text.substr(std::min(point + 1, text.size()), fraction_size);
    number->exponent = exponent;
    number->radix = radix;
  }
  return true;
}

}  // namespace

std::optional<NumberText> ReadNumber(std::string_view text, Radix radix, NumberSyntax syntax) {
  NumberText number;
  if (!ScanNumber(text, radix, syntax, &number)) return std::nullopt;
  return number;
}

bool IsNumber(std::string_view text, Radix radix, NumberSyntax syntax) {
  return ScanNumber(text, radix, syntax, nullptr);
}

bool NumberText::IsZero() const {
  return FirstNonZero(integer) == integer.size() && FirstNonZero(fraction) == fraction.size();
}

std::int64_t NumberText::Top() const {
  const std::size_t lead = FirstNonZero(integer);
  if (lead < integer.size()) return static_cast<std::int64_t>(integer.size() - lead);
  const std::size_t first = FirstNonZero(fraction);
  if (first == fraction.size()) return 0;
  return -static_cast<std::int64_t>(first);
}

std::int64_t NumberText::Bottom() const {
  const std::size_t last_fraction = fraction.find_last_not_of('0');
  if (last_fraction != std::string_view::npos) return -static_cast<std::int64_t>(last_fraction + 1);
  const std::size_t last = integer.find_last_not_of('0');
  if (last == std::string_view::npos) return 0;
  return static_cast<std::int64_t>(integer.size() - 1 - last);
}

double NumberText::ToDouble() const {
  // Binary and octal digits are regrouped as hexadecimal ones; from_chars
  // then rounds to nearest in radix 10 or 16.
  std::string integer_digits(integer), fraction_digits(fraction);
  if (radix == 2 || radix == 8) {
    const int bits = radix == 2 ? 1 : 3;
    const auto bit_text = [bits](std::string_view digits) {
      std::string out;
      for (const char c : digits)
        for (int k = bits - 1; k >= 0; --k) out += static_cast<char>('0' + ((c - '0') >> k & 1));
      return out;
    };
    const auto hex_text = [](const std::string& bit_digits) {
      std::string out;
      for (std::size_t k = 0; k < bit_digits.size(); k += 4)
        out += DigitChar(std::stoi(bit_digits.substr(k, 4), nullptr, 2));
      return out;
    };
    std::string high = bit_text(integer), low = bit_text(fraction);
    high.insert(0, (4 - high.size() % 4) % 4, '0');
    low.append((4 - low.size() % 4) % 4, '0');
    integer_digits = hex_text(high);
    fraction_digits = hex_text(low);
  }
  std::string plain;
  plain.reserve(integer_digits.size() + fraction_digits.size() + exponent.size() + 4);
  if (negative) plain += '-';
  plain.append(integer_digits.empty() ? "0" : integer_digits);
  if (!fraction_digits.empty()) plain.append(".").append(fraction_digits);
  if (!exponent.empty()) plain.append("e").append(exponent);
  double value = 0;
  const auto format = radix == 10 ? std::chars_format::general : std::chars_format::hex;
  const auto [end, error] =
      std::from_chars(plain.data(), plain.data() + plain.size(), value, format);
  if (error == std::errc::result_out_of_range) {
    // Beyond the range: an infinity for a large value, else zero. A long
    // exponent decides by its sign alone.
    std::int64_t scale = Top();
    if (!exponent.empty()) {
      const bool down = exponent.front() == '-';
      const std::string_view digits = exponent.substr(down || exponent.front() == '+' ? 1 : 0);
      const std::string_view significant = digits.substr(FirstNonZero(digits));
      const std::int64_t size = significant.size() > 15
                                    ? std::int64_t{1} << 50
                                    : std::stoll("0" + std::string(significant));
      scale += down ? -size : size;
    }
    value = scale > 0 ? HUGE_VAL : 0.0;
    if (negative) value = -value;
  }
  return value;
}

std::optional<double> ReadDecimalDouble(std::string_view text) {
  const auto number =
      ReadNumber(text, Radix::kDecimal, {.plus = true, .blanks = true, .exponent = true});
  if (!number) return std::nullopt;
  return number->ToDouble();
}

std::string DoubleToText(double value, int fraction_digits) {
  if (!std::isfinite(value)) return "0";
  // printf's "%.<n>f", locale independent; the largest double has 309
  // integer digits.
  std::array<char, 400> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, fraction_digits);
  std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
  if (text.find('.') != std::string_view::npos) {
    text.remove_suffix(text.size() - 1 - text.find_last_not_of('0'));
    if (text.back() == '.') text.remove_suffix(1);
  }
  return text == "-0" ? std::string("0") : std::string(text);
}

std::string FixedText(double value) {
  std::array<char, 400> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, 6);
  return std::string(buffer.data(), result.ptr);
}

std::string ShortFixedText(double value) {
  return std::isfinite(value) ? DoubleToText(value, 6) : FixedText(value);
}

}  // namespace calvoro
