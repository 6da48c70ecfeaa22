// The function application. The argument is checked, converted to decimal in
// the other bases, computed, cut to the result digit limit and converted
// back. int, abs and fac are exact on text and machine integers; deg, rad and
// the angle reduction of the trigonometric functions are exact decimal
// arithmetic with as much Pi as the argument needs; the rest is double
// precision.
#include "engine/functions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numbers>
#include <vector>

#include "engine/apply_operator.h"
#include "engine/expression_text.h"
#include "engine/number_base.h"
#include "numeric/digit_text.h"
#include "numeric/limb_arithmetic.h"

namespace calvoro {
namespace {

// Function results never carry more digits than this (fraction digits from
// 1 up, significant digits below 1), whatever the precision.
constexpr int kResultDigitCap = 12;
// Significant digits a double result is printed with.
constexpr int kDoubleDigits = 15;
// Fraction digits of a double result ("%.17f"); tan and tanh print 13,
// the inverse functions 15.
constexpr int kDoubleFractionDigits = 17;
constexpr int kTangentFractionDigits = 13;
constexpr int kInverseFractionDigits = 15;
// A precision large enough that HugeFloat operations keep every digit.
constexpr int kExactPrecision = 1'000'000'000;
// Decimal digits asked for when an argument of another base is converted to
// decimal: 100 fraction bits (the most a conversion keeps) have 100 decimal
// fraction digits, so the decimal value is exact.
constexpr int kArgumentDigits = 100;
// Fraction digits of the argument that the radian reduction takes into
// account when it chooses the length of Pi.
constexpr int kReductionFractionDigits = 200;
// The exact radian reduction costs time in the square of the argument's
// length; longer integer parts are refused.
constexpr int kMaxReductionIntegerDigits = 10000;

constexpr std::string_view kParameterNotNumber =
    "Sorry,the parameter of the function must be float number or integer.";
constexpr std::string_view kLnDomain =
    "Sorry,the parameter for the function Ln(x) should be larger than zero.";
constexpr std::string_view kLogDomain =
    "Sorry,the parameter for the function Log(x) should be larger than zero.";
constexpr std::string_view kSqrtDomain =
    "Sorry,the parameter for the function Sqrt(x) cannot be less than zero.";
constexpr std::string_view kArcSinDomain =
    "Sorry,the absolute value of the parameter of arcsin cannot be larger than 1.";
constexpr std::string_view kArcCosDomain =
    "Sorry,the absolute value of the parameter of arccos cannot be larger than 1.";
constexpr std::string_view kArcSecDomain =
    "Sorry,the absolute value of the parameter of arcsec cannot be less than 1.";
constexpr std::string_view kFactorialNotInteger =
    "Sorry,the number of factorial function should be integer";
constexpr std::string_view kFactorialLimit =
    "Sorry,the absolute value of the parameter of factorial function should be less than 60000";
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
  std::string_view title;  // the name as messages write it
};

constexpr std::array<FunctionEntry, 20> kFunctions = {{
    {"ln", Function::Ln, "Ln"},
    {"log", Function::Log, "Log"},
    {"exp", Function::Exp, "Exp"},
    {"sqrt", Function::Sqrt, "Sqrt"},
    {"sin", Function::Sin, "Sin"},
    {"cos", Function::Cos, "Cos"},
    {"tan", Function::Tan, "Tan"},
    {"sec", Function::Sec, "Sec"},
    {"sinh", Function::Sinh, "Sinh"},
    {"cosh", Function::Cosh, "Cosh"},
    {"tanh", Function::Tanh, "Tanh"},
    {"arcsin", Function::ArcSin, "Arcsin"},
    {"arccos", Function::ArcCos, "Arccos"},
    {"arctan", Function::ArcTan, "Arctan"},
    {"arcsec", Function::ArcSec, "Arcsec"},
    {"deg", Function::Deg, "Deg"},
    {"rad", Function::Rad, "Rad"},
    {"int", Function::Int, "Int"},
    {"abs", Function::Abs, "Abs"},
    {"fac", Function::Fac, "Fac"},
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
  MessageSink& sink;

  std::nullopt_t Refuse(std::string_view message, std::string_view caption,
                        MessageIcon icon = MessageIcon::Warning) const {
    sink.MessageBox(message, caption, icon);
    return std::nullopt;
  }
};

// ---------------------------------------------------------------------------
// Decimal texts and doubles

// The shortest decimal text that reads back as the same double, without
// exponent; the exact input of the decimal arithmetic on a double result.
std::string ShortestText(double value) {
  std::array<char, 400> buffer;  // 309 integer digits at most
  const auto result =
      std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed);
  return std::string(buffer.data(), result.ptr);
}

// A non-zero decimal number as 0.digits x 10^exponent (digits without
// leading or trailing zeros); zero has no digits.
struct ScaledDecimal {
  bool negative = false;
  std::string digits;
  long long exponent = 0;
};

ScaledDecimal Decompose(std::string_view text) {
  ScaledDecimal scaled;
  scaled.negative = IsNegativeText(text);
  text = WithoutSign(text);
  const std::size_t point = std::min(text.find('.'), text.size());
  std::string all(text.substr(0, point));
  if (point < text.size()) all.append(text.substr(point + 1));
  const std::size_t first = all.find_first_not_of('0');
  if (first == std::string::npos) return scaled;
  const std::size_t last = all.find_last_not_of('0');
  scaled.digits = all.substr(first, last - first + 1);
  scaled.exponent = static_cast<long long>(point) - static_cast<long long>(first);
  return scaled;
}

// "0." + the first digits, read as a double in [0.1, 1).
double MantissaOf(const ScaledDecimal& scaled) {
  const std::string text = "0." + scaled.digits.substr(0, 20);
  double value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

// A decimal text the code itself produced, as a double; not-a-number if it
// were ever unreadable, which the result check then refuses.
double ReadDecimal(std::string_view text) {
  return ReadFloatArgument(text).value_or(std::numeric_limits<double>::quiet_NaN());
}

HugeFloat DecimalOf(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  HugeFloat x = HugeFloat::FromText(text);
  x.DropFractionZeros();
  return x;
}

// A double result as text; infinities and not-a-numbers are refused.
std::optional<std::string> DoubleResult(double value, const Call& call,
                                        int fraction_digits = kDoubleFractionDigits) {
  if (std::isnan(value)) {
    return call.Refuse("Sorry, the function " + std::string(call.text) + " has no value.",
                       kCaptionCalvoroWarning);
  }
  if (std::isinf(value)) {
    return call.Refuse(
        "Sorry, the result of " + std::string(call.text) + " is too large for the calculator.",
        kCaptionCalvoroWarning);
  }
  return DoubleToText(value, fraction_digits);
}

// The refusal of an argument too long for the exact arithmetic with Pi.
std::string TooLargeMessage(const Call& call) {
  return "Sorry, the parameter of the function " + std::string(call.entry->title) +
         "(x) is too large.";
}

// ---------------------------------------------------------------------------
// Trigonometric functions

// An angle split as abs(angle) = quadrant * (Pi/2) + r, 0 <= r < Pi/2, with
// sin(r) and cos(r) computed from the smaller of r and Pi/2 - r so that both
// keep their relative accuracy; an exact zero r gives exact 0 and 1.
struct ReducedAngle {
  bool negative = false;
  int quadrant = 0;  // modulo 4
  double sin_r = 0;
  double cos_r = 1;
};

// The value of a non-negative integer HugeFloat modulo 4 (radix 10).
int ModuloFour(const HugeFloat& integer) {
  const Digits& d = integer.digits();
  const int ones = d.empty() ? 0 : d[0];
  const int tens = d.size() > 1 ? d[1] : 0;
  return (tens * 10 + ones) % 4;
}

// Fills quadrant, sin_r, cos_r from abs(angle) and the quarter turn, both in
// the same unit; `to_radians` turns a remainder text into radians.
template <typename ToRadians>
void SplitAtQuarterTurn(const HugeFloat& magnitude, const HugeFloat& quarter, ReducedAngle& angle,
                        ToRadians to_radians) {
  // One long division finds the whole quarter turns; the remainder follows
  // by one product, cheaper than a second division.
  HugeFloat quotient, unused;
  LongDivide(magnitude, quarter, quotient, unused, 0);
  angle.quadrant = ModuloFour(quotient);
  const HugeFloat r =
      Subtract(magnitude, Multiply(quotient, quarter, kExactPrecision), kExactPrecision);
  if (r.IsZero()) return;
  const HugeFloat twice_r = Add(r, r, kExactPrecision);
  const bool upper_half = CompareMagnitude(twice_r, quarter) > 0;
  const HugeFloat small = upper_half ? Subtract(quarter, r, kExactPrecision) : r;
  const double radians = ReadDecimal(to_radians(small.ToText()));
  const double s = std::sin(radians), c = std::cos(radians);
  angle.sin_r = upper_half ? c : s;
  angle.cos_r = upper_half ? s : c;
}

// Reduces a decimal angle; nothing when the argument is too long for the
// exact radian reduction.
std::optional<ReducedAngle> ReduceAngle(std::string_view decimal, bool radian, int digit_limit) {
  HugeFloat magnitude = DecimalOf(decimal);
  magnitude.DropLeadingZeros();
  ReducedAngle angle;
  angle.negative = magnitude.sign() < 0 && !magnitude.IsZero();
  magnitude.set_sign(1);
  if (magnitude.IsZero()) return angle;

  if (!radian) {
    // Whole turns of degrees drop out exactly.
    SplitAtQuarterTurn(magnitude, HugeFloat::FromInt(90), angle, [](const std::string& degrees) {
      return DegreesToRadians(degrees, 2 * kDoubleDigits);
    });
    return angle;
  }
  const int integer_digits = magnitude.IntegerDigits();
  if (integer_digits > kMaxReductionIntegerDigits) return std::nullopt;
  // Pi with enough decimals that the remainder keeps every digit a double
  // can use, even after many whole turns or close to a multiple of Pi/2.
  const int decimals = integer_digits +
                       std::min(magnitude.FractionDigits(), kReductionFractionDigits) +
                       digit_limit + 10;
  const HugeFloat pi = HugeFloat::FromText(PiText(decimals));
  const HugeFloat half_pi = Divide(pi, HugeFloat::FromInt(2), decimals + 1);
  SplitAtQuarterTurn(magnitude, half_pi, angle, [](const std::string& r) { return r; });
  return angle;
}

double SinOf(const ReducedAngle& a) {
  static constexpr int kSign[4] = {1, 1, -1, -1};
  const double value = (a.quadrant % 2 == 0 ? a.sin_r : a.cos_r) * kSign[a.quadrant];
  return a.negative ? -value : value;
}

double CosOf(const ReducedAngle& a) {
  static constexpr int kSign[4] = {1, -1, -1, 1};
  return (a.quadrant % 2 == 0 ? a.cos_r : a.sin_r) * kSign[a.quadrant];
}

std::optional<std::string> Trigonometric(const Call& call, std::string_view decimal) {
  const int limit = std::min(call.context.precision, kResultDigitCap);
  const auto angle = ReduceAngle(decimal, call.context.radian, limit);
  if (!angle) {
    return call.Refuse(TooLargeMessage(call), kCaptionTivamoWarning);
  }
  const Function function = call.entry->function;
  if (function == Function::Sin) return DoubleResult(SinOf(*angle), call);
  if (function == Function::Cos) return DoubleResult(CosOf(*angle), call);
  const double cosine = CosOf(*angle);
  if (cosine == 0 && !call.context.radian) {
    // An odd multiple of 90 degrees, found exactly.
    return call.Refuse("Sorry, we cannot calculate the " + std::string(call.entry->title) +
                           " of the degree " + std::string(call.argument),
                       kCaptionTivamo, MessageIcon::Information);
  }
  if (function == Function::Tan) {
    return DoubleResult(SinOf(*angle) / cosine, call, kTangentFractionDigits);
  }
  return DoubleResult(1 / cosine, call);
}

// ---------------------------------------------------------------------------
// Double-precision functions

std::optional<std::string> Logarithm(const Call& call, std::string_view decimal, bool natural) {
  const ScaledDecimal scaled = Decompose(decimal);
  if (scaled.digits.empty() || scaled.negative) {
    return call.Refuse(natural ? kLnDomain : kLogDomain, kCaptionTivamoWarning);
  }
  double value;
  if (std::llabs(scaled.exponent) < 300) {
    const double x = ReadDecimal(decimal);
    value = natural ? std::log(x) : std::log10(x);
  } else {
    // Beyond the double range: log(0.d x 10^e) = log(0.d) + e log(10).
    const double m = MantissaOf(scaled);
    const auto e = static_cast<double>(scaled.exponent);
    value = natural ? std::log(m) + e * std::numbers::ln10 : std::log10(m) + e;
  }
  return DoubleResult(value, call);
}

std::optional<std::string> SquareRoot(const Call& call, std::string_view decimal) {
  ScaledDecimal scaled = Decompose(decimal);
  if (scaled.digits.empty()) return std::string("0");
  if (scaled.negative) return call.Refuse(kSqrtDomain, kCaptionTivamoWarning);
  // sqrt(m x 10^e) = sqrt(m) x 10^(e/2) with an even e, so that arguments
  // beyond the double range work too.
  double m = MantissaOf(scaled);
  if (scaled.exponent % 2 != 0) {
    const std::string text = scaled.digits.substr(0, 1) + "." + scaled.digits.substr(1, 20);
    std::from_chars(text.data(), text.data() + text.size(), m);
    scaled.exponent -= 1;
  }
  return ShiftDecimalPoint(DoubleToText(std::sqrt(m)), scaled.exponent / 2);
}

// The result of an inverse trigonometric function in the angle unit.
std::optional<std::string> AngleResult(double radians, const Call& call) {
  if (call.context.radian) return DoubleResult(radians, call, kInverseFractionDigits);
  const std::string degrees = RadiansToDegrees(ShortestText(radians), 2 * kDoubleDigits);
  return DoubleResult(ReadDecimal(degrees), call, kInverseFractionDigits);
}

std::optional<std::string> Inverse(const Call& call, std::string_view decimal) {
  const Function function = call.entry->function;
  const int to_one = CompareMagnitude(DecimalOf(decimal), HugeFloat::FromInt(1));
  if (function == Function::ArcSin && to_one > 0) {
    return call.Refuse(kArcSinDomain, kCaptionTivamoWarning);
  }
  if (function == Function::ArcCos && to_one > 0) {
    return call.Refuse(kArcCosDomain, kCaptionTivamoWarning);
  }
  if (function == Function::ArcSec && to_one < 0) {
    return call.Refuse(kArcSecDomain, kCaptionTivamoWarning);
  }
  const double x = ReadDecimal(decimal);
  switch (function) {
    case Function::ArcSin:
      return AngleResult(std::asin(x), call);
    case Function::ArcCos:
      return AngleResult(std::acos(x), call);
    case Function::ArcSec:
      return AngleResult(std::acos(1 / x), call);
    default:
      return AngleResult(std::atan(x), call);
  }
}

std::optional<std::string> Hyperbolic(const Call& call, std::string_view decimal) {
  std::string argument(decimal);
  if (!call.context.radian) argument = DegreesToRadians(argument, 2 * kDoubleDigits);
  const double x = ReadDecimal(argument);
  switch (call.entry->function) {
    case Function::Sinh:
      return DoubleResult(std::sinh(x), call);
    case Function::Cosh:
      return DoubleResult(std::cosh(x), call);
    default:
      return DoubleResult(std::tanh(x), call, kTangentFractionDigits);
  }
}

// Every function but int, abs and fac, on a decimal argument; the result is
// a decimal text.
std::optional<std::string> ComputeDecimal(const Call& call, std::string_view decimal) {
  const int limit = std::min(call.context.precision, kResultDigitCap);
  // deg, rad and the degree-mode hyperbolic functions take Pi to as many
  // decimals as the argument has integer digits; its cost bounds them like
  // the radian reduction.
  const Function function = call.entry->function;
  const bool through_pi =
      function == Function::Deg || function == Function::Rad ||
      (!call.context.radian &&
       (function == Function::Sinh || function == Function::Cosh || function == Function::Tanh));
  if (through_pi) {
    const std::string_view magnitude = WithoutSign(decimal);
    if (std::min(magnitude.find('.'), magnitude.size()) >
        static_cast<std::size_t>(kMaxReductionIntegerDigits)) {
      return call.Refuse(TooLargeMessage(call), kCaptionTivamoWarning);
    }
  }
  switch (call.entry->function) {
    case Function::Ln:
      return Logarithm(call, decimal, true);
    case Function::Log:
      return Logarithm(call, decimal, false);
    case Function::Exp:
      return DoubleResult(std::exp(ReadDecimal(decimal)), call);
    case Function::Sqrt:
      return SquareRoot(call, decimal);
    case Function::Sin:
    case Function::Cos:
    case Function::Tan:
    case Function::Sec:
      return Trigonometric(call, decimal);
    case Function::Sinh:
    case Function::Cosh:
    case Function::Tanh:
      return Hyperbolic(call, decimal);
    case Function::ArcSin:
    case Function::ArcCos:
    case Function::ArcTan:
    case Function::ArcSec:
      return Inverse(call, decimal);
    case Function::Deg:
      return RadiansToDegrees(decimal, limit + 2);
    case Function::Rad:
      return DegreesToRadians(decimal, limit + 2);
    default:
      return std::nullopt;  // int, abs and fac are handled on their own
  }
}

// ---------------------------------------------------------------------------
// Factorial

std::optional<std::string> Factorial(const Call& call) {
  std::string_view argument = call.argument;
  const bool negative = IsNegativeText(argument);
  argument = WithoutSign(argument);
  if (argument.find('.') != std::string_view::npos) {
    return call.Refuse(kFactorialNotInteger, kCaptionCalvoro);
  }
  // Read in the calculation's base; anything above the limit (any decimal
  // text of more than five digits) is refused before it could overflow.
  int n = 0;
  for (char c : argument) {
    n = n * call.context.base + DigitValue(c);
    if (n > kFactorialMax) return call.Refuse(kFactorialLimit, kCaptionCalvoro);
  }
  // fac(-n) reads as -(n!), the value of "-n!".
  std::string result = FactorialText(n, call.context.base);
  if (negative && n > 0) result.insert(0, 1, '-');
  return result;
}

// ---------------------------------------------------------------------------
// The result in the calculation's base

// Converts a decimal result to `base` with enough digits for `limit`
// significant digits after any leading fraction zeros.
std::string FromDecimal(const std::string& decimal, int base, int limit, MessageSink& sink) {
  if (base == kBaseDecimal) return decimal;
  const ScaledDecimal scaled = Decompose(decimal);
  const long long leading_zeros = scaled.exponent < 0 ? -scaled.exponent : 0;
  const int digits = static_cast<int>(std::min<long long>(limit + leading_zeros + 2, 1000));
  return ConvertNumber(kBaseDecimal, base, decimal, digits, sink);
}

// Trailing fraction zeros dropped and the fraction cut (truncated) to the
// result digit limit of the base; a negative result in brackets.
std::string FinishResult(std::string_view text, int base, int limit) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  HugeFloat x = HugeFloat::FromRadixText(text, base, 0);
  x.DropLeadingZeros();
  x.DropFractionZeros();
  x.ApplyPrecision(ScaledPrecision(base, limit));
  x.DropFractionZeros();
  if (x.IsZero()) return "0";
  const std::string result = x.ToText();
  return x.sign() < 0 ? Bracketed(result) : result;
}

}  // namespace

std::optional<std::string> ApplyFunction(std::string_view call_text, const FunctionContext& context,
                                         MessageSink& sink) {
  const std::string head = ToLowerAscii(call_text.substr(0, 6));
  const std::string_view name = FunctionNameAt(head, 0);
  const FunctionEntry* entry = FindFunction(name);
  std::string_view argument = call_text.substr(name.size());
  if (entry == nullptr || argument.size() < 2 || argument.front() != '(' ||
      argument.back() != ')') {
    sink.MessageBox("Sorry, the function " + std::string(call_text) + " is unknown.",
                    kCaptionCalvoroWarning, MessageIcon::Warning);
    return std::nullopt;
  }
  argument = argument.substr(1, argument.size() - 2);
  // Mix calculations reach here in their decimal result base.
  FunctionContext own = context;
  if (own.base != kBaseBinary && own.base != kBaseOctal && own.base != kBaseHex) {
    own.base = kBaseDecimal;
  }
  const Call call{call_text, entry, argument, own, sink};

  const int base = own.base;
  if (!IsNumberOfBase(base, WithoutSign(argument))) {
    return call.Refuse("Sorry, the input number " + std::string(argument) + " is invalid.",
                       kCaptionCalvoroWarning);
  }
  if (IsExpression(argument)) return call.Refuse(kParameterNotNumber, kCaptionCalvoroWarning);

  const int limit = std::max(1, std::min(own.precision, kResultDigitCap));
  std::optional<std::string> result;
  switch (entry->function) {
    case Function::Int:
      result = IntegerPartText(argument);
      break;
    case Function::Abs:
      result = AbsText(argument);
      break;
    case Function::Fac:
      result = Factorial(call);
      break;
    default: {
      const std::string decimal =
          base == kBaseDecimal ? std::string(argument)
                               : ConvertNumber(base, kBaseDecimal, argument, kArgumentDigits, sink);
      result = ComputeDecimal(call, decimal);
      if (result) result = FromDecimal(*result, base, limit, sink);
      break;
    }
  }
  if (!result) return std::nullopt;
  return FinishResult(*result, base, limit);
}

// n! by a product tree over the limb multiplication (the same digits as
// multiplying the limbs by 2, 3, ..., n in turn); radices other than 2, 8 and
// 16 print decimal digits.
std::string FactorialText(int n, int radix) {
  const bool power_of_two = radix == 2 || radix == 8 || radix == 16;
  return limbs::FactorialText(n, power_of_two ? radix : 10);
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

std::string DegreesToRadians(std::string_view degrees, int digits) {
  const HugeFloat x = DecimalOf(degrees);
  // Pi's truncation error, times x / 180, stays below 10^-(digits + 10).
  const int decimals = std::max(x.IntegerDigits(), 1) + digits + 10;
  const HugeFloat pi = HugeFloat::FromText(PiText(decimals));
  const HugeFloat product = Multiply(x, pi, kExactPrecision);
  return Divide(product, HugeFloat::FromInt(180), x.FractionDigits() + digits + 5).ToText();
}

std::string RadiansToDegrees(std::string_view radians, int digits) {
  const HugeFloat x = DecimalOf(radians);
  // The result has up to two more integer digits than x; Pi's relative
  // error must stay below the last wanted digit.
  const int decimals = std::max(x.IntegerDigits(), 1) + digits + 12;
  const HugeFloat pi = HugeFloat::FromText(PiText(decimals));
  const HugeFloat product = Multiply(x, HugeFloat::FromInt(180), kExactPrecision);
  return Divide(product, pi, x.FractionDigits() + digits + 5).ToText();
}

std::optional<double> ReadFloatArgument(std::string_view text) {
  const std::string_view body = WithoutSign(text);
  const bool digits_only = std::all_of(body.begin(), body.end(),
                                       [](char c) { return c == '.' || (c >= '0' && c <= '9'); });
  if (!digits_only || std::count(body.begin(), body.end(), '.') > 1 ||
      body.find_first_of("0123456789") == std::string_view::npos) {
    return std::nullopt;
  }
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error == std::errc::result_out_of_range) {
    // Beyond the range: an infinity for a large integer part, else zero.
    const std::string_view integer = body.substr(0, body.find('.'));
    value = integer.find_first_not_of('0') != std::string_view::npos ? HUGE_VAL : 0.0;
    if (IsNegativeText(text)) value = -value;
  }
  return value;
}

std::string DoubleToText(double value, int fraction_digits) {
  if (!std::isfinite(value)) return "0";
  // printf's "%.<n>f", locale independent; the largest double has 309
  // integer digits.
  std::array<char, 400> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, fraction_digits);
  std::string text = StripTrailingZeros(std::string_view(buffer.data(), result.ptr));
  return text == "-0" ? std::string("0") : text;
}

}  // namespace calvoro
