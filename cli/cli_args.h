// Argument helpers shared by calvoro-cli's commands.
#pragma once

#include <cstdlib>
#include <optional>

namespace calvoro::cli {

// Bounds of --precision and --threshold.
inline constexpr long long kMaxPrecisionArg = 1000000;
inline constexpr long long kMaxThresholdArg = 1000000000;

// A whole decimal number from 0 to `max`, nothing else.
inline std::optional<int> ParseBounded(const char* text, long long max) {
  char* end = nullptr;
  const long long value = std::strtoll(text, &end, 10);
  if (*text == '\0' || *end != '\0' || value < 0 || value > max) return std::nullopt;
  return static_cast<int>(value);
}

}  // namespace calvoro::cli
