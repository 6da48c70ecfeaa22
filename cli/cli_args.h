// Argument helpers shared by calvoro-cli's commands.
#pragma once

#include <cstdlib>
#include <optional>

namespace calvoro::cli {

// A whole decimal number from 0 to `max`, nothing else.
inline std::optional<int> ParseBounded(const char* text, long long max) {
  char* end = nullptr;
  const long long value = std::strtoll(text, &end, 10);
  if (*text == '\0' || *end != '\0' || value < 0 || value > max) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace calvoro::cli
