// Character filters of the input fields.
#include "app/input_filter.h"

#include <gtest/gtest.h>

#include <string>

namespace calvoro {
namespace {

// Types `keys` one by one into an empty field through a filter in `base`.
std::string Typed(std::string_view keys, int base = 10) {
  ExprFilter filter;
  filter.SetBase(base);
  EditField field;
  for (char c : keys) filter.TypeCharInto(c, field);
  return field.text;
}

struct TypeCase {
  const char* keys;
  int base;
  const char* text;
};

TEST(ExprFilterTest, NamesAndCharacters) {
  const TypeCase cases[] = {
      {"sin(", 10, "Sin("},
      {"sinx", 10, "Sin"},  // a function name wants its bracket
      {"so", 10, "S"},      // "so" starts no name
      {"sinh(", 10, "Sinh("},
      {"sqrt(", 10, "Sqrt("},
      {"arcsin(", 10, "Arcsin("},
      {"arcsec(", 10, "Arcsec("},
      {"sec(", 10, "Sec("},
      {"ln(", 10, "Ln("},
      {"exp(2)", 10, "Exp(2)"},
      {"SIN(", 10, "Sin("},  // comparisons in lower case
      {"last3(", 10, "Last3("},
      {"last6", 10, "Last"},
      {"pi*2", 10, "Pi*2"},  // Pi is complete without a bracket
      {"fac(", 10, "Fac("},
      {"f+1", 10, "F+1"},  // a lone f is the parameter F
      {"(f)=", 10, "(F)"},
      {"(m)", 10, "(M)"},
      {"kmwy", 10, "KMWY"},
      {"2x", 10, "2X"},
      {"b", 10, ""},  // no digit in base 10
      {"g", 16, ""},
      {"2.5", 10, "2.5"},
      {"2..", 10, "2."},
      {"+.", 10, "+"},
      {".", 10, ""},
      {"a5", 10, "A"},
      {"b", 16, "b"},
      {"A5", 16, "A5"},  // letters a-f leading to no name are hexadecimal digits
      {"C+1", 16, "C+1"},
      {"E)", 16, "E)"},
      {"A.8", 16, "A.8"},
      {"dec", 16, "DeC"},
      {"fa5", 16, "Fa5"},
      {"fac1", 16, "Fac1"},
      {"fac(", 16, "Fac("},
      {"sin(", 16, "Sin("},
      {"0hff", 100, "0hFF"},
      {"0b1.1", 100, "0b1.1"},
      {"0h", 16, "0"},  // the head is only for Mix
      {"A.8", 100, "A.8"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Typed(c.keys, c.base), c.text) << c.keys << " in base " << c.base;
  }
}

TEST(ExprFilterTest, NameState) {
  ExprFilter filter;
  EditField field;
  for (char c : std::string("sin")) filter.TypeCharInto(c, field);
  EXPECT_EQ(filter.pendingName(), "sin");
  EXPECT_TRUE(filter.expectBracket());
  filter.TypeCharInto('h', field);
  EXPECT_TRUE(filter.expectBracket());
  filter.TypeCharInto('(', field);
  EXPECT_EQ(filter.pendingName(), "");
  EXPECT_FALSE(filter.expectBracket());
  EXPECT_EQ(filter.lastChar(), '(');
}

TEST(ExprFilterTest, EqualAsksTheOwner) {
  ExprFilter filter;
  EditField field{"2+3", 3, 3};
  const FilterAction action = filter.TypeCharInto('=', field);
  EXPECT_EQ(action, (FilterAction{false, true, ""}));
  EXPECT_EQ(field.text, "2+3");
}

TEST(ExprFilterTest, ResultShownStartsANewInput) {
  ExprFilter filter;
  EditField field{"2+3=5", 5, 5};
  filter.MarkResultShown();
  EXPECT_FALSE(filter.Backspace(field));
  EXPECT_EQ(field.text, "2+3=5");
  EXPECT_EQ(filter.TypeCharInto('7', field), (FilterAction{true, false, "7"}));
  EXPECT_EQ(field.text, "7");
  EXPECT_FALSE(filter.resultShown());

  // A point needs a digit typed into the new input.
  field = {"2+3=5", 5, 5};
  filter.MarkResultShown();
  filter.TypeCharInto('.', field);
  EXPECT_EQ(field.text, "");

  // A selection goes with the result.
  field = {"2+3=5", 0, 5};
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
  EXPECT_FALSE(field.HasSelection());
  field = {"12+34", 3, 5};
  filter.TypeCharInto('#', field);  // nothing a key delivers
  EXPECT_EQ(field.text, "12+34");
}

TEST(ExprFilterTest, BackspaceReadsTheNameAgain) {
  ExprFilter filter;
  EditField field;
  for (char c : std::string("sin(")) filter.TypeCharInto(c, field);
  ASSERT_TRUE(filter.Backspace(field));
  EXPECT_EQ(field.text, "Sin");
  filter.TypeCharInto('h', field);
  EXPECT_EQ(field.text, "Sinh");

  // A removed point may be typed again.
  field.Clear();
  filter.NoteCleared();
  for (char c : std::string("1.")) filter.TypeCharInto(c, field);
  filter.Backspace(field);
  filter.TypeCharInto('.', field);
  EXPECT_EQ(field.text, "1.");

  // A selection across the name's end: the name is read from what is left.
  field = {"2+Sin", 5, 3};
  filter.Backspace(field);
  EXPECT_EQ(field.text, "2+S");
  EXPECT_EQ(filter.pendingName(), "s");
  filter.TypeCharInto('q', field);
  EXPECT_EQ(field.text, "2+Sq");

  field = {"", 0, 0};
  EXPECT_FALSE(filter.Backspace(field));
}

struct ResyncCase {
  const char* before;
  const char* name;
  bool bracket;
  char last;
};

TEST(ExprFilterTest, ResyncFromText) {
  const ResyncCase cases[] = {
      {"2+Sin", "sin", true, 'n'},    {"MSi", "si", false, 'i'}, {"Pi", "", false, 'i'},
      {"Last3", "", false, '3'},      {"2F", "f", false, 'F'},   {"2X", "", false, 'X'},
      {"Arcse", "arcse", false, 'e'}, {"", "", false, ' '},
  };
  for (const auto& c : cases) {
    ExprFilter filter;
    filter.Resync(c.before);
    EXPECT_EQ(filter.pendingName(), c.name) << c.before;
    EXPECT_EQ(filter.expectBracket(), c.bracket) << c.before;
    EXPECT_EQ(filter.lastChar(), c.last) << c.before;
  }
}

TEST(ExprFilterTest, OwnerNotices) {
  ExprFilter filter;
  filter.SetBase(16);
  EditField field;
  filter.TypeCharInto('a', field);
  // The base switch rewrites "A" as "10"; "b" must not continue "abs".
  filter.SetBase(10);
  field = {"10", 2, 2};
  filter.Resync(field.text);
  filter.TypeCharInto('b', field);
  EXPECT_EQ(field.text, "10");

  // Text pasted or inserted by a button closes the name and sets the last
  // character.
  field = {"S", 1, 1};
  filter.Resync(field.text);
  field.Insert("25");
  filter.NoteInserted("25");
  filter.TypeCharInto('.', field);
  EXPECT_EQ(field.text, "S25.");

  filter.NoteCleared();
  field.Clear();
  filter.TypeCharInto('.', field);
  EXPECT_EQ(field.text, "");
}

TEST(SimpleFieldFilterTest, AcceptedCharacters) {
  EXPECT_TRUE(FloatFieldAccepts('7', 3));
  EXPECT_TRUE(FloatFieldAccepts('.', 3));
  EXPECT_TRUE(FloatFieldAccepts(kBackspaceKey, 3));
  EXPECT_TRUE(FloatFieldAccepts('-', 0));
  EXPECT_FALSE(FloatFieldAccepts('-', 1));
  EXPECT_FALSE(FloatFieldAccepts('e', 0));
  EXPECT_FALSE(FloatFieldAccepts('+', 0));

  EXPECT_TRUE(ConvFloatFieldAccepts('0'));
  EXPECT_TRUE(ConvFloatFieldAccepts('.'));
  EXPECT_TRUE(ConvFloatFieldAccepts(kBackspaceKey));
  EXPECT_FALSE(ConvFloatFieldAccepts('-'));
  EXPECT_TRUE(ConvFloatFieldNotifies('9'));
  EXPECT_FALSE(ConvFloatFieldNotifies('.'));

  for (char c : std::string("09.AEae()*+-/\b")) EXPECT_TRUE(LetterExprFieldAccepts(c)) << c;
  for (char c : std::string("Ff^xX= ")) EXPECT_FALSE(LetterExprFieldAccepts(c)) << c;
}

TEST(EditFieldTest, PositionsOutsideTheTextAreClamped) {
  EditField field{"12", 9, 9};
  field.Insert("3");
  EXPECT_EQ(field.text, "123");
  EXPECT_EQ(field.caret, 3u);
}

}  // namespace
}  // namespace calvoro
