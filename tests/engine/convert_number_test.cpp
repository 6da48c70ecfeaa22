#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>

#include "engine/number_base.h"
#include "engine/refusal.h"
#include "tests/support/recording_sink.h"
#include "tests/support/reference_number.h"

namespace calvoro {
namespace {

using testing::Natural;
using testing::RecordedMessage;
using testing::RecordingSink;

struct Case {
  NumberBase from;
  NumberBase to;
  std::string text;
  int precision;
  std::string expected;
};

void ExpectConversions(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    RecordingSink sink;
    Notices notices;
    EXPECT_EQ(ConvertNumber(c.from, c.to, c.text, c.precision, &notices), c.expected)
        << c.text << " from " << RadixOf(c.from) << " to " << RadixOf(c.to)
        << " with P = " << c.precision;
    ReportNotices(notices, sink);
    EXPECT_TRUE(sink.empty()) << c.text;
  }
}

constexpr NumberBase kMix = NumberBase::Mix;

// head, `count` copies of `fill`, tail.
std::string Text(std::string_view head, std::size_t count, char fill, std::string_view tail) {
  std::string text(head);
  text.append(count, fill);
  text.append(tail);
  return text;
}

TEST(ConvertNumber, ConvertsBetweenBases) {
  ExpectConversions({
      // Among 2, 8 and 16: regrouping from the point outwards, no digit limit.
      {NumberBase::Hex, NumberBase::Binary, "A.8", 5, "1010.1"},
      {NumberBase::Binary, NumberBase::Octal, "1010.1", 5, "12.4"},
      {NumberBase::Hex, NumberBase::Octal, "f.8", 5, "17.4"},
      {NumberBase::Binary, NumberBase::Hex, "0001.1000", 5, "1.8"},
      {NumberBase::Binary, NumberBase::Hex, "0.000000000001", 1, "0.001"},
      {NumberBase::Hex, NumberBase::Octal, Text("0.", 32, 'F', ""), 1, Text("0.", 42, '7', "6")},
      // Through decimal: P digits to 10, 4P bits to 2, P digits to 16,
      // (4P) / 3 digits to 8; at most 100 fraction bits; truncated.
      {NumberBase::Hex, NumberBase::Decimal, "a.8", 5, "10.5"},
      {NumberBase::Binary, NumberBase::Decimal, "0.0001", 3, "0.062"},
      {NumberBase::Decimal, NumberBase::Hex, "255.5", 3, "FF.8"},
      {NumberBase::Decimal, NumberBase::Binary, "10.625", 5, "1010.101"},
      {NumberBase::Decimal, NumberBase::Binary, "0.1", 2, "0.00011001"},
      {NumberBase::Decimal, NumberBase::Hex, "0.1", 3, "0.199"},
      {NumberBase::Decimal, NumberBase::Octal, "0.1", 3, "0.0631"},
      {NumberBase::Decimal, NumberBase::Octal, "0.1", 2, "0.06"},
      {NumberBase::Decimal, NumberBase::Hex, "0.1", 50, Text("0.1", 24, '9', "")},
      {NumberBase::Decimal, NumberBase::Octal, "0.1", 50, "0.063146314631463146314631463146314"},
      {NumberBase::Decimal, NumberBase::Decimal, "007.50", 2, "7.5"},
      // Sign and brackets kept; the sign may stand before a head.
      {NumberBase::Hex, NumberBase::Binary, "(-A.8)", 5, "(-1010.1)"},
      {NumberBase::Decimal, NumberBase::Hex, "+255", 5, "FF"},
      {NumberBase::Binary, NumberBase::Decimal, "-0b101", 5, "-5"},
      {kMix, NumberBase::Binary, "(-0h1F)", 5, "(-11111)"},
      // Into Mix the number keeps its base and gets the head; from Mix the
      // head names the base.
      {NumberBase::Binary, kMix, "101", 5, "0b101"},
      {NumberBase::Octal, kMix, "17", 5, "017"},
      {NumberBase::Decimal, kMix, "12.5", 5, "12.5"},
      {NumberBase::Hex, kMix, "-1F", 5, "-0h1F"},
      {NumberBase::Binary, kMix, "(-0b101)", 5, "(-0b101)"},
      {kMix, NumberBase::Hex, "0b101", 5, "5"},
      {kMix, NumberBase::Decimal, "017", 5, "15"},
      {kMix, NumberBase::Octal, "0B11.1", 5, "3.4"},
      {kMix, NumberBase::Decimal, "0", 5, "0"},
      {kMix, NumberBase::Hex, "00.4", 5, "0.8"},
  });
}

TEST(ConvertNumber, ReportsBitsBeyondTheLimitAndGoesOnWithTheCutValue) {
  const std::vector<Case> cases = {
      {NumberBase::Decimal, NumberBase::Binary, "1267650600228229401496703205376", 5,
       "0"},  // 2^100
      {NumberBase::Decimal, NumberBase::Binary, "1267650600228229401496703205381", 5,
       "101"},  // 2^100 + 5
      {NumberBase::Decimal, NumberBase::Binary, "-2535301200456458802993406410752", 5,
       "-0"},  // -2^101
      {NumberBase::Decimal, NumberBase::Hex, Text("1", 40, '0', ""), 5,
       "35CA4BFABB9F5610000000000"},  // 10^40 mod 2^100
      {NumberBase::Decimal, NumberBase::Binary, Text("1", 200000, '0', "5.25"), 5,
       "101.01"},  // a long number is reduced before halving
      {NumberBase::Binary, NumberBase::Decimal, Text("1", 99, '0', "1"), 200,
       "1"},  // 101 integer bits
      {NumberBase::Hex, NumberBase::Decimal, Text("1", 24, '0', "5"), 200, "5"},
      {NumberBase::Octal, NumberBase::Decimal, Text("0.", 34, '0', "1"), 200, "0"},  // 2^-105
  };
  for (const auto& c : cases) {
    RecordingSink sink;
    Notices notices;
    EXPECT_EQ(ConvertNumber(c.from, c.to, c.text, c.precision, &notices), c.expected)
        << c.text.substr(0, 40);
    ReportNotices(notices, sink);
    ASSERT_EQ(sink.messages.size(), 1u);
    const RecordedMessage& m = sink.messages[0];
    EXPECT_EQ(m.kind, RecordedMessage::Input);
    EXPECT_EQ(m.caption, c.text);  // the dialog's first text: the number as given
    EXPECT_EQ(m.text, c.text + " exceeds the 100 bit limitation");
    EXPECT_EQ(m.hint,
              "If the integer part exceeds 100 bit, we convert the right 100 bit.If the float "
              "part exceeds 100 bit, we convert the left 100 bit.");
  }
  ExpectConversions({{NumberBase::Decimal, NumberBase::Binary, "1267650600228229401496703205375", 5,
                      std::string(100, '1')}});
}

// Leading zeros of the integer and trailing zeros of the fraction dropped,
// letters upper-cased.
std::string Normal(std::string text) {
  for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  while (text.find('.') != std::string::npos && (text.back() == '0' || text.back() == '.')) {
    text.pop_back();
  }
  text.erase(0, std::min(text.find_first_not_of('0'), text.size()));
  if (text.empty() || text[0] == '.') text.insert(text.begin(), '0');
  return text;
}

// Random numbers within the limits come back unchanged. Decimals are
// k / 2^m with at most 100 integer bits, which are exact in binary.
TEST(ConvertNumber, RoundTrips) {
  std::mt19937 random(7);
  auto digits = [&](std::size_t count, std::string_view alphabet) {
    std::string text;
    for (std::size_t i = 0; i < count; ++i) text.push_back(alphabet[random() % alphabet.size()]);
    return text;
  };
  RecordingSink sink;
  Notices notices;
  for (int round = 0; round < 30; ++round) {
    std::string integer_bits(1, '1');
    integer_bits += digits(random() % 100, "01");
    const std::string fraction_bits = digits(random() % 41, "01");
    Natural integer, numerator;
    for (char bit : integer_bits) integer.MultiplyAdd(2, bit - '0');
    for (char bit : fraction_bits) numerator.MultiplyAdd(2, bit - '0');
    const std::size_t m = fraction_bits.size();
    std::string fraction = Natural::Product(numerator, Natural::Power(5, m)).DigitText(10);
    fraction.insert(0, m - fraction.size(), '0');
    const std::string decimal = Normal(integer.DigitText(10) + "." + fraction);

    const std::string binary =
        ConvertNumber(NumberBase::Decimal, NumberBase::Binary, decimal, 40, &notices);
    EXPECT_EQ(binary, Normal(integer_bits + "." + fraction_bits)) << decimal;
    EXPECT_EQ(ConvertNumber(NumberBase::Binary, NumberBase::Decimal, binary, 40, &notices),
              decimal);

    const std::string hex = digits(1 + random() % 40, "0123456789abcdefABCDEF") + "." +
                            digits(random() % 40, "0123456789ABCDEF");
    EXPECT_EQ(ConvertNumber(NumberBase::Binary, NumberBase::Hex,
                            ConvertNumber(NumberBase::Hex, NumberBase::Binary, hex, 1, &notices), 1,
                            &notices),
              Normal(hex));

    const std::string octal =
        digits(1 + random() % 40, "01234567") + "." + digits(random() % 40, "01234567");
    EXPECT_EQ(ConvertNumber(NumberBase::Hex, NumberBase::Octal,
                            ConvertNumber(NumberBase::Octal, NumberBase::Hex, octal, 1, &notices),
                            1, &notices),
              Normal(octal));
  }
  ReportNotices(notices, sink);
  EXPECT_TRUE(sink.empty());
}

}  // namespace
}  // namespace calvoro
