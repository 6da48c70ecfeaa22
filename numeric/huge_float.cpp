// Representation, parsing, printing, normalising, comparison and the
// precision rule of HugeFloat.
#include "numeric/huge_float.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <stdexcept>

#include "numeric/digit_text.h"
#include "numeric/number_text.h"

namespace calvoro {
namespace {

// dst[k] = src[count - 1 - k] + delta for every byte (a digit character
// to its value or back: no byte leaves 0..255), eight bytes at a time.
void CopyReversed(const char* src, std::size_t count, char* dst, std::int8_t delta) {
  const std::uint64_t step =
      0x0101010101010101u * static_cast<std::uint8_t>(delta < 0 ? -delta : delta);
  std::size_t k = 0;
  for (; k + 8 <= count; k += 8) {
    std::uint64_t block;
    std::memcpy(&block, src + count - k - 8, 8);
    block = __builtin_bswap64(block);
    block = delta < 0 ? block - step : block + step;
    std::memcpy(dst + k, &block, 8);
  }
  for (; k < count; ++k) dst[k] = static_cast<char>(src[count - 1 - k] + delta);
}

// `count` digit characters of `src` to their values, in reverse order.
void ValuesReversed(const char* src, std::size_t count, char* dst, Radix radix) {
  if (radix <= 10) {
    CopyReversed(src, count, dst, -'0');
    return;
  }
  for (std::size_t k = 0; k < count; ++k)
    dst[k] = static_cast<char>(DigitValue(src[count - 1 - k]));
}

// The digits of a number read by ReadNumber.
HugeFloat FromRead(const NumberText& number) {
  const std::string_view integer = number.integer;
  const std::string_view fraction = number.fraction;
  const Radix radix = number.radix;
  Digits digits(integer.size() + fraction.size());
  char* out = reinterpret_cast<char*>(digits.data());
  ValuesReversed(fraction.data(), fraction.size(), out, radix);
  ValuesReversed(integer.data(), integer.size(), out + fraction.size(), radix);
  const bool point = number.text.find('.') != std::string_view::npos;
  return HugeFloat(radix, number.negative ? -1 : 1, std::move(digits),
                   point ? static_cast<int>(fraction.size()) : -1);
}

// Shared reading of FromText and FromRadixText: blanks around the number,
// one leading "-" or "+", digits of the radix with at most one point. A text of
// blanks is zero; any other text that is no number of the radix is refused.
HugeFloat Parse(std::string_view text, Radix radix) {
  const auto number = ReadNumber(text, radix, {.plus = true, .blanks = true});
  if (!number) {
    if (text.find_first_not_of(" \t") == std::string_view::npos)
      return HugeFloat(radix, 1, Digits{0}, -1);
    assert(false && "the caller reads only numbers of the radix");
    return HugeFloat(radix, 1, Digits{0}, -1);
  }
  return FromRead(*number);
}

}  // namespace

HugeFloat::HugeFloat(Radix radix) : radix_(radix), digits_{0} {}

HugeFloat::HugeFloat(Radix radix, int sign, Digits digits, int point)
    : radix_(radix), sign_(sign < 0 ? -1 : 1), digits_(std::move(digits)), point_(point) {
  if (point_ > static_cast<int>(digits_.size())) point_ = static_cast<int>(digits_.size());
}

HugeFloat HugeFloat::FromText(std::string_view text) {
  HugeFloat x = Parse(text, Radix::kDecimal);
  x.DropLeadingZeros();
  return x;
}

HugeFloat HugeFloat::FromRadixText(std::string_view text, Radix radix, int precision) {
  HugeFloat x = Parse(text, radix);
  x.precision_ = precision;
  return x;
}

HugeFloat HugeFloat::FromNumber(const NumberText& number, int precision) {
  HugeFloat x = FromRead(number);
  x.precision_ = precision;
  return x;
}

HugeFloat HugeFloat::FromInt(std::int64_t value) {
  // Work on the unsigned magnitude so that the most negative value converts.
  std::uint64_t magnitude =
      value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
  Digits digits;
  do {
    digits.push_back(static_cast<std::uint8_t>(magnitude % 10));
    magnitude /= 10;
  } while (magnitude != 0);
  return HugeFloat(Radix::kDecimal, value < 0 ? -1 : 1, std::move(digits), -1);
}

std::string HugeFloat::ToText() const {
  if (digits_.empty()) return "0";
  const int size = static_cast<int>(digits_.size());
  std::string text((sign_ < 0 ? 1 : 0) + digits_.size() + (point_ >= 0 ? 1 : 0), '.');
  char* out = text.data();
  if (sign_ < 0) *out++ = '-';
  // The integer digits, the point (above every digit for ".5" as typed), the
  // fraction digits.
  const int point = point_ >= 0 ? point_ : 0;
  const auto write = [&](int high, int low) {  // digits high down to low
    if (high < low) return;
    if (radix_ <= 10) {
      const auto count = static_cast<std::size_t>(high - low + 1);
      CopyReversed(reinterpret_cast<const char*>(digits_.data()) + low, count, out, '0');
      out += count;
    } else {
      for (int i = high; i >= low; --i) *out++ = DigitChar(digits_[i]);
    }
  };
  if (point_ == size) ++out;
  write(size - 1, point);
  if (point_ >= 0 && point_ < size) ++out;
  write(point - 1, 0);
  return text;
}

bool HugeFloat::IsZero() const {
  return std::all_of(digits_.begin(), digits_.end(), [](std::uint8_t d) { return d == 0; });
}

Digits HugeFloat::Bytes() const {
  Digits bytes = digits_;
  if (point_ >= 0) bytes.insert(bytes.begin() + point_, kPointMarker);
  return bytes;
}

void HugeFloat::DropLeadingZeros() {
  const std::size_t keep = static_cast<std::size_t>(point_ < 0 ? 1 : point_ + 1);
  while (digits_.size() > keep && digits_.back() == 0) digits_.pop_back();
  if (digits_.size() < keep)
    digits_.resize(keep, 0);  // "0" before a bare point, or the zero itself
}

void HugeFloat::DropFractionZeros() {
  if (point_ < 0) return;
  std::size_t zeros = 0;
  while (zeros < static_cast<std::size_t>(point_) && digits_[zeros] == 0) ++zeros;
  digits_.erase(digits_.begin(), digits_.begin() + zeros);
  point_ -= static_cast<int>(zeros);
  if (point_ == 0) point_ = -1;
}

void HugeFloat::StripZeros() {
  if (digits_.empty()) {
    digits_.push_back(0);
    sign_ = 1;
    point_ = -1;
    return;
  }
  DropFractionZeros();
  const std::size_t keep = static_cast<std::size_t>(FractionDigits()) + 1;
  while (digits_.size() > keep && digits_.back() == 0) digits_.pop_back();
}

void HugeFloat::ApplyPrecision(int precision) {
  if (point_ < 0) return;
  if (precision < 0) precision = 0;
  const bool integer_nonzero =
      std::any_of(digits_.begin() + point_, digits_.end(), [](std::uint8_t d) { return d != 0; });
  int keep = precision;  // fraction digits to keep
  if (!integer_nonzero) {
    // Count significant fraction digits from the first non-zero one down.
    int first = point_ - 1;
    while (first >= 0 && digits_[first] == 0) --first;
    if (first < 0) return;  // an all-zero fraction stays as it is
    const int leading_zeros = point_ - 1 - first;
    keep = leading_zeros + precision;
  }
  if (point_ <= keep) return;
  const int drop = point_ - keep;
  digits_.erase(digits_.begin(), digits_.begin() + drop);
  point_ = keep;
  if (point_ == 0) point_ = -1;  // no fraction digit left (precision 0)
}

int CompareMagnitude(const HugeFloat& a, const HugeFloat& b) {
  // Align at the point: compare integer parts (ignoring leading zeros), then
  // the fractions, padding the shorter one with zeros.
  const Digits& x = a.digits();
  const Digits& y = b.digits();
  const int fx = a.FractionDigits();
  const int fy = b.FractionDigits();
  int ix = static_cast<int>(x.size());
  int iy = static_cast<int>(y.size());
  while (ix > fx && x[ix - 1] == 0) --ix;
  while (iy > fy && y[iy - 1] == 0) --iy;
  if (ix - fx != iy - fy) return ix - fx < iy - fy ? -1 : 1;
  // Same number of significant integer digits: walk down by place value.
  const int top = ix - fx;  // places above the point
  const int bottom = -std::max(fx, fy);
  for (int place = top - 1; place >= bottom; --place) {
    const int dx = (place + fx >= 0 && place + fx < ix) ? x[place + fx] : 0;
    const int dy = (place + fy >= 0 && place + fy < iy) ? y[place + fy] : 0;
    if (dx != dy) return dx < dy ? -1 : 1;
  }
  return 0;
}

bool LessThan(const HugeFloat& a, const HugeFloat& b) {
  const bool za = a.IsZero(), zb = b.IsZero();
  const int sa = za ? 0 : a.sign(), sb = zb ? 0 : b.sign();
  if (sa != sb) return sa < sb;
  const int c = CompareMagnitude(a, b);
  return sa > 0 ? c < 0 : c > 0;
}

bool GreaterThan(const HugeFloat& a, const HugeFloat& b) { return LessThan(b, a); }

int ToInt(const HugeFloat& a) {
  // The caller converts only values within int; beyond it the value is clamped.
  constexpr std::int64_t kBeyond = 2147483648LL;
  const Digits& d = a.digits();
  std::int64_t value = 0;
  for (int i = static_cast<int>(d.size()) - 1; i >= a.FractionDigits() && value <= kBeyond; --i) {
    value = value * a.radix() + d[i];
  }
  const std::int64_t most = a.sign() < 0 ? kBeyond : kBeyond - 1;
  assert(value <= most && "ToInt of a value within int");
  value = std::min(value, most);
  return static_cast<int>(a.sign() < 0 ? -value : value);
}

}  // namespace calvoro
