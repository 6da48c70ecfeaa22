// The operations dialog and the complex-style window as models.
#include "complex/complex_models.h"

#include <algorithm>
#include <cmath>

#include "engine/expression_text.h"
#include "engine/refusal.h"
#include "numeric/number_text.h"

namespace calvoro {

namespace {

// An edit's value: 0 when empty.
std::optional<double> EditValue(std::string_view text) {
  if (TrimBlanks(text).empty()) return 0.0;
  // A typed "-0" is 0: the angle of -1-0j would be -pi.
  if (const auto value = ReadDecimalDouble(text)) return *value + 0.0;
  return std::nullopt;
}

}  // namespace

std::string ComplexFieldName(int field) {
  return std::string(field % 2 == 0 ? "the real part of " : "the imaginary part of ") +
         static_cast<char>('A' + field / 2);
}

int ReadComplexOperands(std::span<const ComplexOperandText> operands,
                        std::span<ComplexNumber> values, MessageSink& sink) {
  for (std::size_t k = 0; k < operands.size(); ++k) {
    const std::optional<double> parts[] = {EditValue(operands[k].re), EditValue(operands[k].im)};
    for (int part = 0; part < 2; ++part) {
      if (parts[part]) continue;
      const int field = static_cast<int>(2 * k) + part;
      ReportRefusal({RefusalId::kComplexField, {ComplexFieldName(field)}}, sink);
      return field;
    }
    values[k] = {*parts[0], *parts[1]};
  }
  return -1;
}

std::string ComplexOperationText(ComplexOperation operation, ComplexNumber a, ComplexNumber b) {
  switch (operation) {
    case ComplexOperation::kAdd:
      return ComplexText(Add(a, b));
    case ComplexOperation::kSubtract:
      return ComplexText(Subtract(a, b));
    case ComplexOperation::kMultiply:
      return ComplexText(Multiply(a, b));
    case ComplexOperation::kDivide:
      return ComplexText(Divide(a, b));
    case ComplexOperation::kModule:
      return FixedText(Module(a));
    case ComplexOperation::kLog:
      return ComplexText(Log(a));
    case ComplexOperation::kSin:
      return ComplexText(Sin(a));
    case ComplexOperation::kCos:
      return ComplexText(Cos(a));
    case ComplexOperation::kTan:
      return ComplexText(Tan(a));
    case ComplexOperation::kRealPower:
      return ComplexText(RealPower(a, b.re));
    case ComplexOperation::kComplexPower:
      return ComplexText(ComplexPower(a, b));
    case ComplexOperation::kRoots: {
      // The count is B's real part truncated; below 1 (or not a number)
      // there are no roots.
      const double count = std::trunc(b.re);
      std::string text;
      if (!(count >= 1)) return text;
      for (const ComplexNumber& root :
           Roots(a, static_cast<int>(std::min<double>(count, kMaxRoots)))) {
        if (!text.empty()) text += "\r\n";
        text += ComplexText(root);
      }
      return text;
    }
  }
  return {};
}

bool ComplexOperationsModel::Press(ComplexOperation operation) {
  const ComplexOperandText texts[] = {a, b};
  ComplexNumber values[2];
  refusedField_ = ReadComplexOperands(texts, values, sink_);
  if (refusedField_ >= 0) return false;
  const ComplexNumber x = values[0], y = values[1];
  if (operation == ComplexOperation::kRoots && std::trunc(y.re) > kMaxRoots) {
    ReportRefusal({RefusalId::kComplexTooManyRoots, {}}, sink_);
    return false;
  }
  // 0 to a negative power is a division by zero, not 0.
  const bool power =
      operation == ComplexOperation::kRealPower || operation == ComplexOperation::kComplexPower;
  const bool divide = operation == ComplexOperation::kDivide;
  if ((power && x.IsZero() && y.re < 0) || (divide && y.IsZero())) {
    ReportRefusal({RefusalId::kComplexZeroDenominator, {}}, sink_);
    return false;
  }
  // Overflow or a pole (the log of 0) gives no number to show.
  std::string text = ComplexOperationText(operation, x, y);
  if (text.find("nan") != std::string::npos || text.find("inf") != std::string::npos) {
    ReportRefusal({RefusalId::kComplexNotFinite, {}}, sink_);
    return false;
  }
  output_ = std::move(text);
  return true;
}

bool ComplexModel::Calculate() {
  ComplexOperands values;
  refusedField_ = ReadComplexOperands(operands, values, sink_);
  if (refusedField_ >= 0) return false;
  const std::string_view text = TrimBlanks(expression);
  if (text.empty()) {
    ReportRefusal({RefusalId::kComplexNoExpression, {}}, sink_);
    return false;
  }
  if (!CountBrackets(text).Balanced()) {
    ReportRefusal({RefusalId::kComplexUnequalBrackets, {}}, sink_);
    return false;
  }
  const std::optional<ComplexNumber> value =
      ComplexEvaluator(values).Evaluate(PrepareComplexExpression(text));
  if (!value) {
    ReportRefusal({RefusalId::kComplexFailed, {std::string(kSupportEmail)}}, sink_);
    return false;
  }
  output_ = ComplexText(*value);
  return true;
}

}  // namespace calvoro
