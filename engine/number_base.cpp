// Number bases: digit sets, heads, validity, and conversion of number texts.
#include "engine/number_base.h"

#include <algorithm>
#include <cctype>

#include "engine/expression_text.h"
#include "numeric/binary_conversion.h"
#include "numeric/digit_text.h"
#include "numeric/huge_float.h"
#include "numeric/number_text.h"
#include "numeric/precision.h"

namespace calvoro {
namespace {

constexpr std::string_view kLimitHint =
    "If the integer part exceeds 100 bit, we convert the right 100 bit."
    "If the float part exceeds 100 bit, we convert the left 100 bit.";
constexpr std::string_view kLimitMessage = " exceeds the 100 bit limitation";

// ASCII case mapping (locale-independent, no library call per character).
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A number split at its point; digits upper-cased, no sign, no head.
struct NumberParts {
  std::string integer;
  std::string fraction;
};

NumberParts Split(std::string_view digits) {
  NumberParts parts;
  const auto point = digits.find('.');
  parts.integer = std::string(digits.substr(0, point));
  if (point != std::string_view::npos) parts.fraction = std::string(digits.substr(point + 1));
  for (char& c : parts.integer) c = Upper(c);
  for (char& c : parts.fraction) c = Upper(c);
  return parts;
}

// Leading zeros of the integer part dropped (one "0" stays when nothing else
// is left), trailing zeros of the fraction dropped, and the point with them
// when the fraction becomes empty.
std::string Join(NumberParts parts) {
  const auto first = parts.integer.find_first_not_of('0');
  parts.integer = first == std::string::npos ? "0" : parts.integer.substr(first);
  const auto last = parts.fraction.find_last_not_of('0');
  parts.fraction = last == std::string::npos ? "" : parts.fraction.substr(0, last + 1);
  return parts.fraction.empty() ? parts.integer : parts.integer + "." + parts.fraction;
}

// The bits of one octal or hexadecimal digit (hexadecimal by the nibble table).
std::string_view DigitBits(char digit, NumberBase base) {
  const int value = DigitValue(digit);
  const std::string_view nibble = NibbleTable()[value & 15].first;
  return base == NumberBase::Hex ? nibble : nibble.substr(1);
}

// The digit of a group of three or four bits.
char GroupDigit(std::string_view bits) {
  std::string nibble(4 - bits.size(), '0');
  nibble += bits;
  for (const auto& [pattern, digit] : NibbleTable()) {
    if (pattern == nibble) return digit;
  }
  return '0';  // not reached for binary digits
}

// Octal or hexadecimal digits to bits, each digit its three or four bits.
NumberParts ExpandToBinary(const NumberParts& number, NumberBase base) {
  NumberParts bits;
  for (char c : number.integer) bits.integer += DigitBits(c, base);
  for (char c : number.fraction) bits.fraction += DigitBits(c, base);
  return bits;
}

// Bits to octal or hexadecimal digits: groups of three or four counted from
// the point outwards, the integer part padded with zeros on the left, the
// fraction on the right.
NumberParts GroupBinary(const NumberParts& bits, NumberBase base) {
  const std::size_t width = base == NumberBase::Hex ? 4 : 3;
  std::string integer = bits.integer;
  integer.insert(0, (width - integer.size() % width) % width, '0');
  std::string fraction = bits.fraction;
  fraction.append((width - fraction.size() % width) % width, '0');
  NumberParts digits;
  for (std::size_t i = 0; i < integer.size(); i += width) {
    digits.integer.push_back(GroupDigit(std::string_view(integer).substr(i, width)));
  }
  for (std::size_t i = 0; i < fraction.size(); i += width) {
    digits.fraction.push_back(GroupDigit(std::string_view(fraction).substr(i, width)));
  }
  return digits;
}

// Decimal to binary with `fraction_bits` fraction bits. An integer part of
// more than 100 bits is first reduced to its lowest 100 bits (the remainder
// by 2^100, so that a long number is not halved digit by digit).
NumberParts DecimalToBits(const NumberParts& number, int fraction_bits, bool& cut) {
  HugeFloat integer =
      HugeFloat::FromRadixText(number.integer.empty() ? "0" : number.integer, Radix::kDecimal, 0);
  const HugeFloat limit = HugeFloat::FromText(PowerOfTwoText(kConversionBitLimit));
  if (CompareMagnitude(integer, limit) >= 0) {
    integer = Remainder(integer, limit);
    cut = true;
  }
  const HugeFloat value =
      HugeFloat::FromRadixText(integer.ToText() + "." + number.fraction, Radix::kDecimal, 0);
  return Split(DecimalToBinary(value, fraction_bits));
}

// Binary to decimal with at most `fraction_digits` fraction digits
// (truncated). Bits beyond the 100-bit limits are dropped and reported.
NumberParts BitsToDecimal(const NumberParts& bits, int fraction_digits, bool& cut) {
  std::string text = bits.integer.empty() ? "0" : bits.integer;
  if (!bits.fraction.empty()) text += "." + bits.fraction;
  std::string decimal = BinaryToDecimal(text);
  if (decimal.starts_with(kBitsDroppedPrefix)) {
    decimal.erase(0, kBitsDroppedPrefix.size());
    cut = true;
  }
  NumberParts parts = Split(decimal);
  if (static_cast<int>(parts.fraction.size()) > fraction_digits) {
    parts.fraction.resize(static_cast<std::size_t>(std::max(fraction_digits, 0)));
  }
  return parts;
}

// The number (no sign, no head) converted between two of the bases 2, 8, 10
// and 16; `cut` tells whether the 100-bit limits dropped bits.
NumberParts ConvertParts(NumberBase from, NumberBase to, const NumberParts& number, int precision,
                         bool& cut) {
  if (from == to) return number;

  // Everything else goes through binary.
  NumberParts bits;
  // Bits kept below the point when the source is decimal: four per wanted
  // digit, at most the limit.
  const long long wanted_bits =
      ScaledDigits(Radix::kBinary, static_cast<long long>(std::max(precision, 0)));
  const int decimal_bits = static_cast<int>(std::min<long long>(wanted_bits, kConversionBitLimit));
  switch (from) {
    case NumberBase::Binary:
      bits = number;
      break;
    case NumberBase::Octal:
    case NumberBase::Hex:
      bits = ExpandToBinary(number, from);
      break;
    default:
      bits = DecimalToBits(number, decimal_bits, cut);
      break;
  }

  switch (to) {
    case NumberBase::Binary:
      return bits;
    case NumberBase::Octal:
    case NumberBase::Hex: {
      NumberParts digits = GroupBinary(bits, to);
      if (from == NumberBase::Decimal && to == NumberBase::Octal) {
        // Of the bits kept (a multiple of four, or the limit) only whole
        // three-bit groups count: (4 x P) / 3 octal digits.
        const auto keep = static_cast<std::size_t>(decimal_bits / 3);
        if (digits.fraction.size() > keep) digits.fraction.resize(keep);
      }
      return digits;
    }
    default:
      return BitsToDecimal(bits, precision, cut);
  }
}

// Removes the head of a binary or hexadecimal number ("0b", "0h", either
// case) when it stands before the digits: a sign stored before the head
// ("-0b101") leaves it there. Neither letter is a digit of its base, so the
// head cannot be confused with digits; the octal head "0" is a harmless
// leading zero and stays.
std::string_view WithoutOwnHead(NumberBase base, std::string_view digits) {
  if (digits.size() >= 2 && digits[0] == '0') {
    const char letter = Lower(digits[1]);
    if ((base == NumberBase::Binary && letter == 'b') ||
        (base == NumberBase::Hex && letter == 'h')) {
      digits.remove_prefix(2);
    }
  }
  return digits;
}

}  // namespace

NumberBase BaseOfNumberText(std::string_view text) {
  if (text.size() < 2 || text[0] != '0') return NumberBase::Decimal;
  const char second = Lower(text[1]);
  if (second == 'b') return NumberBase::Binary;
  if (second == 'h') return NumberBase::Hex;
  if (second == '.') return NumberBase::Decimal;
  return NumberBase::Octal;
}

bool IsNumberOfBase(NumberBase base, std::string_view text) {
  constexpr NumberSyntax kOperand{.plus = true, .brackets = true};
  if (base != NumberBase::Mix) return IsNumber(text, RadixOf(base), kOperand);
  // In Mix the head after the sign names the number's base: "(-0h1F)".
  text = WithoutBrackets(text);
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  const NumberBase own = BaseOfNumberText(text);
  return IsNumber(text.substr(HeadOfBase(own).size()), RadixOf(own));
}

std::string_view HeadOfBase(NumberBase base) {
  switch (base) {
    case NumberBase::Binary:
      return "0b";
    case NumberBase::Octal:
      return "0";
    case NumberBase::Hex:
      return "0h";
    default:
      return "";
  }
}

const std::array<std::pair<std::string_view, char>, 16>& NibbleTable() {
  static constexpr std::array<std::pair<std::string_view, char>, 16> kTable{{
      {"0000", '0'},
      {"0001", '1'},
      {"0010", '2'},
      {"0011", '3'},
      {"0100", '4'},
      {"0101", '5'},
      {"0110", '6'},
      {"0111", '7'},
      {"1000", '8'},
      {"1001", '9'},
      {"1010", 'A'},
      {"1011", 'B'},
      {"1100", 'C'},
      {"1101", 'D'},
      {"1110", 'E'},
      {"1111", 'F'},
  }};
  return kTable;
}

std::string ConvertNumber(NumberBase from, NumberBase to, std::string_view text, int precision,
                          MessageSink& sink) {
  std::string_view body = text;
  const bool bracketed = body.size() >= 2 && body.front() == '(' && body.back() == ')';
  if (bracketed) body = body.substr(1, body.size() - 2);
  bool negative = false;
  if (!body.empty() && (body.front() == '-' || body.front() == '+')) {
    negative = body.front() == '-';
    body.remove_prefix(1);
  }

  NumberBase source = from;
  if (source == NumberBase::Mix) {
    source = BaseOfNumberText(body);
    body.remove_prefix(HeadOfBase(source).size());
  } else {
    body = WithoutOwnHead(source, body);
  }
  // One sign at most: the reader would take a second one ("--1").
  const bool signed_body = !body.empty() && (body.front() == '-' || body.front() == '+');
  if (signed_body || !IsNumber(body, RadixOf(source))) return std::string(text);

  std::string digits;
  if (to == NumberBase::Mix) {
    // The number stays in its base and carries that base's head.
    digits = std::string(HeadOfBase(source)) + std::string(body);
  } else {
    bool cut = false;
    digits = Join(ConvertParts(source, to, Split(body), precision, cut));
    if (cut) {
      sink.InputMessage(text, std::string(text) + std::string(kLimitMessage), kLimitHint);
    }
  }

  std::string result = negative ? "-" + digits : digits;
  return bracketed ? "(" + result + ")" : result;
}

}  // namespace calvoro
