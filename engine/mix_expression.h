// Mix expressions: every number carries its own base by a head ("0b", "0",
// "0h", none); the engine converts them all into one result base.
#pragma once

#include <string>
#include <string_view>

#include "engine/number_base.h"
#include "engine/refusal.h"

namespace calvoro {

// Whether every number of the (lower-case) expression is valid in the base
// its head names. Function names are skipped.
bool ValidateMixExpression(std::string_view expression);

struct MixConversion {
  std::string expression;  // every number converted into the result base
  NumberBase base;         // decimal if any decimal number occurs, else hex, octal, binary
};
// A number cut to 100 bits on the way adds a notice to `notices`.
MixConversion ConvertMixExpression(std::string_view expression, int precision,
                                   Notices* notices = nullptr);

// The result with the head of its base, the sign before the head ("-0h1F").
std::string MixResultText(std::string_view result, NumberBase base);

}  // namespace calvoro
