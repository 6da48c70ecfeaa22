// ConvertNumber between every pair of bases, Mix included, on any text. A
// number within the 100-bit limits comes back unchanged from a round trip:
// any integer, and a fraction of a base 2, 8 or 16 number when the decimal
// leg keeps all its digits.
#include <algorithm>
#include <string>

#include "engine/number_base.h"
#include "engine/refusal.h"
#include "tests/fuzz/fuzz_input.h"

namespace {

// Upper case, no leading integer zeros, no trailing fraction zeros, no empty
// fraction, and no sign on zero.
std::string Normal(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
  const bool negative = !text.empty() && text.front() == '-';
  if (negative || (!text.empty() && text.front() == '+')) text.erase(0, 1);
  if (text.find('.') != std::string::npos) {
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
  }
  const std::size_t first = text.find_first_not_of('0');
  text.erase(0, first == std::string::npos ? text.size() : first);
  if (text.empty() || text.front() == '.') text.insert(0, "0");
  return negative && text != "0" ? "-" + text : text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  calvoro::fuzz::FuzzInput input(data, size);
  const calvoro::NumberBase from = input.Base(true);
  const calvoro::NumberBase to = input.Base(true);
  const int precision = static_cast<int>(input.Number(0, 200));
  const std::string text(input.Rest());
  calvoro::Notices notices;
  const std::string there = calvoro::ConvertNumber(from, to, text, precision, &notices);
  if (from == calvoro::NumberBase::Mix || to == calvoro::NumberBase::Mix) return 0;
  if (!calvoro::IsNumberOfBase(from, text) || text.front() == '(' || !notices.empty()) return 0;

  const std::size_t point = text.find('.');
  const std::size_t fraction_digits = point == std::string::npos ? 0 : text.size() - point - 1;
  const int bits_per_digit = from == calvoro::NumberBase::Binary  ? 1
                             : from == calvoro::NumberBase::Octal ? 3
                                                                  : 4;
  const bool exact =
      fraction_digits == 0 ||
      (from != calvoro::NumberBase::Decimal && to != calvoro::NumberBase::Octal &&
       static_cast<long long>(fraction_digits) * bits_per_digit <= std::min(precision, 100));
  if (!exact) return 0;
  const std::string back = calvoro::ConvertNumber(to, from, there, precision, &notices);
  if (!notices.empty()) return 0;  // the way back crossed a limit
  FUZZ_CHECK(Normal(back) == Normal(text));
  return 0;
}
