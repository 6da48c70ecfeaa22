// Number bases: digit sets, heads, validity, and conversion of number texts
// among binary, octal, decimal, hexadecimal and Mix.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "engine/message_sink.h"
#include "numeric/radix.h"

namespace calvoro {

// The base of a window or a calculation. In Mix every number carries its
// own base by a head ("0b", "0", "0h", none for decimal).
enum class NumberBase { Binary, Octal, Decimal, Hex, Mix };

// The radix of a base: 2, 8, 10, 16; 10 for Mix. Arithmetic on digits takes
// the radix; everything else takes the base.
constexpr Radix RadixOf(NumberBase base) {
  switch (base) {
    case NumberBase::Binary:
      return Radix::kBinary;
    case NumberBase::Octal:
      return Radix::kOctal;
    case NumberBase::Hex:
      return Radix::kHex;
    case NumberBase::Decimal:
    case NumberBase::Mix:
      break;
  }
  return Radix::kDecimal;
}
// The base of a radix (never Mix).
constexpr NumberBase BaseOfRadix(Radix radix) {
  return radix == 2    ? NumberBase::Binary
         : radix == 8  ? NumberBase::Octal
         : radix == 16 ? NumberBase::Hex
                       : NumberBase::Decimal;
}

// The digit sets by table, one row per base in the order of NumberBase.
struct DigitSetTable {
  bool row[5][256] = {};
  constexpr DigitSetTable() {
    for (int c = 0; c < 256; ++c) {
      const char u = c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : static_cast<char>(c);
      const bool decimal = u >= '0' && u <= '9';
      const bool point = u == '.';
      const bool hex_letter = u >= 'A' && u <= 'F';
      row[0][c] = point || u == '0' || u == '1';
      row[1][c] = point || (u >= '0' && u <= '7');
      row[2][c] = point || decimal;
      row[3][c] = point || decimal || hex_letter;
      row[4][c] = point || decimal || hex_letter || u == 'H';
    }
  }
};
inline constexpr DigitSetTable kDigitSets{};

// The table row of a base's digit set: row[c] tells whether the character c
// is a digit of the base (the point included). Loops over long numbers take
// the row once.
inline const bool* DigitSetOf(NumberBase base) { return kDigitSets.row[static_cast<int>(base)]; }

// Whether `c` is in the base's digit set (the point included; letters compared
// after upper-casing; Mix takes 0-9, A-F, H).
inline bool IsDigitOfBase(NumberBase base, char c) {
  return DigitSetOf(base)[static_cast<unsigned char>(c)];
}

// The base a Mix number's head names: "0b" binary, "0h" hex, "0" not
// followed by "." octal, anything else decimal (a lone "0" is a decimal zero).
NumberBase BaseOfNumberText(std::string_view text);

// Whether `text` is a number of the base (ReadNumber): one optional pair of
// brackets around it, one optional leading sign, then digits of the base
// with at most one point; in Mix the digits of the base its head names.
bool IsNumberOfBase(NumberBase base, std::string_view text);

// The head a number of the base carries in Mix and in memories.
std::string_view HeadOfBase(NumberBase base);

// The sixteen (bits, hex digit) pairs "0000"-"0" ... "1111"-"F".
const std::array<std::pair<std::string_view, char>, 16>& NibbleTable();

// Converts a number text from base `from` to base `to`. `precision` is the
// decimal digit count wanted: conversions to decimal keep that many fraction
// digits, to hex that many hex digits, to binary four times as many bits, to
// octal (4 x precision) / 3 digits.
// A sign and one pair of brackets around the text are kept. Conversions
// through decimal keep at most 100 integer and 100 fraction bits; when bits
// are dropped the input-message dialog says so and the cut value is returned.
// A text that is no number of its base comes back as it is.
std::string ConvertNumber(NumberBase from, NumberBase to, std::string_view text, int precision,
                          MessageSink& sink);

}  // namespace calvoro
