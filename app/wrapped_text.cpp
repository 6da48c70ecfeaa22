// Text wrapping of the input-message dialog's fields.
#include "app/wrapped_text.h"

namespace calvoro {

WrappedText SetWrappedText(std::string_view text, int width, int maxLines) {
  WrappedText out;
  if (width <= 0) width = 1;
  for (std::size_t i = 0; i < text.size(); i += static_cast<std::size_t>(width)) {
    out.text.append(text.substr(i, static_cast<std::size_t>(width))).append("\r\n");
    ++out.lines;
  }
  out.scrollBar = out.lines >= maxLines;
  return out;
}

}  // namespace calvoro
