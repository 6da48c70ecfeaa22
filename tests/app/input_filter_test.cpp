// Character filters of the input fields.
#include "app/input_filter.h"

#include <gtest/gtest.h>

#include <string>

namespace calvoro {
namespace {

// Types `keys` one by one into an empty field through a filter in `base`.
std::string Typed(std::string_view keys, NumberBase base = NumberBase::Decimal) {
  ExprFilter filter;
  filter.SetBase(base);
  EditField field;
  for (char c : keys) filter.TypeCharInto(c, field);
  return field.text;
}

TEST(ExprFilterTest, NamesAndCharacters) {
  struct Case {
    const char* keys;
    NumberBase base;
    const char* text;
  };
  // A function name wants its bracket; a lone f is the parameter F; in
  // bases 16 and Mix letters a-f that lead to no name are digits; the head
  // "0h" is only for Mix.
  constexpr NumberBase kDec = NumberBase::Decimal, kHex = NumberBase::Hex, kMix = NumberBase::Mix;
  // clang-format off
  const Case cases[] = {
      {"sin(", kDec, "Sin("},       {"sinx", kDec, "Sin"},        {"so", kDec, "S"},
      {"sinh(", kDec, "Sinh("},     {"sqrt(", kDec, "Sqrt("},     {"arcsin(", kDec, "Arcsin("},
      {"arcsec(", kDec, "Arcsec("}, {"sec(", kDec, "Sec("},       {"ln(", kDec, "Ln("},
      {"SIN(", kDec, "Sin("},       {"last3(", kDec, "Last3("},   {"last6", kDec, "Last"},
      {"pi*2", kDec, "Pi*2"},       {"fac(", kDec, "Fac("},       {"f+1", kDec, "F+1"},
      {"(f)=", kDec, "(F)"},        {"(m)", kDec, "(M)"},         {"kmwy", kDec, "KMWY"},
      {"2x", kDec, "2X"},           {"b", kDec, ""},              {"g", kHex, ""},
      {"2..5", kDec, "2.5"},        {"+.", kDec, "+"},            {".", kDec, ""},
      {"a5", kDec, "A"},            {"b", kHex, "b"},             {"A5", kHex, "A5"},
      {"C+1", kHex, "C+1"},         {"E)", kHex, "E)"},           {"A.8", kHex, "A.8"},
      {"dec", kHex, "DeC"},         {"fa5", kHex, "Fa5"},         {"fac1", kHex, "Fac1"},
      {"fac(", kHex, "Fac("},       {"0hff", kMix, "0hFF"},       {"0b1.1", kMix, "0b1.1"},
      {"0h", kHex, "0"}};
  // clang-format on
  for (const auto& c : cases) {
    EXPECT_EQ(Typed(c.keys, c.base), c.text) << c.keys << " in base " << RadixOf(c.base);
  }
}

TEST(ExprFilterTest, EqualAsksTheOwner) {
  ExprFilter filter;
  EditField field{"2+3", 3, 3};
  EXPECT_EQ(filter.TypeCharInto('=', field), (FilterAction{false, true, ""}));
  EXPECT_EQ(field.text, "2+3");
}

TEST(ExprFilterTest, ResultShownStartsANewInput) {
  ExprFilter filter;
  EditField field{"2+3=5", 5, 5};
  filter.MarkResultShown();
  EXPECT_FALSE(filter.Backspace(field));
  EXPECT_EQ(filter.TypeCharInto('7', field), (FilterAction{true, false, "7"}));
  EXPECT_EQ(field.text, "7");

  // A point needs a digit of the new input; a selection goes with the result.
  field = {"2+3=5", 0, 5};
  filter.MarkResultShown();
  filter.TypeCharInto('.', field);
  EXPECT_EQ(field.text, "");
  filter.MarkResultShown();
  filter.TypeCharInto('s', field);
  EXPECT_EQ(field.text, "S");
  EXPECT_EQ(filter.pendingName(), "s");
}

TEST(ExprFilterTest, SelectionIsReplaced) {
  ExprFilter filter;
  EditField field{"12+34", 5, 3};
  filter.TypeCharInto('5', field);
  EXPECT_EQ(field.text, "12+5");
  EXPECT_EQ(field.caret, 4u);
  field = {"12+34", 3, 5};
  filter.TypeCharInto('#', field);  // nothing a key delivers
  EXPECT_EQ(field.text, "12+34");
}

TEST(ExprFilterTest, BackspaceReadsTheNameAgain) {
  ExprFilter filter;
  EditField field;
  for (char c : std::string("sin(")) filter.TypeCharInto(c, field);
  ASSERT_TRUE(filter.Backspace(field));
  EXPECT_TRUE(filter.expectBracket());
  filter.TypeCharInto('h', field);
  EXPECT_EQ(field.text, "Sinh");

  // A removed point may be typed again.
  field = {"1.", 2, 2};
  filter.Resync(field.text);
  filter.Backspace(field);
  filter.TypeCharInto('.', field);
  EXPECT_EQ(field.text, "1.");

  // A selection across the name's end: the name is read from what is left.
  field = {"2+MSin", 6, 4};
  filter.Backspace(field);
  EXPECT_EQ(filter.pendingName(), "s");
  filter.TypeCharInto('q', field);
  EXPECT_EQ(field.text, "2+MSq");

  // Closed names and the unknown start nothing.
  for (const char* text : {"Pi", "Last3", "2X"}) {
    filter.Resync(text);
    EXPECT_EQ(filter.pendingName(), "") << text;
  }
  field = {"", 0, 0};
  EXPECT_FALSE(filter.Backspace(field));
}

TEST(ExprFilterTest, OwnerNotices) {
  ExprFilter filter;
  filter.SetBase(NumberBase::Hex);
  EditField field;
  filter.TypeCharInto('a', field);
  // The base switch rewrites "A" as "10"; "b" must not continue "abs".
  filter.SetBase(NumberBase::Decimal);
  field = {"10", 2, 2};
  filter.Resync(field.text);
  filter.TypeCharInto('b', field);
  EXPECT_EQ(field.text, "10");

  // Text inserted by the window closes the name and sets the last character.
  field = {"S", 1, 1};
  filter.Resync(field.text);
  field.Insert("25");
  filter.NoteInserted("25");
  filter.TypeCharInto('.', field);
  EXPECT_EQ(field.text, "S25.");
}

TEST(SimpleFieldFilterTest, AcceptedCharacters) {
  for (char c : std::string("07.\b")) EXPECT_TRUE(FloatFieldAccepts(c, 3)) << c;
  EXPECT_TRUE(FloatFieldAccepts('-', 0));
  EXPECT_FALSE(FloatFieldAccepts('-', 1));
  EXPECT_FALSE(FloatFieldAccepts('+', 0));
  for (char c : std::string("09.\b")) EXPECT_TRUE(ConvFloatFieldAccepts(c)) << c;
  EXPECT_FALSE(ConvFloatFieldAccepts('-'));
  EXPECT_TRUE(ConvFloatFieldNotifies('9'));
  EXPECT_FALSE(ConvFloatFieldNotifies('.'));
  for (char c : std::string("09.AEae()*+-/\b")) EXPECT_TRUE(LetterExprFieldAccepts(c)) << c;
  for (char c : std::string("Ff^xX= ")) EXPECT_FALSE(LetterExprFieldAccepts(c)) << c;
}

}  // namespace
}  // namespace calvoro
