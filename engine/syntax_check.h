// The syntax checker: judges each character of an expression by its
// neighbours and refuses the first violation, with its 1-based position
// where it has one (kCharBefore, kCharAfter, ...: shown in the input-message
// dialog with a hint).
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/number_base.h"
#include "engine/refusal.h"

namespace calvoro {

// Success when the expression passes; otherwise its first violation, the
// expression as its input.
Status CheckSyntax(std::string_view expression, NumberBase base);
// The same for an expression already in lower case.
Status CheckLowerCaseSyntax(std::string_view expression, NumberBase base);
// The 1-based position a syntax refusal names; 0 for none.
int SyntaxPosition(const Refusal& refusal);

struct WordEntry {
  std::string_view word;
  int flag;  // 0: function that takes only a plain number; 1: value word
};

// The function words (flag 0) and value words (flag 1) of expressions.
std::vector<WordEntry> BuildWordTable();

}  // namespace calvoro
