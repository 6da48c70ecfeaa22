// Text wrapping of the input-message dialog's fields.
#pragma once

#include <string>
#include <string_view>

namespace calvoro {

struct WrappedText {
  std::string text;        // pieces of `width` characters, each followed by "\r\n"
  int lines = 0;           // number of pieces
  bool scrollBar = false;  // shown when the pieces reach `maxLines`
};

// Cuts `text` into consecutive pieces of `width` characters from its first
// character (the last piece may be shorter).
WrappedText SetWrappedText(std::string_view text, int width, int maxLines);

}  // namespace calvoro
