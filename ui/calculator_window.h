// The standard and mini calculator windows (StandardWindow, MiniWindow):
// the input field, the keypad, the base and memory buttons and the tools,
// wired to CalculatorModel, which does every command. The mini window has
// the same controls with the keypad and the tools hidden; their keys work in
// both.
#pragma once

#include <QLineEdit>
#include <functional>
#include <map>
#include <string>

#include "app/calculator_model.h"
#include "ui/shell_window.h"
#include "ui/window_work.h"

class QLabel;
class QPlainTextEdit;

namespace calvoro::ui {

// Control numbers of the window's buttons.
enum Control : int {
  kCopy = 3,
  kPaste = 4,
  kMatrix = 5,
  kEqual = 1001,
  kHelp = 1002,
  kSetting = 1003,
  kFuncPara = 1004,
  kComplex = 1005,
  kExit = 1006,
  kLog = 1007,
  kDigit0 = 1008,
  kCalc = 1018,
  kAdd = 1019,
  kMinus = 1020,
  kPoint = 1021,
  kTimes = 1022,
  kDivide = 1023,
  kOpen = 1024,
  kClose = 1025,
  kPower = 1026,
  kMinimize = 1027,
  kUnknown = 1031,
  kHexA = 1032,
  kStyle = 1078,
  kConverter = 1104,
  kRobot = 1105,
  kLast1 = 1106,
  kBackspace = 1111,
  kBin = 1145,
  kOct = 1146,
  kDec = 1147,
  kHex = 1148,
  kMix = 1149,
  kHeadHex = 1163,
  kHeadBin = 1164,
  kSteps = 2000,
  // The letter keys: A to F apart from the hexadecimal digits, G to W in a
  // run from kLetterG, and Y (X is kUnknown).
  kLetterA = 1150,
  kLetterB = 1151,
  kLetterC = 1152,
  kLetterD = 1155,
  kLetterE = 1156,
  kLetterF = 1157,
  kLetterG = 1038,
  kLetterW = 1054,
  kLetterY = 1056,
};

// The expression field: every key goes to the window; only caret movement
// and selection stay with the line edit.
class ExprLineEdit : public QLineEdit {
  Q_OBJECT
 public:
  explicit ExprLineEdit(QWidget* parent);
  std::function<bool(QKeyEvent*)> keyHandler;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void inputMethodEvent(QInputMethodEvent* event) override;
};

class CalculatorWindow : public ShellWindow {
  Q_OBJECT
 public:
  CalculatorWindow(const std::string& settingsPath, bool mini, MessageSink* sink, QWidget* parent);

  // Window initialisation: the base, the saved input or the fresh start (and
  // the tip of the day), the tray icon.
  void Initialise();

  CalculatorModel& model() { return model_; }
  ExprLineEdit* input() const { return input_; }
  SkinnedButton* control(int id) const;
  QPlainTextEdit* stepsView() const { return steps_; }

  // Commands, as the buttons and keys run them.
  void TypeChar(char c);
  void OnCalc();
  void OnEqual();
  void OnMemory(int index);
  void OnBase(NumberBase base);
  void OnBackspace();
  void OnCopy();
  void OnPaste();
  void OnSetting();
  void OnFuncPara();
  void OnLog();
  void OnComplex();
  void OnMatrix();
  void OnConverter();
  void OnRobot();
  void ToggleSteps(bool on);
  // Inserts at the caret (the function list and the tools hand texts back).
  void InsertText(std::string_view text);
  // A key as the window's accelerators and characters handle it.
  bool HandleKey(QKeyEvent* event);

  void FocusInput() override;

  // A calculation in progress holds every command; Escape, the Stop button
  // (where Calc was) and closing the window stop it.
  bool Blocked() const { return work_.active() || ShellWindow::Blocked(); }
  bool calculating() const { return work_.active(); }
  void StopCalculation() { work_.Stop(); }
  QLabel* busyIndicator() const { return busy_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void reject() override;
  void closeEvent(QCloseEvent* event) override;

 private:
  SkinnedButton* Add(int id, const QString& caption, const QRect& place, ButtonTone tone,
                     const QString& tooltip, std::function<void()> command);
  void BuildControls();
  void LayoutStandard();
  void LayoutMini();
  // Mirrors the line edit into the model's field before a command, and the
  // field back into the line edit after it.
  void SyncField();
  void ShowField();
  void Run(const std::function<void()>& command);
  void ShowSteps(const CommandResult& result);
  void RefreshBase();
  void RefreshMemoryTooltips();
  void ShowBusy(bool busy);

  bool mini_;
  CalculatorModel model_;
  WindowWork work_{[this](bool busy) { ShowBusy(busy); }};
  QLabel* busy_ = nullptr;
  SkinnedButton* stop_ = nullptr;  // the mini window's, which has no Calc button
  ExprLineEdit* input_ = nullptr;
  QPlainTextEdit* steps_ = nullptr;
  std::map<int, SkinnedButton*> controls_;
};

class StandardWindow : public CalculatorWindow {
  Q_OBJECT
 public:
  StandardWindow(const std::string& settingsPath, MessageSink* sink = nullptr,
                 QWidget* parent = nullptr)
      : CalculatorWindow(settingsPath, false, sink, parent) {}
};

class MiniWindow : public CalculatorWindow {
  Q_OBJECT
 public:
  MiniWindow(const std::string& settingsPath, MessageSink* sink = nullptr,
             QWidget* parent = nullptr)
      : CalculatorWindow(settingsPath, true, sink, parent) {}
};

}  // namespace calvoro::ui
