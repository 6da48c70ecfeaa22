// ConversionWindow: the calculator window of the conversion style. An expression
// over the quantities A to E, each in a unit of the chosen category, shown in
// the Output unit; ConversionModel calculates and raises the messages.
// Around it the shell every calculator window has: style menu, help,
// minimise, exit, close question, tip of the day.
//
// Keys: Enter in the expression field calculates; the field takes
// what an expression over A to E needs; Escape asks before closing.
#pragma once

#include <QLineEdit>
#include <array>
#include <string>

#include "app/sys_data.h"
#include "ui/shell_window.h"
#include "units/conversion_model.h"

class QComboBox;

namespace calvoro::ui {

class WindowWork;

class ConversionWindow : public ShellWindow {
  Q_OBJECT
 public:
  explicit ConversionWindow(const std::string& settingsPath, MessageSink* sink = nullptr,
                            QWidget* parent = nullptr);

  // Window initialisation: the tip of the day on a fresh start, the tray icon.
  void Initialise();

  ConversionModel& model() { return model_; }
  QComboBox* categoryCombo() const { return category_; }
  // A to E (0 to 4) and Output (ConversionModel::kOutputSlot).
  QComboBox* unitCombo(int slot) const { return units_.at(static_cast<std::size_t>(slot)); }
  QLineEdit* input() const { return input_; }
  QLineEdit* output() const { return output_; }
  SkinnedButton* calculateButton() const { return calculate_; }

  void OnCategory(int index);
  void OnCalculate();
  void FocusInput() override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildControls();
  void FillUnitCombos();
  void ShowChoices();

  ConversionModel model_;
  WindowWork* work_;
  QComboBox* category_ = nullptr;
  std::array<QComboBox*, 6> units_{};
  QLineEdit* input_ = nullptr;
  QLineEdit* output_ = nullptr;
  SkinnedButton* calculate_ = nullptr;
  bool filling_ = false;
};

}  // namespace calvoro::ui
