// Radix: the radix of a number's digits, 2, 8, 10 or 16 and nothing else.
#pragma once

#include <optional>

namespace calvoro {

// Only the four named values can be built, so code that takes a Radix never
// meets an unsupported one. It reads as its int value (2, 8, 10, 16) for
// digit arithmetic; RadixOfValue checks an int read from outside.
class Radix {
 public:
  static const Radix kBinary;
  static const Radix kOctal;
  static const Radix kDecimal;
  static const Radix kHex;

  constexpr operator int() const { return value_; }

 private:
  constexpr explicit Radix(int value) : value_(value) {}
  int value_;
};

inline constexpr Radix Radix::kBinary{2};
inline constexpr Radix Radix::kOctal{8};
inline constexpr Radix Radix::kDecimal{10};
inline constexpr Radix Radix::kHex{16};

// The radix of the value 2, 8, 10 or 16; nothing for any other value.
constexpr std::optional<Radix> RadixOfValue(int value) {
  switch (value) {
    case 2:
      return Radix::kBinary;
    case 8:
      return Radix::kOctal;
    case 10:
      return Radix::kDecimal;
    case 16:
      return Radix::kHex;
    default:
      return std::nullopt;
  }
}

}  // namespace calvoro
