// The function list's buttons and the two dialogs' checks.
#include "app/function_models.h"

#include <algorithm>
#include <optional>

#include "engine/expression_text.h"
#include "engine/number_base.h"
#include "engine/refusal.h"
#include "numeric/number_text.h"

namespace calvoro {
namespace {

using C = FunctionControl;
using K = FunctionButton::Kind;

constexpr FunctionButton kButtons[] = {
    {C::kSin, "sin", "sine", "sin", K::Function},
    {C::kArcsin, "arcsin", "inverse sine", "arcsin", K::Function},
    {C::kSinh, "sinh", "hyperbolic sine", "sinh", K::Function},
    {C::kArsinh, "arsinh", "", "", K::Hidden},
    {C::kCos, "cos", "cosine", "cos", K::Function},
    {C::kArccos, "arccos", "inverse cosine", "arccos", K::Function},
    {C::kCosh, "cosh", "hyperbolic cosine ", "cosh", K::Function},
    {C::kArcosh, "arcosh", "", "", K::Hidden},
    {C::kTan, "tan", "tangent", "tan", K::Function},
    {C::kArctan, "arctan", "inverse tangent", "arctan", K::Function},
    {C::kTanh, "tanh", "hyperbolic tangent", "tanh", K::Function},
    {C::kArtanh, "artanh", "", "", K::Hidden},
    {C::kExp, "exp", "exponent", "exp", K::Function},
    {C::kLn, "ln", "natural logarithm", "ln", K::Function},
    {C::kInt, "int", "convert the float number into integer", "int", K::Function},
    {C::kAbs, "abs", "absolute value", "abs", K::Function},
    {C::kTenPower, "10^x", "10 power", "10^", K::Operator},
    {C::kLog, "log", "logarithm base 10", "log", K::Function},
    {C::kRad, "rad", "convert the degree into radian", "rad", K::Function},
    {C::kDeg, "deg", "convert the radian into degree", "deg", K::Function},
    {C::kSquare, "x^2", "square", "^2", K::Operator},
    {C::kSqrt, "sqrt", "the square root of a number", "sqrt", K::Function},
    {C::kFac, "fac", "", "fac", K::Function},
    {C::kParameterF, "&F", "", "F", K::Parameter},
    {C::kParameterK, "&K", "", "K", K::Parameter},
    {C::kParameterM, "&M", "", "M", K::Parameter},
    {C::kParameterW, "&W", "", "W", K::Parameter},
    {C::kParameterPi, "PI", "", "Pi", K::Parameter},
};

constexpr std::string_view kAngleFunctions[] = {"sin",  "cos",    "tan",    "sinh",  "cosh",
                                                "tanh", "arcsin", "arccos", "arctan"};

constexpr std::string_view kLabels[ParameterFields::kCount] = {"F", "K", "M", "W", "PI"};

}  // namespace

std::span<const FunctionButton> FunctionButtons() { return kButtons; }

FunctionInputModel::FunctionInputModel(std::string_view name, CSysData& record, MessageSink& sink,
                                       std::function<void()> save)
    : name_(ToLowerAscii(TrimBlanks(name))),
      prefix_(name_ + "("),
      angleButtons_(std::ranges::find(kAngleFunctions, name_) != std::end(kAngleFunctions)),
      record_(record),
      sink_(sink),
      save_(std::move(save)) {}

void FunctionInputModel::SetAngle(bool radian) {
  record_.angleRadian = radian;
  if (save_) save_();
}

bool FunctionInputModel::Ok() {
  if (name_ == "arcsin" || name_ == "arccos") {
    // An expression is left to the calculation, which checks its value.
    const std::optional<double> value = ReadDecimalDouble(argument_);
    if (value && (*value > 1 || *value < -1)) {
      ReportRefusal({RefusalId::kArcInputRange, {}}, sink_);
      return false;
    }
  }
  return true;
}

std::string_view ParameterFields::Label(int index) { return kLabels[index]; }

ParameterFields::ParameterFields(const CSysData& record, MessageSink& sink)
    : texts_{record.paramF, record.paramK, record.paramM, record.paramW, record.paramPi},
      sink_(sink) {}

void ParameterFields::SetText(int index, std::string_view text) {
  if (index != kPi) texts_[index] = text;
}

bool ParameterFields::Ok() {
  for (int i = 0; i < kPi; ++i) {
    const std::string_view text = TrimBlanks(texts_[i]);
    const bool fits = texts_[i].size() <= kMaxParameterBytes;
    if (fits && IsNumberOfBase(NumberBase::Decimal, text)) continue;
    ReportRefusal(!fits          ? Refusal{RefusalId::kParameterTooLong,
                                  {std::string(kLabels[i]), std::to_string(texts_[i].size()),
                                            std::to_string(kMaxParameterBytes)}}
                  : text.empty() ? Refusal{RefusalId::kParameterMissing, {std::string(kLabels[i])}}
                                 : Refusal{RefusalId::kInvalidInputNumber, {std::string(text)}},
                  sink_);
    focus_ = i;
    return false;
  }
  focus_ = -1;
  return true;
}

void ParameterFields::Store(CSysData& record) const {
  record.paramF = texts_[0];
  record.paramK = texts_[1];
  record.paramM = texts_[2];
  record.paramW = texts_[3];
  record.paramPi = texts_[kPi];
}

}  // namespace calvoro
