// Text wrapping of the input-message dialog's fields.
#include "app/wrapped_text.h"

#include <algorithm>

namespace calvoro {

WrappedText SetWrappedText(std::string_view text, int width, int maxLines) {
  WrappedText out;
  const std::size_t w = static_cast<std::size_t>(std::max(width, 1));
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t end = std::min(i + w, text.size());
    std::size_t next = end;
    if (end < text.size()) {
      // The break takes the place of a blank: the one right after a full
      // line, or the last one within it.
      if (text[end] == ' ') {
        next = end + 1;
      } else if (const std::size_t blank = text.rfind(' ', end - 1);
                 blank != std::string_view::npos && blank > i) {
        end = blank;
        next = blank + 1;
      }
    }
    out.text.append(text.substr(i, end - i)).append("\r\n");
    ++out.lines;
    i = next;
  }
  out.scrollBar = out.lines >= maxLines;
  return out;
}

}  // namespace calvoro
