// Number bases: digit sets, heads, validity, and conversion of number texts
// among binary, octal, decimal, hexadecimal and Mix.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "engine/message_sink.h"

namespace calvoro {

inline constexpr int kBaseBinary = 2;
inline constexpr int kBaseOctal = 8;
inline constexpr int kBaseDecimal = 10;
inline constexpr int kBaseHex = 16;
inline constexpr int kBaseMix = 100;

// The digit sets by table, one row per base (binary, octal, decimal, hex,
// Mix; a last row of nothing for any other value).
struct DigitSetTable {
  bool row[6][256] = {};
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
inline const bool* DigitSetOf(int base) {
  switch (base) {
    case kBaseBinary:
      return kDigitSets.row[0];
    case kBaseOctal:
      return kDigitSets.row[1];
    case kBaseDecimal:
      return kDigitSets.row[2];
    case kBaseHex:
      return kDigitSets.row[3];
    case kBaseMix:
      return kDigitSets.row[4];
    default:
      return kDigitSets.row[5];
  }
}

// Whether `c` is in the base's digit set (the point included; letters compared
// after upper-casing; Mix takes 0-9, A-F, H).
inline bool IsDigitOfBase(int base, char c) {
  return DigitSetOf(base)[static_cast<unsigned char>(c)];
}

// The base a Mix number's head names: "0b" 2, "0h" 16, "0" not followed by
// "." 8, anything else 10 (a lone "0" is a decimal zero).
int BaseOfNumberText(std::string_view text);

// Whether `text` is a number of the base: one optional pair of brackets
// around it, one optional leading sign, then at least one digit of the base
// and at most one point.
bool IsNumberOfBase(int base, std::string_view text);

// The head a number of the base carries in Mix and in memories.
std::string_view HeadOfBase(int base);

// The sixteen (bits, hex digit) pairs "0000"-"0" ... "1111"-"F".
const std::array<std::pair<std::string_view, char>, 16>& NibbleTable();

// Converts a number text from base `from` to base `to` (2, 8, 10, 16 or 100
// for Mix). `precision` is the decimal digit count wanted: conversions to
// base 10 keep that many fraction digits, to base 16 that many hex digits,
// to base 2 four times as many bits, to base 8 (4 x precision) / 3 digits.
// A sign and one pair of brackets around the text are kept. Conversions
// through decimal keep at most 100 integer and 100 fraction bits; when bits
// are dropped the input-message dialog says so and the cut value is returned.
std::string ConvertNumber(int from, int to, std::string_view text, int precision,
                          MessageSink& sink);

}  // namespace calvoro
