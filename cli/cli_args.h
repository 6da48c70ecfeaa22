// Helpers shared by calvoro-cli's commands: arguments and output.
#pragma once

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

namespace calvoro::cli {

// A whole decimal number from 0 to `max`, nothing else.
inline std::optional<int> ParseBounded(const char* text, long long max) {
  char* end = nullptr;
  const long long value = std::strtoll(text, &end, 10);
  if (*text == '\0' || *end != '\0' || value < 0 || value > max) return std::nullopt;
  return static_cast<int>(value);
}

// Writes an engine text to standard output with its "\r\n" breaks as "\n".
inline void WriteTerminalText(std::string_view text) {
  for (std::size_t cr; (cr = text.find('\r')) != std::string_view::npos;) {
    std::cout.write(text.data(), static_cast<std::streamsize>(cr));
    text.remove_prefix(cr + 1);
  }
  std::cout.write(text.data(), static_cast<std::streamsize>(text.size()));
}

// Prints an engine text as lines, without its trailing breaks.
inline void PrintLines(std::string_view text) {
  while (text.ends_with("\r\n")) text.remove_suffix(2);
  WriteTerminalText(text);
  std::cout << '\n';
}

}  // namespace calvoro::cli
