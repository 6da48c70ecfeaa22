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

// An engine text for the terminal: "\r\n" breaks become "\n".
inline std::string TerminalText(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 1);
  for (char c : text) {
    if (c != '\r') out += c;
  }
  return out;
}

// Prints an engine text as lines, without its trailing breaks.
inline void PrintLines(std::string_view text) {
  while (text.ends_with("\r\n")) text.remove_suffix(2);
  std::cout << TerminalText(text) << '\n';
}

}  // namespace calvoro::cli
