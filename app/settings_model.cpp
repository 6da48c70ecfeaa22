// The settings dialog's logic.
#include "app/settings_model.h"

#include "engine/expression_text.h"
#include "numeric/precision.h"

namespace calvoro {

IntegerRead ReadBoundedInteger(std::string_view text, int max, int& value) {
  text = TrimBlanks(text);
  if (text.empty()) return IntegerRead::NotInteger;
  long long read = 0;
  bool beyond = false;
  for (char c : text) {
    if (c < '0' || c > '9') return IntegerRead::NotInteger;
    // Past the bound the digits are only checked, never accumulated.
    if (!beyond) {
      read = read * 10 + (c - '0');
      beyond = read > max;
    }
  }
  if (beyond) return IntegerRead::OutOfRange;
  value = static_cast<int>(read);
  return IntegerRead::Ok;
}

PrecisionFigures FiguresOfPrecision(long long precision) {
  return {ScaledDigits(Radix::kBinary, precision), ScaledDigits(Radix::kOctal, precision),
          ScaledDigits(Radix::kDecimal, precision), ScaledDigits(Radix::kHex, precision)};
}

SettingsValues SettingsOf(const CSysData& record) {
  return {record.angleRadian, record.minimizeToTray, record.addSingleConversionToHistory,
          record.precision, record.exponentThreshold};
}

void StoreSettings(const SettingsValues& values, CSysData& record) {
  record.angleRadian = values.useRadian;
  record.minimizeToTray = values.minimizeToTray;
  record.addSingleConversionToHistory = values.addSingleConversionToHistory;
  record.precision = values.precision;
  record.exponentThreshold = values.exponentThreshold;
}

SettingsModel::SettingsModel(const SettingsValues& values, MessageSink& sink)
    : values_(values),
      sink_(sink),
      precisionText_(std::to_string(values.precision)),
      thresholdText_(std::to_string(values.exponentThreshold)) {}

bool SettingsModel::PrecisionChanged(std::string_view text) {
  precisionText_ = text;
  return Read(Field::Precision);
}

bool SettingsModel::Ok() { return Read(Field::Precision) && Read(Field::ExponentThreshold); }

bool SettingsModel::Read(Field field) {
  const bool precision = field == Field::Precision;
  int value = 0;
  const IntegerRead read = precision
                               ? ReadBoundedInteger(precisionText_, kMaxPrecision, value)
                               : ReadBoundedInteger(thresholdText_, kMaxExponentThreshold, value);
  if (read != IntegerRead::Ok) {
    const std::string_view text = read == IntegerRead::NotInteger ? kNotPositiveInteger
                                  : precision                     ? kPrecisionRange
                                                                  : kThresholdRange;
    sink_.MessageBox(text, kCaptionCalvoro, MessageIcon::Warning);
    focus_ = field;
    return false;
  }
  (precision ? values_.precision : values_.exponentThreshold) = value;
  focus_ = Field::None;
  return true;
}

}  // namespace calvoro
