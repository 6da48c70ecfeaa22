// The function application. The argument is checked and the function
// computed in the calculation's radix: int, abs and fac exactly on text and
// machine integers, every other function with MPFR, correctly rounded beyond
// the digits that the working precision keeps (numeric/precise_functions.h).
// In degree mode the whole quarter turns of the trigonometric functions drop
// out exactly first. The result is cut by the working precision, as an
// operator's result is.
#include "engine/functions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>

#include "engine/apply_operator.h"
#include "engine/expression_text.h"
#include "engine/number_base.h"
#include "engine/refusal.h"
#include "numeric/digit_text.h"
#include "numeric/limb_arithmetic.h"
#include "numeric/precise_functions.h"
#include "numeric/precision.h"

namespace calvoro {
namespace {

// A precision large enough that HugeFloat operations keep every digit.
constexpr int kExactPrecision = 1'000'000'000;

constexpr int kFactorialMax = 60000;

enum class Function {
  Ln,
  Log,
  Exp,
  Sqrt,
  Sin,
  Cos,
  Tan,
  Sec,
  Sinh,
  Cosh,
  Tanh,
  ArcSin,
  ArcCos,
  ArcTan,
  ArcSec,
  Deg,
  Rad,
  Int,
  Abs,
  Fac
};

struct FunctionEntry {
  std::string_view name;
  Function function;
  std::string_view title;   // the name as messages write it
  PreciseFunction precise;  // what computes it (int, abs and fac: unused)
};

constexpr std::array<FunctionEntry, 20> kFunctions = {{
    {"ln", Function::Ln, "Ln", PreciseFunction::kLn},
    {"log", Function::Log, "Log", PreciseFunction::kLog},
    {"exp", Function::Exp, "Exp", PreciseFunction::kExp},
    {"sqrt", Function::Sqrt, "Sqrt", PreciseFunction::kSqrt},
    {"sin", Function::Sin, "Sin", PreciseFunction::kSin},
    {"cos", Function::Cos, "Cos", PreciseFunction::kCos},
    {"tan", Function::Tan, "Tan", PreciseFunction::kTan},
    {"sec", Function::Sec, "Sec", PreciseFunction::kSec},
    {"sinh", Function::Sinh, "Sinh", PreciseFunction::kSinh},
    {"cosh", Function::Cosh, "Cosh", PreciseFunction::kCosh},
    {"tanh", Function::Tanh, "Tanh", PreciseFunction::kTanh},
    {"arcsin", Function::ArcSin, "Arcsin", PreciseFunction::kArcSin},
    {"arccos", Function::ArcCos, "Arccos", PreciseFunction::kArcCos},
    {"arctan", Function::ArcTan, "Arctan", PreciseFunction::kArcTan},
    {"arcsec", Function::ArcSec, "Arcsec", PreciseFunction::kArcSec},
    {"deg", Function::Deg, "Deg", PreciseFunction::kToDegrees},
    {"rad", Function::Rad, "Rad", PreciseFunction::kToRadians},
    {"int", Function::Int, "Int", PreciseFunction::kSqrt},
    {"abs", Function::Abs, "Abs", PreciseFunction::kSqrt},
    {"fac", Function::Fac, "Fac", PreciseFunction::kSqrt},
}};

const FunctionEntry* FindFunction(std::string_view name) {
  for (const FunctionEntry& entry : kFunctions) {
    if (entry.name == name) return &entry;
  }
  return nullptr;
}

std::string_view WithoutSign(std::string_view text) {
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  return text;
}

bool IsNegativeText(std::string_view text) { return !text.empty() && text.front() == '-'; }

// Everything one call needs to report and compute.
struct Call {
  std::string_view text;  // the whole call, for messages
  const FunctionEntry* entry;
  std::string_view argument;  // as written, in the calculation's base
  const FunctionContext& context;

  static Refusal Refuse(RefusalId id, std::vector<std::string> args = {}) {
    return {id, std::move(args)};
  }
};

// The magnitude of a number text of the radix in normal form (sign dropped).
HugeFloat MagnitudeOf(std::string_view text, Radix radix) {
  HugeFloat x = HugeFloat::FromRadixText(WithoutSign(text), radix, 0);
  x.DropLeadingZeros();
  x.DropFractionZeros();
  return x;
}

// -1, 0 or 1 as abs(argument) is below, equal to or above 1.
int CompareWithOne(std::string_view text, Radix radix) {
  return CompareMagnitude(MagnitudeOf(text, radix), HugeFloat::FromRadixText("1", radix, 0));
}

// The call as a message names it: a long argument shortened ("exp(100000...)").
std::string CallForMessage(const Call& call) {
  constexpr std::size_t kShown = 30;
  if (call.argument.size() <= kShown + 10) return std::string(call.text);
  return std::string(call.entry->name) + "(" + std::string(call.argument.substr(0, kShown)) +
         "...)";
}

Outcome<std::string> PreciseValue(const PreciseResult& result, const Call& call) {
  std::string subject = CallForMessage(call);
  return PreciseOutcome(result, subject, {RefusalId::kFunctionNoValue, {subject}});
}

Outcome<std::string> Compute(PreciseFunction function, std::string_view argument, const Call& call,
                             bool degrees) {
  return PreciseValue(
      ComputeFunction(function, argument, RadixOf(call.context.base),
                      ScaledDigits(RadixOf(call.context.base), call.context.precision), degrees),
      call);
}

std::string Negated(const std::string& value) {
  if (value == "0") return value;
  return IsNegativeText(value) ? value.substr(1) : "-" + value;
}

// ---------------------------------------------------------------------------
// Trigonometric functions in degrees

// A small non-negative integer written in the radix.
std::string IntegerText(int value, Radix radix) {
  std::string text;
  do {
    text.insert(text.begin(), DigitChar(value % radix));
    value /= radix;
  } while (value > 0);
  return text;
}

// abs(angle) = quadrant * 90 + remainder, 0 <= remainder < 90, exactly.
struct QuarterTurns {
  bool negative = false;
  int quadrant = 0;  // modulo 4
  HugeFloat remainder;
};

QuarterTurns SplitDegrees(std::string_view argument, Radix radix) {
  QuarterTurns turns;
  const HugeFloat magnitude = MagnitudeOf(argument, radix);
  turns.negative = IsNegativeText(argument) && !magnitude.IsZero();
  const HugeFloat quarter = HugeFloat::FromRadixText(IntegerText(90, radix), radix, 0);
  HugeFloat quotient, unused;
  LongDivide(magnitude, quarter, quotient, unused, 0);
  // The last two digits decide the value modulo 4 in every even radix.
  const Digits& d = quotient.digits();
  turns.quadrant = ((d.size() > 1 ? d[1] : 0) * radix + (d.empty() ? 0 : d[0])) % 4;
  turns.remainder =
      Subtract(magnitude, Multiply(quotient, quarter, kExactPrecision), kExactPrecision);
  return turns;
}

// The rational values at a whole number of degrees in (0, 90) (there are no
// others: Niven's theorem): sin 30 = cos 60 = 1/2, tan 45 = cot 45 = 1,
// csc 30 = sec 60 = 2. Given exactly, they also spare the library's rounding
// test a value that sits on a representable number.
std::optional<std::string> RationalValue(PreciseFunction g, const HugeFloat& degrees, Radix radix) {
  using P = PreciseFunction;
  struct Entry {
    P g;
    int degrees;
    int twice_value;
  };
  static constexpr Entry kRational[] = {{P::kSin, 30, 1}, {P::kCos, 60, 1}, {P::kTan, 45, 2},
                                        {P::kCot, 45, 2}, {P::kCsc, 30, 4}, {P::kSec, 60, 4}};
  for (const Entry& entry : kRational) {
    if (entry.g != g ||
        CompareMagnitude(
            degrees, HugeFloat::FromRadixText(IntegerText(entry.degrees, radix), radix, 0)) != 0) {
      continue;
    }
    if (entry.twice_value == 1) return "0." + std::string(1, DigitChar(radix / 2));
    return IntegerText(entry.twice_value / 2, radix);
  }
  return std::nullopt;
}

Outcome<std::string> DegreeTrigonometric(const Call& call) {
  const QuarterTurns turns = SplitDegrees(call.argument, RadixOf(call.context.base));
  // f(quadrant * 90 + r) = sign * g(r), g one of sin, cos, tan, cot, sec, csc.
  using P = PreciseFunction;
  struct Reduction {
    PreciseFunction g;
    bool negate;
  };
  static constexpr Reduction kSin[4] = {
      {P::kSin, false}, {P::kCos, false}, {P::kSin, true}, {P::kCos, true}};
  static constexpr Reduction kCos[4] = {
      {P::kCos, false}, {P::kSin, true}, {P::kCos, true}, {P::kSin, false}};
  static constexpr Reduction kTan[4] = {
      {P::kTan, false}, {P::kCot, true}, {P::kTan, false}, {P::kCot, true}};
  static constexpr Reduction kSec[4] = {
      {P::kSec, false}, {P::kCsc, true}, {P::kSec, true}, {P::kCsc, false}};
  const Function function = call.entry->function;
  const Reduction* table = function == Function::Sin   ? kSin
                           : function == Function::Cos ? kCos
                           : function == Function::Tan ? kTan
                                                       : kSec;
  const Reduction reduction = table[turns.quadrant];
  // cos is even, the others odd.
  const bool negate = reduction.negate !=
                      (turns.negative && function != Function::Cos && function != Function::Sec);
  std::string value;
  if (turns.remainder.IsZero()) {
    // Whole quarter turns: exact values; tan and sec have none at odd ones.
    if (reduction.g == P::kCot || reduction.g == P::kCsc) {
      return call.Refuse(RefusalId::kDegreeUndefined,
                         {std::string(call.entry->title), std::string(call.argument)});
    }
    value = reduction.g == P::kSin || reduction.g == P::kTan ? "0" : "1";
  } else if (auto rational =
                 RationalValue(reduction.g, turns.remainder, RadixOf(call.context.base))) {
    value = std::move(*rational);
  } else {
    Outcome<std::string> computed = Compute(reduction.g, turns.remainder.ToText(), call, true);
    if (!computed) return std::move(computed).refusal();
    value = *std::move(computed);
  }
  return negate ? Negated(value) : value;
}

// ---------------------------------------------------------------------------
// Every function but int, abs and fac

Outcome<std::string> ComputeInRadix(const Call& call) {
  const Function function = call.entry->function;
  const Radix radix = RadixOf(call.context.base);
  const std::string_view argument = call.argument;
  const bool radian = call.context.radian;
  const bool zero = MagnitudeOf(argument, radix).IsZero();
  const bool negative = IsNegativeText(argument) && !zero;
  switch (function) {
    case Function::Ln:
    case Function::Log:
      if (zero || negative) {
        return call.Refuse(function == Function::Ln ? RefusalId::kLnDomain : RefusalId::kLogDomain);
      }
      break;
    case Function::Sqrt:
      if (negative) return call.Refuse(RefusalId::kSqrtDomain);
      break;
    case Function::ArcSin:
    case Function::ArcCos:
      if (CompareWithOne(argument, radix) > 0) {
        return call.Refuse(RefusalId::kArcDomain, {function == Function::ArcSin ? "sin" : "cos"});
      }
      break;
    case Function::ArcSec:
      if (CompareWithOne(argument, radix) < 0) {
        return call.Refuse(RefusalId::kArcSecDomain);
      }
      break;
    case Function::Sin:
    case Function::Cos:
    case Function::Tan:
    case Function::Sec:
      if (!radian) return DegreeTrigonometric(call);
      // The angle reduction needs Pi to as many digits as the argument has.
      if (MagnitudeOf(argument, radix).IntegerDigits() > kMaxFunctionDigits) {
        return call.Refuse(RefusalId::kParameterTooLarge, {std::string(call.entry->title)});
      }
      break;
    default:
      break;
  }
  return Compute(call.entry->precise, argument, call, !radian);
}

// ---------------------------------------------------------------------------
// Factorial

Outcome<std::string> Factorial(const Call& call) {
  std::string_view argument = call.argument;
  const bool negative = IsNegativeText(argument);
  argument = WithoutSign(argument);
  if (argument.find('.') != std::string_view::npos) {
    return call.Refuse(RefusalId::kFactorialNotInteger);
  }
  // Read in the calculation's base; anything above the limit (any decimal
  // text of more than five digits) is refused before it could overflow.
  int n = 0;
  for (char c : argument) {
    n = n * RadixOf(call.context.base) + DigitValue(c);
    if (n > kFactorialMax) return call.Refuse(RefusalId::kFactorialLimit);
  }
  // fac(-n) reads as -(n!), the value of "-n!".
  std::string result = FactorialText(n, RadixOf(call.context.base));
  if (negative && n > 0) result.insert(0, 1, '-');
  return result;
}

// ---------------------------------------------------------------------------
// The result in the calculation's base

// Trailing fraction zeros dropped and the fraction cut (truncated) by the
// working precision scaled for the base, as an operator's result is; a
// negative result in brackets.
std::string FinishResult(std::string_view text, Radix radix, int precision) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  HugeFloat x = HugeFloat::FromRadixText(text, radix, 0);
  x.DropLeadingZeros();
  x.DropFractionZeros();
  x.ApplyPrecision(ScaledDigits(radix, precision));
  x.DropFractionZeros();
  if (x.IsZero()) return "0";
  const std::string result = x.ToText();
  return x.sign() < 0 ? Bracketed(result) : result;
}

}  // namespace

Outcome<std::string> PreciseOutcome(const PreciseResult& result, std::string_view subject,
                                    Refusal no_value) {
  switch (result.status) {
    case PreciseResult::Status::kValue:
      return result.text;
    case PreciseResult::Status::kTooLarge:
      return Refusal{RefusalId::kFunctionTooLarge, {std::string(subject)}};
    case PreciseResult::Status::kTooSmall:
      return Refusal{RefusalId::kFunctionTooSmall, {std::string(subject)}};
    default:
      return no_value;
  }
}

Outcome<std::string> ApplyFunction(std::string_view call_text, const FunctionContext& context) {
  const std::string head = ToLowerAscii(call_text.substr(0, 6));
  const std::string_view name = FunctionNameAt(head, 0);
  const FunctionEntry* entry = FindFunction(name);
  std::string_view argument = call_text.substr(name.size());
  if (entry == nullptr || argument.size() < 2 || argument.front() != '(' ||
      argument.back() != ')') {
    return Refusal{RefusalId::kUnknownFunction, {std::string(call_text)}};
  }
  argument = argument.substr(1, argument.size() - 2);
  // Mix calculations reach here in their decimal result base.
  FunctionContext own = context;
  if (own.base == NumberBase::Mix) own.base = NumberBase::Decimal;
  own.precision = std::max(own.precision, 1);
  const Call call{call_text, entry, argument, own};

  const NumberBase base = own.base;
  if (!IsNumberOfBase(base, WithoutSign(argument))) {
    return call.Refuse(RefusalId::kInvalidInputNumber, {std::string(argument)});
  }
  if (IsExpression(argument)) return call.Refuse(RefusalId::kParameterNotNumber);

  Outcome<std::string> result = entry->function == Function::Int   ? IntegerPartText(argument)
                                : entry->function == Function::Abs ? AbsText(argument)
                                : entry->function == Function::Fac ? Factorial(call)
                                                                   : ComputeInRadix(call);
  if (!result) return result;
  return FinishResult(*result, RadixOf(base), own.precision);
}

std::string PiText(int decimals) { return PiDigits(Radix::kDecimal, decimals); }

// n! from its prime factorisation on the limb multiplication (the same
// digits as multiplying by 2, 3, ..., n in turn); radices other than 2, 8 and
// 16 print decimal digits.
std::string FactorialText(int n, Radix radix) {
  const bool power_of_two = radix == 2 || radix == 8 || radix == 16;
  return limbs::FactorialText(n, power_of_two ? radix : Radix::kDecimal);
}

std::string IntegerPartText(std::string_view text) {
  if (!IsNumberText(text)) return std::string(text);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  const std::string integer(text.substr(0, text.find('.')));
  return WithoutSign(integer).empty() ? "0" : integer;
}

std::string AbsText(std::string_view text) {
  if (!IsNumberText(text)) return std::string(text);
  return std::string(WithoutSign(text));
}

}  // namespace calvoro
