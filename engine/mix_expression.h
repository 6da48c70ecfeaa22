// Mix expressions: every number carries its own base by a head ("0b", "0",
// "0h", none); the engine converts them all into one result base.
#pragma once

#include <string>
#include <string_view>

#include "engine/message_sink.h"
#include "engine/number_base.h"

namespace calvoro {

// The four rule texts shown with "Syntax Error." for an invalid Mix number.
extern const std::string_view kMixRuleTexts;

// Whether every number of the (lower-case) expression is valid in the base
// its head names. Function names are skipped.
bool ValidateMixExpression(std::string_view expression);

struct MixConversion {
  std::string expression;  // every number converted into the result base
  NumberBase base;         // decimal if any decimal number occurs, else hex, octal, binary
};
MixConversion ConvertMixExpression(std::string_view expression, int precision, MessageSink& sink);

// The result with the head of its base, the sign before the head ("-0h1F").
std::string MixResultText(std::string_view result, NumberBase base);

}  // namespace calvoro
