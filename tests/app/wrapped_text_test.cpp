// Wrapping of the input-message dialog's fields.
#include "app/wrapped_text.h"

#include <gtest/gtest.h>

#include <string>

namespace calvoro {
namespace {

struct WrapCase {
  int length, width, maxLines;
  int lines;
  bool scrollBar;
};

TEST(WrappedTextTest, PiecesAndScrollBar) {
  const WrapCase cases[] = {
      {56, 55, 5, 2, false},                          // the second line holds one character
      {55, 55, 5, 1, false},                          // one line followed by a line break
      {260, 65, 4, 4, true},  {259, 65, 4, 4, true},  // the last line shorter
      {195, 65, 4, 3, false}, {0, 65, 4, 0, false},   // empty field, no scroll bar
  };
  for (const auto& c : cases) {
    const std::string text(static_cast<std::size_t>(c.length), 'a');
    const WrappedText wrapped = SetWrappedText(text, c.width, c.maxLines);
    EXPECT_EQ(wrapped.lines, c.lines) << c.length;
    EXPECT_EQ(wrapped.scrollBar, c.scrollBar) << c.length;
    EXPECT_EQ(wrapped.text.size(), text.size() + 2 * static_cast<std::size_t>(c.lines));
  }
}

TEST(WrappedTextTest, BreaksAtBlanks) {
  struct Case {
    const char* text;
    int width;
    const char* wrapped;
  };
  const Case cases[] = {
      {"abcdefg", 3, "abc\r\ndef\r\ng\r\n"},                     // no blank: cut
      {"the limitation of", 10, "the\r\nlimitation\r\nof\r\n"},  // never inside a word
      {"ab cdefghij k", 4, "ab\r\ncdef\r\nghij\r\nk\r\n"},       // a long word is cut
      {"abc def", 3, "abc\r\ndef\r\n"},                          // the blank after a full line
  };
  for (const Case& c : cases) EXPECT_EQ(SetWrappedText(c.text, c.width, 9).text, c.wrapped);
}

}  // namespace
}  // namespace calvoro
