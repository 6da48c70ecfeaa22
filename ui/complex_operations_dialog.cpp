#include "ui/complex_operations_dialog.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "ui/qt_text.h"

namespace calvoro::ui {

namespace {

constexpr QSize kSize(520, 384);

// The label between the parts is the full-width "＋", which only the CJK
// fonts draw; without one Qt would show an empty box, so the plain plus
// stands in.
QString PlusLabel() {
  static const QString label = [] {
    for (const auto system : {QFontDatabase::SimplifiedChinese, QFontDatabase::TraditionalChinese,
                              QFontDatabase::Japanese, QFontDatabase::Korean}) {
      for (const QString& family : QFontDatabase::families(system)) {
        if (QFontMetrics(QFont(family)).inFontUcs4(0xFF0B)) return QStringLiteral("\uFF0B");
      }
    }
    return QStringLiteral("+");
  }();
  return label;
}

}  // namespace

ComplexOperandText ComplexOperandEdits::Text() const {
  return {FromQt(re->text()), FromQt(im->text())};
}

void FocusRefusedField(std::span<const ComplexOperandEdits> rows, int field) {
  if (field < 0) return;
  const ComplexOperandEdits& row = rows[static_cast<std::size_t>(field / 2)];
  QLineEdit* edit = field % 2 == 0 ? row.re : row.im;
  edit->setFocus();
  edit->selectAll();
}

ComplexOperandEdits AddComplexOperandRow(SkinnedDialog& dialog, char letter, int x, int y,
                                         int editWidth) {
  QFont bold(QStringLiteral("Arial"));
  bold.setPixelSize(14);
  bold.setBold(true);
  dialog.AddStatic(QStringLiteral("%1:").arg(QChar(letter)), QRect(x, y, 24, 24))->setFont(bold);
  ComplexOperandEdits edits;
  const int left = x + 26;
  edits.re = new QLineEdit(&dialog);
  edits.re->setGeometry(left, y, editWidth, 24);
  QLabel* plus = dialog.AddStatic(PlusLabel(), QRect(left + editWidth + 2, y, 18, 24));
  plus->setAlignment(Qt::AlignCenter);
  plus->setFont(bold);
  edits.im = new QLineEdit(&dialog);
  edits.im->setGeometry(left + editWidth + 22, y, editWidth, 24);
  dialog.AddStatic(QStringLiteral("j"), QRect(left + 2 * editWidth + 26, y, 14, 24))->setFont(bold);
  // An empty edit reads as 0.
  edits.re->setPlaceholderText(QStringLiteral("0"));
  edits.im->setPlaceholderText(QStringLiteral("0"));
  return edits;
}

ComplexOperationsDialog::ComplexOperationsDialog(MessageSink& sink, QWidget* parent)
    : SkinnedDialog(kSize, ToQt(kTitle), parent), sink_(sink), work_(new WindowWork(this)) {
  operands_[0] = AddComplexOperandRow(*this, 'A', 20, 44, 196);
  operands_[1] = AddComplexOperandRow(*this, 'B', 20, 76, 196);

  // Three buttons a row, in the dialog's order.
  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const int column = static_cast<int>(i % 3), row = static_cast<int>(i / 3);
    const auto operation = static_cast<ComplexOperation>(i);
    SkinnedButton* button = AddButton(ToQt(kComplexOperationLabels[i]),
                                      QRect(20 + column * 162, 116 + row * 30, 154, 25));
    connect(button, &QAbstractButton::clicked, this, [this, operation] { Press(operation); });
    buttons_[i] = button;
  }

  AddStatic(QStringLiteral("Output"), QRect(20, 238, 120, 20));
  output_ = new QPlainTextEdit(this);
  output_->setGeometry(20, 258, 480, 80);
  output_->setReadOnly(true);
  output_->setTabChangesFocus(true);
  output_->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));

  SkinnedButton* close =
      AddButton(QStringLiteral("Close"), QRect(435, 348, 65, 25), ButtonTone::Accent);
  connect(close, &QAbstractButton::clicked, this, &QDialog::reject);
  // Enter runs the first operation.
  SetDefaultButton(buttons_[0]);
  operands_[0].re->setFocus();
}

// The operation runs on a thread of its own, on a model of its own.
void ComplexOperationsDialog::Press(ComplexOperation operation) {
  struct Pressed {
    bool ok;
    std::string output;
    int refused;
  };
  const auto pressed = RunOffloaded<Pressed>(
      work_->offload(button(operation)), sink_,
      [a = operands_[0].Text(), b = operands_[1].Text(), operation](
          MessageSink& sink, const CalculationRunner::StopToken&) -> std::optional<Pressed> {
        ComplexOperationsModel model(sink);
        model.a = a;
        model.b = b;
        const bool ok = model.Press(operation);
        return Pressed{ok, model.output(), model.refusedField()};
      });
  if (!pressed) return;  // stopped
  if (pressed->ok) output_->setPlainText(ToQtLines(pressed->output));
  FocusRefusedField(operands_, pressed->refused);
}

}  // namespace calvoro::ui
