// Helpers shared by calvoro-cli's commands: arguments and output.
#pragma once

#include <cstdlib>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>

#include "cli/command_line.h"

namespace calvoro::cli {

// A whole decimal number from 0 to `max`, nothing else.
inline std::optional<int> ParseBounded(const char* text, long long max) {
  char* end = nullptr;
  const long long value = std::strtoll(text, &end, 10);
  if (*text == '\0' || *end != '\0' || value < 0 || value > max) return std::nullopt;
  return static_cast<int>(value);
}

// The input without its blanks (spaces and tabs), which the calculator's
// input fields never let in: "3 + 4" is "3+4". A text without blanks comes
// back as it is, so a number of millions of digits is neither copied nor
// walked character by character.
inline std::string WithoutBlanks(std::string text) {
  if (text.find(' ') == std::string::npos && text.find('\t') == std::string::npos) return text;
  std::erase_if(text, [](char c) { return c == ' ' || c == '\t'; });
  return text;
}

// A value of --precision or --threshold: a usage error of `command` when it
// is not a whole number from 0 to `max`.
inline bool ReadBoundedOption(const CommandLine& line, std::string_view name, long long max,
                              std::optional<int>& value) {
  const auto text = line.Value(name);
  if (!text) return true;
  value = ParseBounded(text->c_str(), max);
  if (value) return true;
  UsageError(line.command,
             "--" + std::string(name) + " takes a whole number from 0 to " + std::to_string(max));
  return false;
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
