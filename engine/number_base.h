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

// Whether `c` is in the base's digit set (the point included; letters compared
// after upper-casing; Mix takes 0-9, A-F, H). Inline: scanners ask for every
// character of megabyte-long numbers.
inline bool IsDigitOfBase(int base, char c) {
  if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  if (c >= '0' && c <= '9') {
    switch (base) {
      case kBaseBinary:
        return c <= '1';
      case kBaseOctal:
        return c <= '7';
      case kBaseDecimal:
      case kBaseHex:
      case kBaseMix:
        return true;
      default:
        return false;
    }
  }
  if (c == '.') {
    return base == kBaseBinary || base == kBaseOctal || base == kBaseDecimal || base == kBaseHex ||
           base == kBaseMix;
  }
  if (c >= 'A' && c <= 'F') return base == kBaseHex || base == kBaseMix;
  return c == 'H' && base == kBaseMix;
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
