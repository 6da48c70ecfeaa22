#include "ui/calculator_window.h"

#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>

#include "ui/qt_text.h"

namespace calvoro::ui {

namespace {

constexpr QSize kStandardSize(740, 150);
constexpr QSize kMiniSize(736, 84);
constexpr int kStepsHeight = 170;

// The wait cursor for the length of a command that may calculate for long.
struct WaitCursor {
  WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QApplication::restoreOverrideCursor(); }
};

bool IsCaretKey(int key) {
  switch (key) {
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
      return true;
    default:
      return false;
  }
}

// Ctrl+Shift+1..5 arrive with the digit's key code or, on most layouts, with
// the shifted character's.
int MemoryOfKey(int key) {
  switch (key) {
    case Qt::Key_1:
    case Qt::Key_Exclam:
      return 0;
    case Qt::Key_2:
    case Qt::Key_At:
      return 1;
    case Qt::Key_3:
    case Qt::Key_NumberSign:
      return 2;
    case Qt::Key_4:
    case Qt::Key_Dollar:
      return 3;
    case Qt::Key_5:
    case Qt::Key_Percent:
      return 4;
    default:
      return -1;
  }
}

// The letter keys A to F, which the hexadecimal digits repeat.
constexpr Control kLettersAToF[6] = {kLetterA, kLetterB, kLetterC, kLetterD, kLetterE, kLetterF};

const char* const kMemoryTips[5] = {"The first lastest result of calculation:last1=0",
                                    "The second lastest result of calculation:last2=0",
                                    "The third lastest result of calculation:last3=0",
                                    "The forth lastest result of calculation:last4=0",
                                    "The fifth lastest result of calculation:last5=0"};

}  // namespace

ExprLineEdit::ExprLineEdit(QWidget* parent) : QLineEdit(parent) {
  setDragEnabled(false);
  setAcceptDrops(false);
  setContextMenuPolicy(Qt::NoContextMenu);
  setAttribute(Qt::WA_InputMethodEnabled, false);
}

void ExprLineEdit::keyPressEvent(QKeyEvent* event) {
  if (keyHandler && keyHandler(event)) return event->accept();
  if (IsCaretKey(event->key())) return QLineEdit::keyPressEvent(event);
  event->ignore();  // Escape and the rest go to the window
}

// Characters only come as keys, through the filter.
void ExprLineEdit::inputMethodEvent(QInputMethodEvent* event) { event->ignore(); }

CalculatorWindow::CalculatorWindow(const std::string& settingsPath, bool mini, MessageSink* sink,
                                   QWidget* parent)
    : ShellWindow(mini ? kMiniSize : kStandardSize,
                  mini ? WindowStyle::Mini : WindowStyle::Standard, settingsPath, sink, parent),
      mini_(mini),
      model_(settings(), this->sink()) {
  BuildControls();
  if (mini_) {
    LayoutMini();
  } else {
    LayoutStandard();
  }
  model_.set_offload([this](CalculationRunner::Work work) { return work_.Run(std::move(work)); });
}

SkinnedButton* CalculatorWindow::control(int id) const {
  const auto found = controls_.find(id);
  return found == controls_.end() ? nullptr : found->second;
}

SkinnedButton* CalculatorWindow::Add(int id, const QString& caption, const QRect& place,
                                     ButtonTone tone, const QString& tooltip,
                                     std::function<void()> command) {
  SkinnedButton* button = AddButton(caption, place, tone);
  if (!tooltip.isEmpty()) button->setToolTip(tooltip);
  connect(button, &QAbstractButton::clicked, this, std::move(command));
  controls_[id] = button;
  return button;
}

// Every control is made in both styles; the layouts place them and the mini
// layout hides the keypad and the tools.
void CalculatorWindow::BuildControls() {
  input_ = new ExprLineEdit(this);
  QFont arial(QStringLiteral("Arial"));
  arial.setPointSize(14);
  input_->setFont(arial);
  input_->keyHandler = [this](QKeyEvent* event) { return HandleKey(event); };
  input_->setAccessibleName(QStringLiteral("Expression"));

  const QRect nowhere;
  for (int d = 0; d <= 9; ++d) {
    const char c = static_cast<char>('0' + d);
    Add(kDigit0 + d, QString(QChar(c)), nowhere, ButtonTone::Key, {}, [this, c] { TypeChar(c); });
  }
  struct Op {
    int id;
    char c;
    const char* tip;
  };
  for (const Op& op : {Op{kAdd, '+', "Add"}, Op{kMinus, '-', "Minus [ Substract]"},
                       Op{kPoint, '.', "Point"}, Op{kTimes, '*', "Time [Multiply]"},
                       Op{kDivide, '/', "Divide"}, Op{kOpen, '(', "Open Bracket"},
                       Op{kClose, ')', "Close Bracket"}, Op{kPower, '^', "Power"}}) {
    const char c = op.c;
    Add(op.id, QString(QChar(c)), nowhere, ButtonTone::Operator, QString::fromLatin1(op.tip),
        [this, c] { TypeChar(c); });
  }
  Add(kUnknown, QStringLiteral("X"), nowhere, ButtonTone::Key, QStringLiteral("Unknown Variable"),
      [this] { TypeChar('x'); });
  // Hexadecimal digits A-F, and the same letters among the letter keys.
  for (int i = 0; i < 6; ++i) {
    const char c = static_cast<char>('A' + i);
    Add(kHexA + i, QString(QChar(c)), nowhere, ButtonTone::Key, {}, [this, c] { TypeChar(c); });
    Add(kLettersAToF[i], QString(QChar(c)), nowhere, ButtonTone::Key, {},
        [this, c] { TypeChar(c); });
  }
  for (char c = 'g'; c <= 'y'; ++c) {
    if (c == 'x') continue;
    const int id = c == 'y' ? int{kLetterY} : kLetterG + (c - 'g');
    Add(id, QString(QChar(c - 'a' + 'A')), nowhere, ButtonTone::Key, {},
        [this, c] { TypeChar(c); });
  }
  Add(kHeadHex, QStringLiteral("Oh"), nowhere, ButtonTone::Base,
      QStringLiteral("Hex Float Number Head"), [this] {
        TypeChar('0');
        TypeChar('h');
      });
  Add(kHeadBin, QStringLiteral("Ob"), nowhere, ButtonTone::Base,
      QStringLiteral("Bin Float Number Head"), [this] {
        TypeChar('0');
        TypeChar('b');
      });
  Add(kCalc, QStringLiteral("Calc"), nowhere, ButtonTone::Accent, QStringLiteral("Calculate"),
      [this] { work_.active() ? work_.Stop() : OnCalc(); });
  Add(kEqual, QStringLiteral("="), nowhere, ButtonTone::Accent, QStringLiteral("Equal"),
      [this] { OnEqual(); });
  Add(kBackspace, QStringLiteral("\u2190"), nowhere, ButtonTone::Operator,
      QStringLiteral("Delete the one of input character[Shortcut key - Backspace]"),
      [this] { OnBackspace(); })
      ->setAccessibleName(QStringLiteral("Backspace"));
  for (int i = 0; i < 5; ++i) {
    Add(kLast1 + i, QStringLiteral("L%1").arg(i + 1), nowhere, ButtonTone::Base,
        QString::fromLatin1(kMemoryTips[i]), [this, i] { OnMemory(i); });
  }
  struct Base {
    int id;
    NumberBase base;
    const char *caption, *tip;
  };
  for (const Base& b :
       {Base{kBin, NumberBase::Binary, "Bin", "Binary Expression Calculator"},
        Base{kOct, NumberBase::Octal, "Oct", "Octal Expression Calculator"},
        Base{kDec, NumberBase::Decimal, "Dec", "Decimal Expression Calculator"},
        Base{kHex, NumberBase::Hex, "Hex", "Hex Expression Calculator"},
        Base{kMix, NumberBase::Mix, "Mix",
             "Binary,Octal,Decimal,and Hex float numbers calculate in one expression"}}) {
    const NumberBase base = b.base;
    Add(b.id, QString::fromLatin1(b.caption), nowhere, ButtonTone::Base, QString::fromLatin1(b.tip),
        [this, base] { OnBase(base); })
        ->setCheckable(true);
  }
  Add(kCopy, QStringLiteral("Copy"), nowhere, ButtonTone::Operator,
      QStringLiteral("Copy into the clipboard [Ctrl+C]"), [this] { OnCopy(); });
  Add(kPaste, QStringLiteral("Paste"), nowhere, ButtonTone::Operator,
      QStringLiteral("Input from the clipboard (Paste) [Ctrl+V]"), [this] { OnPaste(); });
  struct Tool {
    int id;
    const char *caption, *tip, *miniTip;
    void (CalculatorWindow::*command)();
  };
  for (const Tool& t :
       {Tool{kSetting, "Setting", "Setting[Ctrl+Shift+S]", "Setting", &CalculatorWindow::OnSetting},
        Tool{kFuncPara, "FuncPara", "Function and Parameter List[Ctrl+Shift+F]",
             "Function and Parameter List", &CalculatorWindow::OnFuncPara},
        Tool{kComplex, "Complex", "Complex Calculator[Ctrl+Shift+P]", "Parameters",
             &CalculatorWindow::OnComplex},
        Tool{kMatrix, "Matrix", "Matrix calculator[Ctrl+Shift+M]", "Exercise for basic calculation",
             &CalculatorWindow::OnMatrix},
        Tool{kLog, "Log", "Log[Ctrl+Shift+L]", "Log", &CalculatorWindow::OnLog},
        Tool{kConverter, "Converter", "Unit Converter[Ctrl+Shift+C]", "",
             &CalculatorWindow::OnConverter},
        Tool{kRobot, "Robot", "File Calculation Robot[Ctrl+Shift+R]", "",
             &CalculatorWindow::OnRobot}}) {
    const auto command = t.command;
    Add(t.id, QString::fromLatin1(t.caption), nowhere, ButtonTone::Tool,
        QString::fromLatin1(mini_ ? t.miniTip : t.tip), [this, command] { (this->*command)(); });
  }
  Add(kSteps, QStringLiteral("Steps"), nowhere, ButtonTone::Base,
      QStringLiteral("Show the lines of working under the input field"),
      [this] { ToggleSteps(control(kSteps)->isChecked()); })
      ->setCheckable(true);

  // The busy state, inside the field's right end.
  busy_ = new QLabel(QStringLiteral("Calculating\u2026 Esc stops"), input_);
  busy_->setStyleSheet(
      QStringLiteral("color: #8a4b00; background: #fff4d6; padding: 0 6px; font-size: 12px;"));
  busy_->setAccessibleName(QStringLiteral("Busy"));
  busy_->hide();
  if (mini_) {
    stop_ = AddButton(QStringLiteral("Stop"), QRect(), ButtonTone::Accent);
    stop_->setToolTip(QStringLiteral("Stop the calculation [Esc]"));
    connect(stop_, &QAbstractButton::clicked, this, [this] { work_.Stop(); });
    stop_->hide();
  }
}

void CalculatorWindow::ShowBusy(bool busy) {
  busy_->adjustSize();
  const int right = input_->width() - (mini_ ? 58 : 4);
  busy_->setGeometry(right - busy_->width(), 4, busy_->width(), input_->height() - 8);
  busy_->setVisible(busy);
  input_->setReadOnly(busy);
  if (stop_) {
    stop_->Place(input_->x() + input_->width() - 56, input_->y() + 4, 52, input_->height() - 8);
    stop_->setVisible(busy);
    stop_->raise();
  }
  SkinnedButton* calc = control(kCalc);
  calc->setText(busy ? QStringLiteral("Stop") : QStringLiteral("Calc"));
  calc->setToolTip(busy ? QStringLiteral("Stop the calculation [Esc]")
                        : QStringLiteral("Calculate"));
}

void CalculatorWindow::LayoutStandard() {
  input_->setGeometry(12, 8, 470, 32);
  control(kBackspace)->Place(488, 10, 40, 28);
  control(kCopy)->Place(532, 10, 44, 28);
  control(kPaste)->Place(580, 10, 46, 28);
  AddFrameButtons(728, 14);

  int x = 12;
  for (int id = kBin; id <= kMix; ++id, x += 44) control(id)->Place(x, 46, 42, 22);
  x = 236;
  for (int id = kHeadHex; id <= kHeadBin; ++id, x += 34) control(id)->Place(x, 46, 32, 22);
  x = 312;
  for (int i = 0; i < 5; ++i, x += 34) control(kLast1 + i)->Place(x, 46, 32, 22);
  const int tools[] = {kSetting, kFuncPara, kComplex, kMatrix, kLog, kConverter, kRobot};
  const int toolWidths[] = {50, 60, 56, 50, 36, 66, 46};
  x = 488;
  // Three tools on the base row, four under the letters.
  for (int i = 0; i < 3; ++i) {
    control(tools[i])->Place(x, 46, toolWidths[i], 22);
    x += toolWidths[i] + 3;
  }
  control(kSteps)->Place(666, 46, 62, 22);

  x = 12;
  for (int d = 0; d <= 9; ++d, x += 26) control(kDigit0 + d)->Place(x, 72, 24, 22);
  for (int i = 0; i < 6; ++i, x += 26) control(kHexA + i)->Place(x, 72, 24, 22);
  x += 6;
  for (int id : {kPoint, kAdd, kMinus, kTimes, kDivide, kPower, kOpen, kClose}) {
    control(id)->Place(x, 72, 24, 22);
    x += 26;
  }
  control(kEqual)->Place(x + 6, 72, 36, 22);
  control(kCalc)->Place(x + 46, 72, 728 - x - 46, 48);

  x = 12;
  for (int id : kLettersAToF) {
    control(id)->Place(x, 98, 24, 22);
    x += 26;
  }
  for (int id = kLetterG; id <= kLetterW; ++id, x += 26) control(id)->Place(x, 98, 24, 22);
  control(kLetterY)->Place(x, 98, 24, 22);
  control(kUnknown)->Place(x + 32, 98, 36, 22);

  x = 12;
  for (int i = 3; i < 7; ++i) {
    control(tools[i])->Place(x, 124, toolWidths[i] + 14, 20);
    x += toolWidths[i] + 17;
  }
  QLabel* brand = AddStatic(QStringLiteral("Calvoro \u2014 exact to the last digit"),
                            QRect(x + 12, 124, 300, 20));
  brand->setStyleSheet(QStringLiteral("color: #6a7386; font-style: italic;"));
}

void CalculatorWindow::LayoutMini() {
  input_->setGeometry(12, 8, 470, 32);
  control(kBackspace)->Place(488, 10, 36, 28);
  control(kCopy)->Place(528, 10, 42, 28);
  control(kPaste)->Place(574, 10, 46, 28);
  AddFrameButtons(724, 14);
  int x = 12;
  for (int id = kBin; id <= kMix; ++id, x += 44) control(id)->Place(x, 48, 42, 26);
  x = 240;
  for (int id = kHeadHex; id <= kHeadBin; ++id, x += 36) control(id)->Place(x, 48, 34, 26);
  control(kUnknown)->Place(316, 48, 32, 26);
  x = 356;
  for (int i = 0; i < 5; ++i, x += 36) control(kLast1 + i)->Place(x, 48, 34, 26);
  // The keypad and the tools exist but are hidden; their keys still work.
  for (auto& [id, button] : controls_) {
    const bool shown =
        id != kSteps &&
        ((id >= kBin && id <= kMix) || id == kHeadHex || id == kHeadBin || id == kUnknown ||
         (id >= kLast1 && id < kLast1 + 5) || id == kBackspace || id == kCopy || id == kPaste);
    button->setVisible(shown);
  }
}

void CalculatorWindow::Initialise() {
  const bool openTip = model_.Initialise();
  RefreshBase();
  ShowField();
  InitShell(openTip);
}

void CalculatorWindow::FocusInput() { input_->setFocus(); }

void CalculatorWindow::SyncField() {
  EditField& field = model_.field();
  field.text = FromQt(input_->text());
  const auto caret = static_cast<std::size_t>(input_->cursorPosition());
  field.caret = caret;
  field.anchor = caret;
  if (input_->hasSelectedText()) {
    const auto start = static_cast<std::size_t>(input_->selectionStart());
    const auto length = static_cast<std::size_t>(input_->selectedText().size());
    field.anchor = caret == start ? start + length : start;
  }
  field.ClampPositions();
}

void CalculatorWindow::ShowField() {
  const EditField& field = model_.field();
  input_->setText(ToQt(field.text));
  if (field.HasSelection()) {
    input_->setSelection(static_cast<int>(field.anchor),
                         static_cast<int>(field.caret) - static_cast<int>(field.anchor));
  } else {
    input_->setCursorPosition(static_cast<int>(field.caret));
  }
  input_->setFocus();
}

void CalculatorWindow::Run(const std::function<void()>& command) {
  if (Blocked()) return;
  SyncField();
  command();
  ShowField();
  RefreshMemoryTooltips();
}

void CalculatorWindow::TypeChar(char c) {
  Run([&] { model_.TypeChar(c); });
}

void CalculatorWindow::InsertText(std::string_view text) {
  Run([&] { model_.InsertText(text); });
}

void CalculatorWindow::OnCalc() {
  Run([&] { ShowSteps(model_.CalcCommand()); });
}

void CalculatorWindow::OnEqual() {
  Run([&] { ShowSteps(model_.EqualCommand()); });
}

void CalculatorWindow::OnMemory(int index) {
  Run([&] { model_.MemoryCommand(index); });
}

void CalculatorWindow::OnBase(NumberBase base) {
  if (Blocked()) {
    RefreshBase();  // a click must not leave the wrong base looking pressed
    return;
  }
  Run([&] {
    WaitCursor wait;
    input_->setText(QStringLiteral("Please wait..."));
    input_->repaint();
    model_.BaseCommand(base);
  });
  RefreshBase();
}

void CalculatorWindow::OnBackspace() {
  Run([&] { model_.BackspaceCommand(); });
}

void CalculatorWindow::OnCopy() {
  if (work_.active()) return;  // the field is the calculation's until it ends
  SyncField();
  const std::string text = model_.CopyCommand();
  QGuiApplication::clipboard()->setText(ToQt(text));
  ShowField();
}

void CalculatorWindow::OnPaste() {
  Run([&] { model_.PasteCommand(FromQt(QGuiApplication::clipboard()->text())); });
}

void CalculatorWindow::ShowSteps(const CommandResult& result) {
  if (steps_ && model_.steps_wanted() && result.ok) steps_->setPlainText(ToQtLines(result.steps));
}

// The base buttons show the chosen base pressed; the hexadecimal digits and
// the digits above the base are off, and the heads only serve Mix.
void CalculatorWindow::RefreshBase() {
  const NumberBase base = model_.base();
  // The base buttons stand in the order of NumberBase.
  for (int i = 0; i < 5; ++i) control(kBin + i)->setChecked(static_cast<NumberBase>(i) == base);
  for (int d = 0; d <= 9; ++d) control(kDigit0 + d)->setEnabled(IsDigitOfBase(base, char('0' + d)));
  for (int i = 0; i < 6; ++i) control(kHexA + i)->setEnabled(IsDigitOfBase(base, char('A' + i)));
  const bool mix = base == NumberBase::Mix;
  control(kHeadHex)->setEnabled(mix);
  control(kHeadBin)->setEnabled(mix);
}

void CalculatorWindow::RefreshMemoryTooltips() {
  for (int i = 0; i < 5; ++i) control(kLast1 + i)->setToolTip(ToQt(model_.MemoryTooltip(i)));
}

void CalculatorWindow::ToggleSteps(bool on) {
  if (mini_) return;
  if (on && !steps_) {
    steps_ = new QPlainTextEdit(this);
    steps_->setReadOnly(true);
    steps_->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
    steps_->setGeometry(12, kStandardSize.height() - 2, kStandardSize.width() - 24,
                        kStepsHeight - 10);
    steps_->setPlaceholderText(
        QStringLiteral("The lines of working of the next calculation show here."));
  }
  // The step text is built only while the panel shows; a hidden panel
  // forgets the last one, so that it never shows stale working.
  model_.set_steps_wanted(on);
  if (steps_) {
    steps_->setVisible(on);
    if (!on) steps_->clear();
  }
  Reshape(on ? QSize(kStandardSize.width(), kStandardSize.height() + kStepsHeight) : kStandardSize);
  control(kSteps)->setChecked(on);
  // Opened on a result: its working, calculated again.
  if (on) {
    Run([&] {
      if (const auto steps = model_.StepsOfShownResult()) steps_->setPlainText(ToQtLines(*steps));
    });
  }
  FocusInput();
}

bool CalculatorWindow::HandleKey(QKeyEvent* event) {
  // While a calculation runs only Escape (the window's reject) acts.
  if (work_.active()) return event->key() != Qt::Key_Escape;
  const Qt::KeyboardModifiers mods = event->modifiers() & (Qt::ControlModifier | Qt::ShiftModifier |
                                                           Qt::AltModifier | Qt::MetaModifier);
  const int key = event->key();
  if (mods == (Qt::ControlModifier | Qt::ShiftModifier)) {
    if (const int memory = MemoryOfKey(key); memory >= 0) {
      OnMemory(memory);
      return true;
    }
    switch (key) {
      case Qt::Key_C:
        OnConverter();
        return true;
      case Qt::Key_F:
        OnFuncPara();
        return true;
      case Qt::Key_L:
        OnLog();
        return true;
      case Qt::Key_M:
        OnMatrix();
        return true;
      case Qt::Key_P:
        OnComplex();
        return true;
      case Qt::Key_R:
        OnRobot();
        return true;
      case Qt::Key_S:
        OnSetting();
        return true;
      default:
        return false;
    }
  }
  if (mods == Qt::ControlModifier) {
    switch (key) {
      case Qt::Key_C:
        OnCopy();
        return true;
      case Qt::Key_V:
        OnPaste();
        return true;
      case Qt::Key_A:
        Run([&] { model_.SelectAll(); });
        return true;
      default:
        return false;
    }
  }
  if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
      OnCalc();
      return true;
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
      OnBackspace();
      return true;
    default:
      break;
  }
  const QString text = event->text();
  if (text.size() != 1) return false;
  const char c = text.at(0).toLatin1();
  if (c == '=') {
    OnEqual();
    return true;
  }
  if ((c >= '0' && c <= '9') || std::string_view("+-*/.()^").find(c) != std::string_view::npos) {
    TypeChar(c);
    return true;
  }
  const char lower = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  if (lower < 'a' || lower > 'y') return false;
  // Letters act like their buttons: A-F in upper case, the others in lower.
  TypeChar(lower <= 'f' ? static_cast<char>(lower - 'a' + 'A') : lower);
  return true;
}

void CalculatorWindow::keyPressEvent(QKeyEvent* event) {
  if (HandleKey(event)) return event->accept();
  ShellWindow::keyPressEvent(event);
}

// Escape and the exit button stop a calculation in progress first.
void CalculatorWindow::reject() {
  if (work_.active()) return work_.Stop();
  ShellWindow::reject();
}

void CalculatorWindow::closeEvent(QCloseEvent* event) {
  work_.Stop();
  ShellWindow::closeEvent(event);
}

}  // namespace calvoro::ui
