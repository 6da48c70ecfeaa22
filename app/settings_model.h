// The settings dialog's logic: the angle unit, minimise-to-tray, the
// converter's history option, the precision and the exponent threshold, and
// the fraction digits the precision gives each number base.
//
// The caller fills the dialog from its record and, after OK, stores the
// values back and saves. Until then nothing reaches the record: Cancel and
// Escape leave every setting as it was.
#pragma once

#include <string>
#include <string_view>

#include "app/sys_data.h"
#include "engine/message_sink.h"
#include "engine/refusal.h"

namespace calvoro {

enum class IntegerRead { Ok, NotInteger, OutOfRange };
// The refusal of a precision (or exponent threshold) field read as `read`.
Refusal IntegerReadRefusal(IntegerRead read, bool precision);
// An unsigned integer text (blanks around it allowed) no larger than `max`.
// `value` is set only on Ok.
IntegerRead ReadBoundedInteger(std::string_view text, int max, int& value);

// Fraction digits kept per base at precision P: 4P bits, 4P/3 octal digits
// (rounded down), P decimal and P hexadecimal digits.
struct PrecisionFigures {
  long long binary = 0, octal = 0, decimal = 0, hex = 0;
  bool operator==(const PrecisionFigures&) const = default;
};
PrecisionFigures FiguresOfPrecision(long long precision);

struct SettingsValues {
  bool useRadian = true;
  bool minimizeToTray = true;
  bool addSingleConversionToHistory = false;
  int precision = 10;
  int exponentThreshold = 100;
  bool operator==(const SettingsValues&) const = default;
};
SettingsValues SettingsOf(const CSysData& record);
// The five values into the record (the caller saves).
void StoreSettings(const SettingsValues& values, CSysData& record);

class SettingsModel {
 public:
  enum class Field { None, Precision, ExponentThreshold };

  // The figures follow the precision being edited.
  SettingsModel(const SettingsValues& values, MessageSink& sink);

  // The two edits' texts as they stand.
  const std::string& precisionText() const { return precisionText_; }
  const std::string& thresholdText() const { return thresholdText_; }

  // "Radian" and "Degree" act as a pair.
  void SelectRadian() { values_.useRadian = true; }
  void SelectDegree() { values_.useRadian = false; }
  void SetMinimizeToTray(bool on) { values_.minimizeToTray = on; }
  void SetAddSingleConversionToHistory(bool on) { values_.addSingleConversionToHistory = on; }

  // Every change of the precision edit: a refused text raises its message
  // and asks for the focus; an accepted one is kept and the figures follow.
  // True when accepted.
  bool PrecisionChanged(std::string_view text);
  // The threshold edit is read on OK.
  void ThresholdChanged(std::string_view text) { thresholdText_ = text; }

  // OK: reads both edits; a refusal raises its message, asks for the focus
  // and keeps the dialog open (false). On true the dialog closes with
  // `values()` for the caller to store.
  bool Ok();

  // The edit that should get the focus after a refusal.
  Field focus() const { return focus_; }
  // The four figures of the last precision that read well.
  PrecisionFigures figures() const { return FiguresOfPrecision(values_.precision); }
  const SettingsValues& values() const { return values_; }

 private:
  bool Read(Field field);

  SettingsValues values_;
  MessageSink& sink_;
  std::string precisionText_;
  std::string thresholdText_;
  Field focus_ = Field::None;
};

}  // namespace calvoro
