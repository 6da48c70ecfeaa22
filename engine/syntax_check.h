// The syntax checker: judges each character of an expression by its
// neighbours and reports the first violation with its 1-based position.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/number_base.h"

namespace calvoro {

struct SyntaxViolation {
  int position = 0;  // 1-based position of the offending character (0: none)
  std::string message;
  std::string hint;
};

// Returns true when the expression passes; otherwise false with `violation`
// filled.
bool CheckSyntax(std::string_view expression, NumberBase base, SyntaxViolation& violation);
// The same for an expression already in lower case.
bool CheckLowerCaseSyntax(std::string_view expression, NumberBase base, SyntaxViolation& violation);

struct WordEntry {
  std::string_view word;
  int flag;  // 0: function that takes only a plain number; 1: value word
};

// The function words (flag 0) and value words (flag 1) of expressions.
std::vector<WordEntry> BuildWordTable();

}  // namespace calvoro
