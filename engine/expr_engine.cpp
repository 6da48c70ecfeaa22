// The calculation driver: one typed expression from clean-up to the
// formatted result and its step text.
#include "engine/expr_engine.h"

#include <algorithm>
#include <cstdio>

#include "engine/apply_operator.h"
#include "engine/evaluator.h"
#include "engine/expression_bounds.h"
#include "engine/expression_scan.h"
#include "engine/functions.h"
#include "engine/mix_expression.h"
#include "engine/number_base.h"
#include "engine/refusal.h"
#include "engine/syntax_check.h"
#include "numeric/digit_text.h"
#include "numeric/number_text.h"
#include "numeric/precise_functions.h"
#include "numeric/precision.h"

namespace calvoro {
namespace {

// Decimals of the default Pi beyond the working precision.
constexpr int kPiGuardDigits = 10;

// A number text with its units digit: ".5" is "0.5", and "" and "-" (what
// ".0" and "-.0" strip to) are "0" and "-0".
std::string WithUnitsDigit(std::string text) {
  const std::size_t start = !text.empty() && (text[0] == '-' || text[0] == '+') ? 1 : 0;
  if (start == text.size() || text[start] == '.') text.insert(start, "0");
  return text;
}

std::tm LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return local;
}

// The text with its fraction rounded to `digits` places in `radix` (it has
// more).
std::string RoundedFraction(std::string_view text, Radix radix, int digits) {
  std::string sign;
  if (text.front() == '-') {
    sign = "-";
    text.remove_prefix(1);
  }
  // Integer and fraction digits kept, the point left out while rounding.
  const std::size_t int_digits = text.find('.');
  std::string kept = std::string(text.substr(0, int_digits)) +
                     std::string(text.substr(int_digits + 1, static_cast<std::size_t>(digits) + 1));
  const int dropped = DigitValue(kept.back());
  kept.pop_back();
  if (2 * dropped >= radix) {
    std::size_t i = kept.size();
    while (i > 0 && DigitValue(kept[i - 1]) == radix - 1) kept[--i] = '0';
    if (i == 0) {
      kept.insert(kept.begin(), '1');
    } else {
      kept[i - 1] = DigitChar(DigitValue(kept[i - 1]) + 1);
    }
  }
  const std::size_t new_int = kept.size() - static_cast<std::size_t>(digits);
  std::string out = new_int == 0 ? std::string(1, '0') : kept.substr(0, new_int);
  if (digits > 0) out.append(".").append(kept, new_int);
  return StripTrailingZeros(sign.append(out));
}

// The display form of a decimal text: its exponent form, or nothing when
// the display shows the first `kept` characters of the text itself.
std::string ExponentForm(std::string_view text, int digits, int threshold, std::size_t& kept) {
  kept = text.size();
  if (text.find('E') != std::string_view::npos) return {};
  const std::size_t sign = !text.empty() && text.front() == '-' ? 1 : 0;
  const std::string_view body = text.substr(sign);
  const std::size_t q = static_cast<std::size_t>(std::max(digits, 0));
  const auto exponent = [&](std::string_view all, char direction, std::size_t power) {
    std::string m(all.substr(0, 1));
    m.append(".").append(all.substr(1, q));
    StripTrailingZerosInPlace(m);
    std::string out(text.substr(0, sign));
    out.append(m).append("E").append(1, direction).append(std::to_string(power));
    return out;
  };
  const auto point = body.find('.');
  std::string_view shown = body;  // a beginning of the text, when no exponent is written
  if (body.find_first_not_of("0.") == std::string_view::npos) {
    // zero stays zero
  } else if (point == std::string_view::npos) {
    if (body.size() > static_cast<std::size_t>(threshold))
      return exponent(body, '+', body.size() - 1);
  } else if (body.starts_with("0.")) {
    const std::size_t k = body.find_first_not_of("0.");
    if (k >= static_cast<std::size_t>(threshold) + 2) return exponent(body.substr(k), '-', k - 1);
    shown = body.substr(0, k + q);
  } else if (point > static_cast<std::size_t>(threshold)) {
    // The mantissa needs q + 1 digits, not a copy of the whole number.
    std::string all(body.substr(0, std::min(point, q + 1)));
    if (all.size() < q + 1) all += body.substr(point + 1, q + 1 - all.size());
    return exponent(all, '+', point - 1);
  } else {
    shown = body.substr(0, point + 1 + q);
  }
  // Trailing fraction zeros and a bare point go, as StripTrailingZeros
  // takes them; what is left is a beginning of the text.
  std::size_t length = shown.size();
  if (shown.find('.') != std::string_view::npos) {
    if (shown.ends_with(")")) {
      std::string out(text.substr(0, sign));
      out.append(shown);
      StripTrailingZerosInPlace(out);
      return out;
    }
    while (length > 0 && shown[length - 1] == '0') --length;
    if (length > 0 && shown[length - 1] == '.') --length;
  }
  kept = sign + length;
  return {};
}

}  // namespace

ExprEngine::ExprEngine(const EngineSettings& settings) : settings_(settings), clock_(LocalNow) {}

int ExprEngine::DigitLimit(NumberBase base) const {
  return ScaledDigits(RadixOf(base), settings_.precision);
}

std::string ExprEngine::DefaultPi(NumberBase base) const {
  // The stored decimals at least, so that no result at a low precision
  // changes; beyond them the working precision and guard digits.
  const int decimals = std::max(static_cast<int>(kPiText.size()) - 2,
                                GuardedDigits(settings_.precision, kPiGuardDigits));
  if (base == NumberBase::Mix) return PiText(decimals);
  return PiDigits(RadixOf(base), ScaledDigits(RadixOf(base), decimals));
}

Outcome<std::string> ExprEngine::SubstituteValues(std::string_view text,
                                                  const MemoryTexts& memories, NumberBase base) {
  std::string out;
  Outcome<bool> done = SubstituteValuesInto(text, memories, base, true, out);
  if (!done) return std::move(done).refusal();
  return *done ? out : std::string(text);
}

Outcome<bool> ExprEngine::SubstituteValuesInto(std::string_view text, const MemoryTexts& memories,
                                               NumberBase base, bool with_steps, std::string& out) {
  using Kind = ExpressionToken::Kind;
  const int p = settings_.precision;
  // Each name's value is found once: last1..last5 are 0-4, Pi 5, F K M W 6-9.
  std::array<std::optional<std::string>, 10> values;
  const auto slot_of = [&text](const ExpressionToken& token) {
    switch (token.kind) {
      case Kind::kMemory:
        return text[token.pos + 4] - '1';
      case Kind::kPi:
        return 5;
      case Kind::kParameter: {
        const char letter = text[token.pos];
        return letter == 'f' ? 6 : letter == 'k' ? 7 : letter == 'm' ? 8 : 9;
      }
      default:
        return -1;
    }
  };
  const auto value_of = [&](int slot) -> const std::string& {
    std::optional<std::string>& value = values[static_cast<std::size_t>(slot)];
    if (value) return *value;
    if (slot < 5) {
      const std::string memory = ExpandExponentNotation(memories[static_cast<std::size_t>(slot)]);
      value = base == NumberBase::Mix ? memory
                                      : ConvertNumber(NumberBase::Mix, base, memory, p, &notices_);
    } else if (slot == 5 && settings_.paramPi == kPiText) {
      value = DefaultPi(base);
    } else {
      const std::string* decimal[] = {&settings_.paramPi, &settings_.paramF, &settings_.paramK,
                                      &settings_.paramM, &settings_.paramW};
      const std::string& stored = *decimal[slot - 5];
      value = base == NumberBase::Mix
                  ? stored
                  : ConvertNumber(NumberBase::Decimal, base, stored, p, &notices_);
    }
    // A negative value goes in brackets.
    if (!value->empty() && value->front() == '-') value = Bracketed(*value);
    return *value;
  };

  // The size of the text to be built, checked against the evaluator's
  // bounds before it is built. (The operators and the nesting were checked
  // before; an equation, which has bounds of its own there, is held to the
  // steps and the size only.)
  NameSizes sizes;
  bool names = false;
  std::uint64_t size = 0;
  ExpressionScanner scanner(text, base);
  for (ExpressionToken token; scanner.Next(token);) {
    const int slot = slot_of(token);
    if (slot < 0) {
      size += token.length;
      continue;
    }
    names = true;
    const std::size_t value_size = value_of(slot).size();
    size += value_size;
    if (slot < 5) {
      sizes.memories[static_cast<std::size_t>(slot)] = value_size;
    } else if (slot == 5) {
      sizes.pi = value_size;
    } else {
      sizes.parameters[static_cast<std::size_t>(slot - 6)] = value_size;
    }
  }
  if (!names) return false;
  if (!with_steps) {
    if (size > kMaxSubstitutedCharacters) {
      return Refusal{RefusalId::kSubstitutedTooLong, {std::to_string(kMaxSubstitutedCharacters)}};
    }
  } else if ((base == NumberBase::Mix ? size / 4 : size) + 3 > kMaxStepCharacters ||
             MeasureExpression(text, base, sizes).excess == BoundExcess::kSteps) {
    // The step text holds at least the text (in Mix its numbers may shrink
    // up to four times when they are converted into one base).
    return BoundRefusal(BoundExcess::kSteps);
  }

  out.reserve(size);
  ExpressionScanner again(text, base);
  for (ExpressionToken token; again.Next(token);) {
    const int slot = slot_of(token);
    if (slot < 0) {
      out += text.substr(token.pos, token.length);
    } else {
      out += *values[static_cast<std::size_t>(slot)];
    }
  }
  return true;
}

Status ExprEngine::CheckFunctionParameters(std::string_view text, NumberBase base) {
  for (std::string_view word : {std::string_view("arcsin"), std::string_view("arccos")}) {
    const auto at = text.find(word);
    if (at == std::string_view::npos) continue;
    const auto open = text.find('(', at);
    if (open == std::string_view::npos) continue;
    auto close = text.find(')', open);
    std::string_view argument = text.substr(
        open + 1, close == std::string_view::npos ? std::string_view::npos : close - open - 1);
    // A substituted negative value stands in brackets of its own: arcsin((-0.5)).
    if (argument.starts_with("(")) argument.remove_prefix(1);
    std::string_view digits = argument;
    if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
      digits.remove_prefix(1);
    }
    // In Mix the number's head names its base.
    const NumberBase own = base == NumberBase::Mix ? BaseOfNumberText(digits) : base;
    if (base == NumberBase::Mix) digits.remove_prefix(HeadOfBase(own).size());
    const auto number = ReadNumber(digits, RadixOf(own));
    // An expression is evaluated first; the function checks its value.
    if (!number) continue;
    const double value = number->ToDouble();
    if (value < -1 || value > 1) {
      return Refusal{RefusalId::kArcDomain, {std::string(word.substr(3))}};
    }
  }
  return Success();
}

template <typename Work>
auto ExprEngine::Stoppable(const Work& work) -> decltype(work()) {
  stopped_ = false;
  StopScope scope(stop_flag_ != nullptr ? stop_flag_ : CurrentStopFlag());
  try {
    auto outcome = work();
    stopped_ = !outcome && outcome.refusal().id == RefusalId::kStopped;
    return outcome;
  } catch (const CalculationStopped&) {
    stopped_ = true;
    return Refusal{RefusalId::kStopped, {}};
  }
}

Outcome<Calculation> ExprEngine::Calculate(std::string_view expression, const MemoryTexts& memories,
                                           NumberBase base, bool with_steps) {
  return Stoppable([&] { return CalculateUnstopped(expression, memories, base, with_steps); });
}

Outcome<EquationSolution> ExprEngine::SolveLinearEquation(std::string_view equation,
                                                          const MemoryTexts& memories,
                                                          NumberBase base) {
  // A stop inside one of its calculations comes up as their refusal.
  return Stoppable([&] { return SolveUnstopped(equation, memories, base); });
}

Outcome<Calculation> ExprEngine::CalculateUnstopped(std::string_view expression,
                                                    const MemoryTexts& memories, NumberBase base,
                                                    bool with_steps) {
  // The text is a view of the typed expression as long as no step changes
  // it, and of `prepared` from the first step that does.
  std::string prepared;
  const std::string_view typed = TrimBlanks(expression);
  std::string_view text = LowerCased(typed, prepared);
  // An equation is the solver's.
  if (text.empty() || text.find('=') != std::string_view::npos) {
    return Refusal{RefusalId::kNothingToCalculate, {}};
  }
  if (!CountBrackets(text).Balanced()) return Refusal{RefusalId::kUnequalBrackets, {}};
  // The bounds come first: a text far beyond them is refused before the
  // checks and rewritings that walk all of it. Without the step text only
  // the nesting bound holds; the others bound the rewriting of the text.
  const BoundExcess excess = with_steps ? MeasureExpression(text, base).excess
                             : NestingWithinLength(text) < text.size() ? BoundExcess::kNesting
                                                                       : BoundExcess::kNone;
  if (excess != BoundExcess::kNone) return BoundRefusal(excess);
  if (Status syntax = CheckLowerCaseSyntax(text, base); !syntax) {
    Refusal refusal = std::move(syntax).refusal();
    refusal.input = typed;
    return refusal;
  }
  std::string next;
  bool names = false;
  if (InsertImplicitMultiplicationInto(text, base, next, &names)) {
    prepared = std::move(next);
    text = prepared;
  }
  if (names) {
    Outcome<bool> substituted = SubstituteValuesInto(text, memories, base, with_steps, next);
    if (!substituted) return std::move(substituted).refusal();
    if (*substituted) {
      prepared = std::move(next);
      text = prepared;
    }
  }
  if (Status checked = CheckFunctionParameters(text, base); !checked) {
    return std::move(checked).refusal();
  }

  NumberBase own = base;  // Mix: the base its numbers are converted into
  if (base == NumberBase::Mix) {
    if (!ValidateMixExpression(text)) {
      return Refusal{RefusalId::kMixSyntax, {}, std::string(text)};
    }
    MixConversion mix = ConvertMixExpression(text, settings_.precision, &notices_);
    prepared = std::move(mix.expression);
    text = prepared;
    own = mix.base;
  }

  Calculation out;
  if (text.data() == prepared.data()) {
    out.expression = std::move(prepared);
    text = out.expression;
  }
  ExprEvaluator evaluator(own, WorkingDigits(settings_.precision), settings_.angleRadian);
  auto evaluated =
      with_steps ? evaluator.EvaluateExpression(text, &out.steps) : evaluator.EvaluateValues(text);
  if (!evaluated) return std::move(evaluated).refusal();
  std::string result = std::move(*evaluated);

  // Normal form and the rounding to the digit limit, in place: the result
  // may have millions of digits.
  StripTrailingZerosInPlace(result);
  StripLeadingZerosInPlace(result);
  result = WithUnitsDigit(std::move(result));
  LimitFractionInPlace(result, own, DigitLimit(base));
  // The display form differs from the result only by an exponent or a cut.
  std::string formatted;
  if (base == NumberBase::Decimal) {
    std::size_t kept = 0;
    formatted = ExponentForm(result, DigitLimit(base), settings_.exponentThreshold, kept);
    if (formatted.empty() && kept < result.size()) formatted = result.substr(0, kept);
  }
  const auto normal = [](std::string& value) {
    StripZerosInPlace(value);
    if (value == "-0") value = "0";
  };
  // The step text's last line gives way to the result.
  if (with_steps) out.steps.resize(out.steps.size() - evaluator.last_step_size());
  if (!formatted.empty()) {
    out.result = std::move(formatted);
    normal(out.result);
    if (with_steps) out.steps.append(result).append("\r\n=").append(out.result);
    normal(result);
    out.plainResult = std::move(result);
  } else {
    normal(result);
    if (base == NumberBase::Mix) result = MixResultText(result, own);
    if (with_steps) out.steps.append(result);
    out.result = result;
    out.plainResult = std::move(result);
  }
  return out;
}

void LimitFractionInPlace(std::string& text, NumberBase base, int digits) {
  const auto point = text.find('.');
  // "E" is the exponent of a decimal text, a digit in base 16.
  if (point == std::string::npos ||
      (base == NumberBase::Decimal && text.find('E') != std::string::npos))
    return;
  if (text.size() - point - 1 <= static_cast<std::size_t>(std::max(digits, 0))) return;
  text = RoundedFraction(text, RadixOf(base), digits);
}

std::string LimitFraction(std::string_view text, NumberBase base, int digits) {
  std::string out(text);
  LimitFractionInPlace(out, base, digits);
  return out;
}

std::string FormatExponent(std::string_view text, int digits, int threshold) {
  std::size_t kept = 0;
  std::string form = ExponentForm(text, digits, threshold, kept);
  return form.empty() ? std::string(text.substr(0, kept)) : form;
}

}  // namespace calvoro
