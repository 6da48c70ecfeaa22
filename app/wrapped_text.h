// Text wrapping of the input-message dialog's fields.
#pragma once

#include <string>
#include <string_view>

namespace calvoro {

struct WrappedText {
  std::string text;        // lines of at most `width` characters, each followed by "\r\n"
  int lines = 0;           // number of pieces
  bool scrollBar = false;  // shown when the pieces reach `maxLines`
};

// Cuts `text` into lines of at most `width` characters from its first
// character, at blanks: a line ends before the last blank that fits (the
// break replaces the blank); a word longer than a line is cut.
WrappedText SetWrappedText(std::string_view text, int width, int maxLines);

}  // namespace calvoro
