// Exact conversion among the bases 2, 8, 10 and 16: binary, octal and
// hexadecimal are regrouped bits; decimal and hexadecimal integers are
// converted by halves joined with products; fractions are scaled into
// integers and converted the same way.
#include "engine/radix_conversion.h"

#include <algorithm>
#include <cstdint>
#include <vector>

#include "engine/number_base.h"
#include "numeric/digit_text.h"
#include "numeric/huge_float.h"
#include "numeric/precision.h"
#include "numeric/stop.h"

namespace calvoro {
namespace {

HugeFloat FromUnsigned(std::uint64_t value, Radix radix) {
  Digits digits;
  do {
    digits.push_back(static_cast<std::uint8_t>(value % static_cast<std::uint64_t>(radix)));
    value /= static_cast<std::uint64_t>(radix);
  } while (value != 0);
  return HugeFloat(radix, 1, std::move(digits), -1);
}

// base ^ exponent, written in `radix`.
HugeFloat IntegerPower(std::uint64_t base, std::uint64_t exponent, Radix radix) {
  HugeFloat result = FromUnsigned(1, radix);
  HugeFloat square = FromUnsigned(base, radix);
  for (; exponent > 0; exponent >>= 1) {
    if ((exponent & 1) != 0) result = Multiply(result, square, 0);
    if (exponent > 1) square = Multiply(square, square, 0);
  }
  return result;
}

// Integers written in radix 10 or 16 converted into the other: up to a
// 64-bit word of digits directly, longer ones as high * from^k + low, where
// k is the largest word multiple times a power of two below the length, so
// that the powers from^k are few and each is the square of the one before.
class IntegerConverter {
 public:
  IntegerConverter(Radix from, Radix to) : from_(from), to_(to), chunk_(from == 10 ? 18 : 15) {}

  // Digits most significant first (leading zeros allowed); the result's
  // digits, "0" for zero.
  std::string Convert(std::string_view digits) {
    const auto first = digits.find_first_not_of('0');
    if (first == std::string_view::npos) return "0";
    HugeFloat value = Value(digits.substr(first));
    value.DropLeadingZeros();
    return value.ToText();
  }

 private:
  // from ^ (chunk << level), written in radix `to`.
  const HugeFloat& Power(std::size_t level) {
    while (powers_.size() <= level) {
      powers_.push_back(powers_.empty()
                            ? IntegerPower(static_cast<std::uint64_t>(from_), chunk_, to_)
                            : Multiply(powers_.back(), powers_.back(), 0));
    }
    return powers_[level];
  }

  HugeFloat Value(std::string_view digits) {
    if (digits.size() <= chunk_) {
      std::uint64_t value = 0;
      for (const char c : digits)
        value =
            value * static_cast<std::uint64_t>(from_) + static_cast<std::uint64_t>(DigitValue(c));
      return FromUnsigned(value, to_);
    }
    ThrowIfStopped();
    std::size_t level = 0;
    while ((chunk_ << (level + 1)) < digits.size()) ++level;
    const std::size_t low = chunk_ << level;
    const HugeFloat high = Multiply(Value(digits.substr(0, digits.size() - low)), Power(level), 0);
    return AddMagnitudes(high, Value(digits.substr(digits.size() - low)));
  }

  Radix from_;
  Radix to_;
  std::size_t chunk_;
  std::vector<HugeFloat> powers_;
};

// The first `count` digits of radix `to` of the fraction 0.digits written in
// radix `from` (10 or 16): floor(fraction * to^count), an integer computed in
// radix `from` by dropping the fraction's own digits from digits * to^count.
std::string ConvertFraction(std::string_view digits, Radix from, Radix to, int count) {
  if (count <= 0 || digits.find_first_not_of('0') == std::string_view::npos) return "";
  HugeFloat fraction = HugeFloat::FromRadixText(digits, from, 0);
  fraction.DropLeadingZeros();
  const std::string scaled =
      Multiply(
          fraction,
          IntegerPower(static_cast<std::uint64_t>(to), static_cast<std::uint64_t>(count), from), 0)
          .ToText();
  const std::string_view integer = std::string_view(scaled).substr(
      0, scaled.size() > digits.size() ? scaled.size() - digits.size() : 0);
  std::string converted = IntegerConverter(from, to).Convert(integer);
  converted.insert(
      0,
      static_cast<std::size_t>(count) - std::min(converted.size(), static_cast<std::size_t>(count)),
      '0');
  return converted;
}

int BitsPerDigit(Radix radix) { return radix == 16 ? 4 : radix == 8 ? 3 : 1; }

// The bits of binary, octal or hexadecimal digits.
std::string Bits(std::string_view digits, Radix radix) {
  const int width = BitsPerDigit(radix);
  std::string bits;
  bits.reserve(digits.size() * static_cast<std::size_t>(width));
  for (const char c : digits) {
    const int value = DigitValue(c);
    for (int bit = width - 1; bit >= 0; --bit)
      bits.push_back(((value >> bit) & 1) != 0 ? '1' : '0');
  }
  return bits;
}

// Bits grouped into digits of `radix` from the point outwards: an integer
// part is padded with zeros on the left, a fraction on the right.
std::string Group(std::string bits, Radix radix, bool fraction) {
  const std::size_t width = static_cast<std::size_t>(BitsPerDigit(radix));
  const std::size_t pad = (width - bits.size() % width) % width;
  if (fraction) {
    bits.append(pad, '0');
  } else {
    bits.insert(0, pad, '0');
  }
  std::string digits;
  digits.reserve(bits.size() / width);
  for (std::size_t i = 0; i < bits.size(); i += width) {
    int value = 0;
    for (std::size_t k = 0; k < width; ++k) value = value * 2 + (bits[i + k] - '0');
    digits.push_back(DigitChar(value));
  }
  return digits;
}

struct Parts {
  std::string integer;
  std::string fraction;
};

Parts Regroup(const Parts& number, Radix from, Radix to) {
  return {Group(Bits(number.integer, from), to, false),
          Group(Bits(number.fraction, from), to, true)};
}

}  // namespace

std::string ConvertNumberExactly(std::string_view number, NumberBase to_base, int precision) {
  if (number.size() >= 2 && number.front() == '(' && number.back() == ')')
    number = number.substr(1, number.size() - 2);
  bool negative = false;
  if (!number.empty() && (number.front() == '-' || number.front() == '+')) {
    negative = number.front() == '-';
    number.remove_prefix(1);
  }
  const NumberBase from_base = BaseOfNumberText(number);
  number.remove_prefix(HeadOfBase(from_base).size());
  const Radix from = RadixOf(from_base);
  const Radix to = RadixOf(to_base);
  const auto point = number.find('.');
  Parts in{std::string(number.substr(0, point)), ""};
  if (point != std::string_view::npos) in.fraction = std::string(number.substr(point + 1));
  for (std::string* part : {&in.integer, &in.fraction})
    std::transform(part->begin(), part->end(), part->begin(), [](char c) {
      return c >= 'a' && c <= 'f' ? static_cast<char>(c - 'a' + 'A') : c;
    });
  precision = std::max(precision, 0);

  Parts out;
  if (from == to) {
    out = in;
  } else if (from != 10 && to != 10) {
    out = Regroup(in, from, to);
  } else if (from == 10) {
    // Through hexadecimal: `precision` hexadecimal digits are 4 x precision
    // bits, and hold the (4 x precision) / 3 octal digits.
    const Parts hex{IntegerConverter(Radix::kDecimal, Radix::kHex).Convert(in.integer),
                    ConvertFraction(in.fraction, Radix::kDecimal, Radix::kHex, precision)};
    out = to == 16 ? hex : Regroup(hex, Radix::kHex, to);
    if (to == 8)
      out.fraction.resize(std::min(
          out.fraction.size(), ScaledDigits(Radix::kOctal, static_cast<std::size_t>(precision))));
  } else {
    const Parts hex = from == 16 ? in : Regroup(in, from, Radix::kHex);
    out = {IntegerConverter(Radix::kHex, Radix::kDecimal).Convert(hex.integer),
           ConvertFraction(hex.fraction, Radix::kHex, Radix::kDecimal, precision)};
  }

  // Leading integer zeros and trailing fraction zeros go; the point with an
  // empty fraction.
  const auto first = out.integer.find_first_not_of('0');
  out.integer = first == std::string::npos ? "0" : out.integer.substr(first);
  const auto last = out.fraction.find_last_not_of('0');
  out.fraction = last == std::string::npos ? "" : out.fraction.substr(0, last + 1);
  std::string text = negative && (out.integer != "0" || !out.fraction.empty()) ? "-" : "";
  text += out.integer;
  if (!out.fraction.empty()) text += "." + out.fraction;
  return text;
}

}  // namespace calvoro
