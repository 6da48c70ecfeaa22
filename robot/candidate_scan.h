// Finding the expressions written in running text: where a candidate
// starts and ends, which candidates are worth calculating, and how a
// candidate whose calculation failed is shortened for the next attempt.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace calvoro {

// Longer candidates are left unchanged: they are never calculated, and no
// line of the file is held in memory beyond about a megabyte.
inline constexpr std::size_t kMaxCandidateLength = 100000;

// One expression found in a line: its place and length.
struct RobotCandidate {
  std::size_t pos;
  std::size_t length;
};
// Characters a candidate extends over: digits, ".", ( ) * + - / ^ and the
// letters of the function names (either case).
bool IsCandidateChar(char c);
// The first candidate in `lower` (a lower-cased line) at or after `from`.
std::optional<RobotCandidate> FindCandidate(std::string_view lower, std::size_t from);
// Whether a candidate is worth calculating: not a plain number, not refused
// by the shape checks, something to calculate in it, and within the size bound.
bool IsCalculable(std::string_view candidate);
// The candidate shortened from the right for the next attempt (at least one
// character shorter; empty when nothing is left).
std::string_view ShortenExpression(std::string_view expression);

}  // namespace calvoro
