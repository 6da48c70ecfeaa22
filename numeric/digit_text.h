// Digit characters of radix 2 to 16: values 0..9 as "0".."9", 10..15 as
// "A".."F" (read in either case), and the digit runs of number texts.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace calvoro {

constexpr char DigitChar(int value) { return "0123456789ABCDEF"[value]; }

// The value of a digit character, or -1 when it is none.
constexpr int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The end of the run of decimal digits "0"-"9" that starts at `pos` (`pos`
// itself when none does). Such a run holds no name, word or operator, so the
// scanners step over the long numbers of big calculations with it.
// Sixteen characters are tested at a time where SSE2 is there: less "0",
// with the top bit flipped, the digits are the bytes -128..-119 as signed
// bytes and every other byte is greater. Then eight at a time: with
// t = bytes ^ "00000000" each digit byte becomes 0..9, and (t + 0x76 | t)
// sets a byte's top bit exactly when that byte is not a digit (a carry out
// of such a byte can only spoil bytes above one that already fails).
inline std::size_t EndOfDecimalDigits(std::string_view text, std::size_t pos) {
#if defined(__SSE2__)
  const __m128i zeros = _mm_set1_epi8('0');
  const __m128i top = _mm_set1_epi8(static_cast<char>(0x80));
  const __m128i last_digit = _mm_set1_epi8(static_cast<char>(-128 + 9));
  while (pos + 16 <= text.size()) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + pos));
    const __m128i value = _mm_xor_si128(_mm_sub_epi8(block, zeros), top);
    const unsigned others = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpgt_epi8(value, last_digit)));
    if (others != 0) return pos + static_cast<std::size_t>(std::countr_zero(others));
    pos += 16;
  }
#endif
  constexpr std::uint64_t kZeros = 0x3030303030303030u;
  constexpr std::uint64_t kAbove9 = 0x7676767676767676u;
  constexpr std::uint64_t kTops = 0x8080808080808080u;
  while (pos + 8 <= text.size()) {
    std::uint64_t block;
    std::memcpy(&block, text.data() + pos, 8);
    const std::uint64_t t = block ^ kZeros;
    if (((t + kAbove9) | t) & kTops) break;
    pos += 8;
  }
  while (pos < text.size() && static_cast<unsigned char>(text[pos] - '0') < 10) ++pos;
  return pos;
}

}  // namespace calvoro
