// The function list's buttons and the two dialogs' checks.
#include "app/function_dialogs.h"

#include <algorithm>
#include <charconv>

#include "engine/expression_text.h"
#include "engine/number_base.h"

namespace calvoro {
namespace {

using K = FunctionButton::Kind;

constexpr FunctionButton kButtons[] = {
    {106, "sin", "sine", "sin", K::Function},
    {107, "arcsin", "inverse sine", "arcsin", K::Function},
    {108, "sinh", "hyperbolic sine", "sinh", K::Function},
    {109, "arsinh", "", "", K::Hidden},
    {110, "cos", "cosine", "cos", K::Function},
    {111, "arccos", "inverse cosine", "arccos", K::Function},
    {112, "cosh", "hyperbolic cosine ", "cosh", K::Function},
    {113, "arcosh", "", "", K::Hidden},
    {114, "tan", "tangent", "tan", K::Function},
    {115, "arctan", "inverse tangent", "arctan", K::Function},
    {116, "tanh", "hyperbolic tangent", "tanh", K::Function},
    {117, "artanh", "", "", K::Hidden},
    {118, "exp", "exponent", "exp", K::Function},
    {119, "ln", "natural logarithm", "ln", K::Function},
    {120, "int", "convert the float number into integer", "int", K::Function},
    {121, "abs", "absolute value", "abs", K::Function},
    {122, "10^x", "10 power", "10^", K::Operator},
    {123, "log", "logarithm base 10", "log", K::Function},
    {124, "rad", "convert the degree into radian", "rad", K::Function},
    {125, "deg", "convert the radian into degree", "deg", K::Function},
    {126, "x^2", "square", "^2", K::Operator},
    {127, "sqrt", "the square root of a number", "sqrt", K::Function},
    {128, "fac", "", "fac", K::Function},
    {137, "&F", "", "F", K::Parameter},
    {143, "&K", "", "K", K::Parameter},
    {144, "&M", "", "M", K::Parameter},
    {145, "&W", "", "W", K::Parameter},
    {146, "PI", "", "Pi", K::Parameter},
};

constexpr std::string_view kAngleFunctions[] = {"sin",  "cos",    "tan",    "sinh",  "cosh",
                                                "tanh", "arcsin", "arccos", "arctan"};

constexpr std::string_view kLabels[ParameterFields::kCount] = {"F", "K", "M", "W", "PI"};

// The number at the start of the text, as a decimal; a text that does not
// start with one reads as 0.
double LeadingDecimal(std::string_view text) {
  text = TrimBlanks(text);
  if (text.starts_with('+')) text.remove_prefix(1);
  double value = 0;
  if (std::from_chars(text.data(), text.data() + text.size(), value).ec != std::errc()) return 0;
  return value;
}

}  // namespace

std::span<const FunctionButton> FunctionButtons() { return kButtons; }

FunctionInput::FunctionInput(std::string_view name, CSysData& record, MessageSink& sink,
                             std::function<void()> save)
    : name_(ToLowerAscii(TrimBlanks(name))),
      prefix_(name_ + "("),
      angleButtons_(std::ranges::find(kAngleFunctions, name_) != std::end(kAngleFunctions)),
      record_(record),
      sink_(sink),
      save_(std::move(save)) {}

void FunctionInput::SetAngle(bool radian) {
  record_.angleRadian = radian;
  if (save_) save_();
}

bool FunctionInput::Ok() {
  if (name_ == "arcsin" || name_ == "arccos") {
    const double value = LeadingDecimal(argument_);
    if (value > 1 || value < -1) {
      sink_.MessageBox(kArcRange, kCaptionCalvoroMessage, MessageIcon::Information);
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
    if (IsNumberOfBase(NumberBase::Decimal, text)) continue;
    const std::string message =
        text.empty() ? "Please enter the value of the parameter " + std::string(kLabels[i]) + "."
                     : "Sorry, the input number " + std::string(text) + " is invalid.";
    sink_.MessageBox(message, kCaptionCalvoroWarning, MessageIcon::Warning);
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
