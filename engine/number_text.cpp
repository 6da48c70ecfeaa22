// atof-style reading in the "C" locale and "%f" printing.
#include "engine/number_text.h"

#include <locale.h>

#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "engine/functions.h"

namespace calvoro {

double ReadLeadingDouble(std::string_view text) {
  // strtod needs a terminated text; the "C" locale keeps the point the
  // decimal separator whatever locale the windows set.
  static const locale_t c_locale = newlocale(LC_ALL_MASK, "C", nullptr);
  const std::string terminated(text);
  return strtod_l(terminated.c_str(), nullptr, c_locale);
}

std::string FixedText(double value) {
  // The largest double has 309 integer digits.
  std::array<char, 400> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, 6);
  return std::string(buffer.data(), result.ptr);
}

std::string ShortFixedText(double value) {
  return std::isfinite(value) ? DoubleToText(value, 6) : FixedText(value);
}

}  // namespace calvoro
