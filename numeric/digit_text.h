// Digit characters of radix 2 to 16: values 0..9 as "0".."9", 10..15 as
// "A".."F" (read in either case).
#pragma once

namespace calvoro {

constexpr char DigitChar(int value) { return "0123456789ABCDEF"[value]; }

// The value of a digit character, or -1 when it is none.
constexpr int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace calvoro
