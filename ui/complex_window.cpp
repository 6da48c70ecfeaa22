#include "ui/complex_window.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

#include "ui/qt_text.h"

namespace calvoro::ui {

namespace {

constexpr QSize kSize(560, 344);

QLineEdit* AddExpressionEdit(QWidget* parent, const QRect& place) {
  auto* edit = new QLineEdit(parent);
  edit->setGeometry(place);
  QFont arial(QStringLiteral("Arial"));
  arial.setPixelSize(16);
  edit->setFont(arial);
  return edit;
}

}  // namespace

ComplexWindow::ComplexWindow(const std::string& settingsPath, MessageSink* sink, QWidget* parent)
    : ShellWindow(kSize, WindowStyle::Complex, settingsPath, sink, parent),
      work_(new WindowWork(this)) {
  setWindowTitle(ToQt(ComplexModel::kTitle));
  QLabel* title = AddStatic(ToQt(ComplexModel::kTitle), QRect(16, 10, 400, 24));
  QFont heading(QStringLiteral("Arial"));
  heading.setPixelSize(16);
  heading.setBold(true);
  title->setFont(heading);
  AddFrameButtons(548, 12);

  for (int i = 0; i < 5; ++i) {
    operands_[static_cast<std::size_t>(i)] =
        AddComplexOperandRow(*this, static_cast<char>('A' + i), 16, 44 + i * 30, 200);
  }

  AddStatic(QStringLiteral("Input Expression:"), QRect(16, 200, 200, 20));
  input_ = AddExpressionEdit(this, QRect(16, 220, 420, 30));
  calculate_ = AddButton(QStringLiteral("Calculate"), QRect(444, 220, 104, 30), ButtonTone::Accent);
  connect(calculate_, &QAbstractButton::clicked, this, &ComplexWindow::OnCalculate);
  QLabel* hint = AddStatic(ToQt(ComplexModel::kHint), QRect(16, 252, 420, 18));
  hint->setStyleSheet(QStringLiteral("color: #6a7386; font-style: italic;"));

  AddStatic(QStringLiteral("Output Value:"), QRect(16, 274, 200, 20));
  output_ = AddExpressionEdit(this, QRect(16, 294, 532, 30));
  output_->setReadOnly(true);
}

void ComplexWindow::Initialise() { InitShell(); }

void ComplexWindow::FocusInput() { input_->setFocus(); }

void ComplexWindow::OnCalculate() {
  if (Blocked()) return;
  // On a thread of its own, on a model of its own.
  struct Calculated {
    bool ok;
    std::string output;
    int refused;
  };
  std::array<ComplexOperandText, 5> operands;
  for (std::size_t i = 0; i < operands_.size(); ++i) operands[i] = operands_[i].Text();
  const auto calculated = RunOffloaded<Calculated>(
      work_->offload(calculate_), sink(),
      [operands, expression = FromQt(input_->text())](
          MessageSink& sink, const CalculationRunner::StopToken&) -> std::optional<Calculated> {
        ComplexModel model(sink);
        model.operands = operands;
        model.expression = expression;
        const bool ok = model.Calculate();
        return Calculated{ok, model.output(), model.refusedField()};
      });
  if (calculated && calculated->ok) output_->setText(ToQt(calculated->output));
  if (calculated && calculated->refused >= 0) {
    FocusRefusedField(operands_, calculated->refused);
  } else {
    FocusInput();
  }
}

// Enter calculates from any edit; the rest (Escape's close question) is the
// shell's.
void ComplexWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
    OnCalculate();
    return event->accept();
  }
  ShellWindow::keyPressEvent(event);
}

}  // namespace calvoro::ui
