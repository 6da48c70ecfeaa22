#include <gtest/gtest.h>

#include <cctype>
#include <random>
#include <string>

#include "engine/number_base.h"
#include "tests/support/recording_sink.h"
#include "tests/support/reference_number.h"

namespace calvoro {
namespace {

using testing::Natural;
using testing::RecordedMessage;
using testing::RecordingSink;

struct Case {
  int from;
  int to;
  std::string text;
  int precision;
  std::string expected;
};

void ExpectConversions(const std::vector<Case>& cases) {
  for (const auto& c : cases) {
    RecordingSink sink;
    EXPECT_EQ(ConvertNumber(c.from, c.to, c.text, c.precision, sink), c.expected)
        << c.text << " from " << c.from << " to " << c.to << " with P = " << c.precision;
    EXPECT_TRUE(sink.empty()) << c.text;
  }
}

constexpr int kMix = kBaseMix;

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
      {16, 2, "A.8", 5, "1010.1"},
      {2, 8, "1010.1", 5, "12.4"},
      {16, 8, "f.8", 5, "17.4"},
      {2, 16, "0001.1000", 5, "1.8"},
      {2, 16, "0.000000000001", 1, "0.001"},
      {16, 8, Text("0.", 32, 'F', ""), 1, Text("0.", 42, '7', "6")},
      // Through decimal: P digits to 10, 4P bits to 2, P digits to 16,
      // (4P) / 3 digits to 8; at most 100 fraction bits; truncated.
      {16, 10, "a.8", 5, "10.5"},
      {2, 10, "0.0001", 3, "0.062"},
      {10, 16, "255.5", 3, "FF.8"},
      {10, 2, "10.625", 5, "1010.101"},
      {10, 2, "0.1", 2, "0.00011001"},
      {10, 16, "0.1", 3, "0.199"},
      {10, 8, "0.1", 3, "0.0631"},
      {10, 8, "0.1", 2, "0.06"},
      {10, 16, "0.1", 50, Text("0.1", 24, '9', "")},
      {10, 8, "0.1", 50, "0.063146314631463146314631463146314"},
      {10, 10, "007.50", 2, "7.5"},
      // Sign and brackets kept; the sign may stand before a head.
      {16, 2, "(-A.8)", 5, "(-1010.1)"},
      {10, 16, "+255", 5, "FF"},
      {2, 10, "-0b101", 5, "-5"},
      {kMix, 2, "(-0h1F)", 5, "(-11111)"},
      // Into Mix the number keeps its base and gets the head; from Mix the
      // head names the base.
      {2, kMix, "101", 5, "0b101"},
      {8, kMix, "17", 5, "017"},
      {10, kMix, "12.5", 5, "12.5"},
      {16, kMix, "-1F", 5, "-0h1F"},
      {2, kMix, "(-0b101)", 5, "(-0b101)"},
      {kMix, 16, "0b101", 5, "5"},
      {kMix, 10, "017", 5, "15"},
      {kMix, 8, "0B11.1", 5, "3.4"},
      {kMix, 10, "0", 5, "0"},
      {kMix, 16, "00.4", 5, "0.8"},
  });
}

TEST(ConvertNumber, ReportsBitsBeyondTheLimitAndGoesOnWithTheCutValue) {
  const std::vector<Case> cases = {
      {10, 2, "1267650600228229401496703205376", 5, "0"},                // 2^100
      {10, 2, "1267650600228229401496703205381", 5, "101"},              // 2^100 + 5
      {10, 2, "-2535301200456458802993406410752", 5, "-0"},              // -2^101
      {10, 16, Text("1", 40, '0', ""), 5, "35CA4BFABB9F5610000000000"},  // 10^40 mod 2^100
      {10, 2, Text("1", 200000, '0', "5.25"), 5,
       "101.01"},                                  // a long number is reduced before halving
      {2, 10, Text("1", 99, '0', "1"), 200, "1"},  // 101 integer bits
      {16, 10, Text("1", 24, '0', "5"), 200, "5"},
      {8, 10, Text("0.", 34, '0', "1"), 200, "0"},  // 2^-105
  };
  for (const auto& c : cases) {
    RecordingSink sink;
    EXPECT_EQ(ConvertNumber(c.from, c.to, c.text, c.precision, sink), c.expected)
        << c.text.substr(0, 40);
    ASSERT_EQ(sink.messages.size(), 1u);
    const RecordedMessage& m = sink.messages[0];
    EXPECT_EQ(m.kind, RecordedMessage::Input);
    EXPECT_EQ(m.caption, c.text);  // the dialog's first text: the number as given
    EXPECT_EQ(m.text, c.text + " exceeds the 100 bit limitation");
    EXPECT_EQ(m.hint,
              "If the integer part exceeds 100 bit, we convert the right 100 bit.If the float "
              "part exceeds 100 bit, we convert the left 100 bit.");
  }
  ExpectConversions({{10, 2, "1267650600228229401496703205375", 5, std::string(100, '1')}});
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

    const std::string binary = ConvertNumber(10, 2, decimal, 40, sink);
    EXPECT_EQ(binary, Normal(integer_bits + "." + fraction_bits)) << decimal;
    EXPECT_EQ(ConvertNumber(2, 10, binary, 40, sink), decimal);

    const std::string hex = digits(1 + random() % 40, "0123456789abcdefABCDEF") + "." +
                            digits(random() % 40, "0123456789ABCDEF");
    EXPECT_EQ(ConvertNumber(2, 16, ConvertNumber(16, 2, hex, 1, sink), 1, sink), Normal(hex));

    const std::string octal =
        digits(1 + random() % 40, "01234567") + "." + digits(random() % 40, "01234567");
    EXPECT_EQ(ConvertNumber(16, 8, ConvertNumber(8, 16, octal, 1, sink), 1, sink), Normal(octal));
  }
  EXPECT_TRUE(sink.empty());
}

}  // namespace
}  // namespace calvoro
