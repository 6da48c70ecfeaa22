// Small tests and normalisers on expression and number texts.
#include "engine/expression_text.h"

#include <algorithm>
#include <bit>
#include <cctype>
#include <charconv>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "numeric/number_text.h"

namespace calvoro {
namespace {

// ASCII case mapping, independent of the locale and without a library call
// per character of megabyte-long numbers.
constexpr char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// The characters of a number text, by table: the test runs over every
// character of megabyte-long numbers.
struct NumberCharTable {
  bool accepts[256] = {};
  constexpr NumberCharTable() {
    for (int c = 0; c < 256; ++c) {
      const char l = Lower(static_cast<char>(c));
      accepts[c] =
          c == '.' || (c >= '0' && c <= '9') || (l >= 'a' && l <= 'f') || l == 'h' || l == 'x';
    }
  }
};
constexpr NumberCharTable kNumberChars;

bool IsNumberChar(char c) { return kNumberChars.accepts[static_cast<unsigned char>(c)]; }

// Whether the lower-case `word` occurs in `text` with ASCII letters compared
// in lower case; no lower-cased copy of a long text is made.
bool ContainsInsensitive(std::string_view text, std::string_view word) {
  if (word.empty()) return true;
  const char first = word.front();
  for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
    if (Lower(text[i]) != first) {
      i = EndOfDecimalDigits(text, i + 1) - 1;  // digits never begin a word
      continue;
    }
    if (EqualIgnoringCase(text.substr(i, word.size()), word)) return true;
  }
  return false;
}

}  // namespace

std::size_t FindAnyOf(std::string_view text, std::string_view set, std::size_t from) {
  bool in_set[256] = {};
  for (char c : set) in_set[static_cast<unsigned char>(c)] = true;
  const bool skip_digits = std::none_of(
      set.begin(), set.end(), [](char c) { return static_cast<unsigned char>(c - '0') < 10; });
  for (std::size_t i = from; i < text.size(); ++i) {
    if (skip_digits) {
      i = EndOfDecimalDigits(text, i);
      if (i == text.size()) break;
    }
    if (in_set[static_cast<unsigned char>(text[i])]) return i;
  }
  return std::string_view::npos;
}

std::string ToLowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Lower(c);
  return out;
}

std::string_view LowerCased(std::string_view text, std::string& storage) {
  bool capitals = false;
  std::size_t i = 0;
#if defined(__SSE2__)
  // Sixteen characters at a time: less "A", with the top bit flipped, the
  // capitals are the bytes -128..-103 as signed bytes.
  const __m128i a = _mm_set1_epi8('A');
  const __m128i top = _mm_set1_epi8(static_cast<char>(0x80));
  const __m128i after_z = _mm_set1_epi8(static_cast<char>(-128 + 26));
  for (; !capitals && i + 16 <= text.size(); i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
    const __m128i value = _mm_xor_si128(_mm_sub_epi8(block, a), top);
    capitals = _mm_movemask_epi8(_mm_cmplt_epi8(value, after_z)) != 0;
  }
#endif
  for (; !capitals && i < text.size(); ++i) capitals = static_cast<unsigned char>(text[i] - 'A') < 26;
  if (!capitals) return text;
  storage = ToLowerAscii(text);
  return storage;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  // Equal stretches (the long numbers of an expression and its echo) are
  // compared by blocks first.
  std::size_t same = 0;
  while (same + 64 <= a.size() && std::memcmp(a.data() + same, b.data() + same, 64) == 0)
    same += 64;
  for (std::size_t i = same; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string ToUpperAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = Upper(c);
  return out;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

std::string_view FunctionNameAtEnd(std::string_view text) {
  for (std::string_view name : kFunctionNames) {
    if (text.ends_with(name)) return name;
  }
  return {};
}

bool EndsWithFunctionName(std::string_view text) { return !FunctionNameAtEnd(text).empty(); }

std::string_view FunctionNameStartingWithLetter(std::string_view text, std::size_t pos) {
  const std::string_view rest = text.substr(pos);
  for (std::string_view name : kFunctionNames) {
    if (rest.starts_with(name)) return name;
  }
  return {};
}

std::string_view MemoryWordAt(std::string_view text, std::size_t pos) {
  if (pos >= text.size() || text[pos] != 'l') return {};
  const std::string_view rest = text.substr(pos);
  for (std::string_view word : kMemoryWords) {
    if (rest.starts_with(word)) return word;
  }
  return {};
}

bool IsNumberText(std::string_view text) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  for (std::size_t i = EndOfDecimalDigits(text, 0); i < text.size();
       i = EndOfDecimalDigits(text, i + 1)) {
    if (!IsNumberChar(text[i])) return false;
  }
  return true;
}

std::string_view WithoutBrackets(std::string_view text) {
  if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
    return text.substr(1, text.size() - 2);
  }
  return text;
}

bool IsNumberOperand(std::string_view text) { return IsNumberText(WithoutBrackets(text)); }

void StripLeadingZerosInPlace(std::string& text) {
  std::size_t begin = 0;
  std::size_t end = text.size();
  if (end >= 2 && text.front() == '(' && text.back() == ')') {
    begin = 1;
    --end;
  }
  if (begin < end && (text[begin] == '-' || text[begin] == '+')) ++begin;
  std::size_t zeros = 0;
  while (begin + zeros + 1 < end && text[begin + zeros] == '0' && text[begin + zeros + 1] != '.')
    ++zeros;
  if (zeros > 0) text.erase(begin, zeros);
}

void StripTrailingZerosInPlace(std::string& text) {
  // An exponent ("1.5E+20") ends the digits; a lone "E" is a hexadecimal digit.
  if (text.find('.') == std::string::npos || text.find("E+") != std::string::npos ||
      text.find("E-") != std::string::npos) {
    return;
  }
  const bool close = !text.empty() && text.back() == ')';
  if (close) text.pop_back();
  while (!text.empty() && text.back() == '0') text.pop_back();
  if (!text.empty() && text.back() == '.') text.pop_back();
  if (close) text.push_back(')');
}

void StripZerosInPlace(std::string& text) {
  StripLeadingZerosInPlace(text);
  StripTrailingZerosInPlace(text);
}

std::string StripLeadingZeros(std::string_view text) {
  std::string out(text);
  StripLeadingZerosInPlace(out);
  return out;
}

std::string StripTrailingZeros(std::string_view text) {
  std::string out(text);
  StripTrailingZerosInPlace(out);
  return out;
}

std::string ShiftDecimalPoint(std::string_view text, long long shift) {
  const bool negative = !text.empty() && text.front() == '-';
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  const std::size_t point = std::min(text.find('.'), text.size());
  std::string digits(text.substr(0, point));
  if (point < text.size()) digits.append(text.substr(point + 1));
  long long integer_digits = static_cast<long long>(point) + shift;
  if (integer_digits <= 0) {
    digits.insert(0, static_cast<std::size_t>(1 - integer_digits), '0');
    integer_digits = 1;
  } else if (integer_digits > static_cast<long long>(digits.size())) {
    digits.append(static_cast<std::size_t>(integer_digits) - digits.size(), '0');
  }
  const auto split = static_cast<std::size_t>(integer_digits);
  std::string out = digits.substr(0, split);
  if (split < digits.size()) out.append(".").append(digits, split);
  out = StripLeadingZeros(StripTrailingZeros(out));
  if (negative) out.insert(0, 1, '-');
  return out;
}

std::string ExpandExponentNotation(std::string_view text) {
  const auto e = text.find('E');
  // Only a decimal mantissa: in "-0h92F8.E9" the E is a hexadecimal digit.
  if (e == std::string_view::npos || !IsNumber(text.substr(0, e), Radix::kDecimal, {.plus = true}))
    return std::string(text);
  std::string_view exponent_text = text.substr(e + 1);
  if (!exponent_text.empty() && exponent_text.front() == '+') exponent_text.remove_prefix(1);
  long long exponent = 0;
  const char* end = exponent_text.data() + exponent_text.size();
  const auto [last, error] = std::from_chars(exponent_text.data(), end, exponent);
  if (error != std::errc() || last != end || exponent > kMaxExpandedExponent ||
      exponent < -kMaxExpandedExponent) {
    return std::string(text);
  }
  return ShiftDecimalPoint(text.substr(0, e), exponent);
}

bool IsExpression(std::string_view text) {
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  return FindAnyOf(text, "()*+-/^") != std::string_view::npos;
}

bool UsesUserParameter(std::string_view text) {
  return FindAnyOf(text, "mfkwMFKW") != std::string_view::npos || ContainsInsensitive(text, "pi");
}

bool UsesMemory(std::string_view text) {
  const bool memory =
      std::any_of(kMemoryWords.begin(), kMemoryWords.end(),
                  [&](std::string_view word) { return ContainsInsensitive(text, word); });
  return memory || ContainsInsensitive(text, "pi");
}

bool IsParameterLetter(char c) {
  const char l = Lower(c);
  return l == 'f' || l == 'k' || l == 'm' || l == 'w';
}

bool ContainsUnknown(std::string_view text) {
  for (std::size_t i = FindAnyOf(text, "xX"); i != std::string_view::npos;
       i = FindAnyOf(text, "xX", i + 1)) {
    const bool in_exp =
        i >= 1 && i + 1 < text.size() && Lower(text[i - 1]) == 'e' && Lower(text[i + 1]) == 'p';
    if (!in_exp) return true;
  }
  return false;
}

std::string Bracketed(std::string_view value) {
  std::string out;
  out.reserve(value.size() + 2);
  out.append("(").append(value).append(")");
  return out;
}

BracketCount CountBrackets(std::string_view text) {
  BracketCount count;
  std::size_t i = 0;
#if defined(__SSE2__)
  // Sixteen characters at a time: the long digit runs of huge numbers hold
  // no bracket and cost one test per block.
  const __m128i open = _mm_set1_epi8('(');
  const __m128i close = _mm_set1_epi8(')');
  for (; i + 16 <= text.size(); i += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text.data() + i));
    const auto opens = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, open)));
    const auto closes = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(block, close)));
    if ((opens | closes) == 0) continue;
    count.opens += static_cast<std::size_t>(std::popcount(opens));
    count.closes += static_cast<std::size_t>(std::popcount(closes));
  }
#endif
  for (; i < text.size(); ++i) {
    count.opens += text[i] == '(';
    count.closes += text[i] == ')';
  }
  return count;
}

}  // namespace calvoro
