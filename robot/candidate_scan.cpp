#include "robot/candidate_scan.h"

#include <algorithm>
#include <array>

#include "engine/expression_text.h"

namespace calvoro {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsOperator(char c) { return c == '+' || c == '-' || c == '*' || c == '/' || c == '^'; }
// What cannot end an expression: an operator or an open bracket.
bool IsDangling(char c) { return IsOperator(c) || c == '('; }

// The candidate characters as a table over all byte values, the letters
// taken from the engine's function names in both cases.
std::array<bool, 256> BuildCandidateTable() {
  std::array<bool, 256> table{};
  for (unsigned char c : std::string_view("0123456789.()*+-/^")) table[c] = true;
  for (std::string_view name : kFunctionNames) {
    for (char c : name) {
      table[static_cast<unsigned char>(c)] = true;
      table[static_cast<unsigned char>(c - 'a' + 'A')] = true;
    }
  }
  return table;
}
const std::array<bool, 256> kCandidateTable = BuildCandidateTable();

bool IsLetter(char c) { return c >= 'a' && c <= 'z'; }

// A digit, or a function name directly followed by "(", starts a candidate.
bool StartsCandidate(std::string_view lower, std::size_t i) {
  if (IsDigit(lower[i])) return true;
  const std::string_view name = FunctionNameAt(lower, i);
  return !name.empty() && i + name.size() < lower.size() && lower[i + name.size()] == '(';
}

}  // namespace

bool IsCandidateChar(char c) { return kCandidateTable[static_cast<unsigned char>(c)]; }

std::optional<RobotCandidate> FindCandidate(std::string_view lower, std::size_t from) {
  // A function name can start a candidate only a few places before a "(":
  // the names are looked up only there.
  std::size_t longest = 0;
  for (std::string_view name : kFunctionNames) longest = std::max(longest, name.size());
  std::size_t start = from;
  std::size_t open = lower.find('(', from);
  for (; start < lower.size(); ++start) {
    if (IsDigit(lower[start])) break;
    if (open < start) open = lower.find('(', start);
    if (open != std::string_view::npos && open - start <= longest && StartsCandidate(lower, start))
      break;
  }
  if (start == lower.size()) return std::nullopt;
  // Open brackets just before the start belong to the expression; so does a
  // sign or point before them, which the shape checks then refuse, so that
  // "-5+3" is never calculated as 5+3.
  std::size_t begin = start;
  int depth = 0;
  while (begin > from && lower[begin - 1] == '(') {
    --begin;
    ++depth;
  }
  if (begin > from &&
      (lower[begin - 1] == '+' || lower[begin - 1] == '-' || lower[begin - 1] == '.'))
    --begin;
  // A ")" that closes no bracket of the candidate, and a "." that no digit
  // follows (a full stop), end it.
  std::size_t end = start;
  for (; end < lower.size(); ++end) {
    const char c = lower[end];
    if (c == '(') {
      ++depth;
    } else if (c == ')') {
      if (depth == 0) break;
      --depth;
    } else if (c == '.') {
      if (end + 1 == lower.size() || !IsDigit(lower[end + 1])) break;
    } else if (!IsCandidateChar(c)) {
      break;
    }
  }
  return RobotCandidate{begin, end - begin};
}

bool IsCalculable(std::string_view candidate) {
  if (candidate.empty() || candidate.size() > kMaxCandidateLength) return false;
  const char first = candidate.front();
  if (first == '.' || first == ')' || IsOperator(first)) return false;
  bool operation = false;
  for (std::size_t i = 0; i < candidate.size(); ++i) {
    const char c = candidate[i];
    if (IsOperator(c)) {
      if (i + 1 < candidate.size() && IsOperator(candidate[i + 1])) return false;
      operation = true;
    } else if (c == '(' && i > 0 && IsLetter(candidate[i - 1] | 0x20)) {
      operation = true;  // a function call
    }
  }
  // A number needs no calculation.
  return operation;
}

std::string_view ShortenExpression(std::string_view expression) {
  if (expression.empty()) return expression;
  const auto drop_dangling = [&expression] {
    while (!expression.empty() && IsDangling(expression.back())) expression.remove_suffix(1);
  };
  if (IsDangling(expression.back())) {
    drop_dangling();
    return expression;
  }
  // The last operand piece: a ")", a number, or a word.
  if (expression.back() == ')') {
    expression.remove_suffix(1);
  } else {
    const bool number = IsDigit(expression.back()) || expression.back() == '.';
    while (!expression.empty() && expression.back() != ')' && !IsDangling(expression.back()) &&
           (IsDigit(expression.back()) || expression.back() == '.') == number)
      expression.remove_suffix(1);
  }
  drop_dangling();
  return expression;
}

}  // namespace calvoro
