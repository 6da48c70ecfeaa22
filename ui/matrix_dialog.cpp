#include "ui/matrix_dialog.h"

#include <QPlainTextEdit>
#include <QTextCursor>

#include "ui/qt_text.h"

namespace calvoro::ui {

namespace {

constexpr QSize kSize(560, 420);

// A multi-line edit in a fixed-width font, where Tab moves on.
QPlainTextEdit* AddMatrixEdit(QWidget* parent, const QRect& place, bool readOnly) {
  auto* edit = new QPlainTextEdit(parent);
  edit->setGeometry(place);
  edit->setReadOnly(readOnly);
  edit->setTabChangesFocus(true);
  edit->setLineWrapMode(QPlainTextEdit::NoWrap);
  edit->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 10));
  return edit;
}

}  // namespace

MatrixDialog::MatrixDialog(MessageSink& sink, QWidget* parent)
    : SkinnedDialog(kSize, ToQt(kTitle), parent), sink_(sink), work_(new WindowWork(this)) {
  AddStatic(QStringLiteral("A:"), QRect(20, 36, 60, 20));
  a_ = AddMatrixEdit(this, QRect(20, 56, 250, 140), false);
  AddStatic(QStringLiteral("B:"), QRect(290, 36, 60, 20));
  b_ = AddMatrixEdit(this, QRect(290, 56, 250, 140), false);
  AddStatic(ToQt(kMatrixDelimiterNote), QRect(20, 200, 250, 20));

  for (std::size_t i = 0; i < buttons_.size(); ++i) {
    const auto operation = static_cast<MatrixOperation>(i);
    SkinnedButton* button = AddButton(ToQt(kMatrixOperationLabels[i]),
                                      QRect(20 + static_cast<int>(i) * 78, 226, 70, 25));
    connect(button, &QAbstractButton::clicked, this, [this, operation] { Press(operation); });
    buttons_[i] = button;
  }
  SkinnedButton* close =
      AddButton(QStringLiteral("Close"), QRect(475, 226, 65, 25), ButtonTone::Accent);
  connect(close, &QAbstractButton::clicked, this, &QDialog::reject);

  AddStatic(QStringLiteral("Result:"), QRect(20, 258, 120, 20));
  result_ = AddMatrixEdit(this, QRect(20, 278, 520, 126), true);
  // Enter (outside the matrix edits, where it starts a row) runs the first operation.
  SetDefaultButton(buttons_[0]);
  a_->setFocus();
}

// The operation runs on a thread of its own, on a model of its own.
void MatrixDialog::Press(MatrixOperation operation) {
  struct Pressed {
    bool ok;
    std::string result;
    char refused;
    std::size_t offset;
  };
  const auto pressed = RunOffloaded<Pressed>(
      work_->offload(button(operation)), sink_,
      [a = FromQt(a_->toPlainText()), b = FromQt(b_->toPlainText()), operation](
          MessageSink& sink, const CalculationRunner::StopToken&) -> std::optional<Pressed> {
        MatrixModel model(sink);
        model.a = a;
        model.b = b;
        const bool ok = model.Press(operation);
        return Pressed{ok, model.result(), model.refusedField(),
                       static_cast<std::size_t>(model.refusedOffset())};
      });
  if (!pressed) return;  // stopped
  if (pressed->ok) result_->setPlainText(ToQtLines(pressed->result));
  if (pressed->refused != 0) {
    QPlainTextEdit* edit = pressed->refused == 'A' ? a_ : b_;
    QTextCursor caret = edit->textCursor();
    caret.setPosition(static_cast<int>(pressed->offset));
    edit->setTextCursor(caret);
    edit->setFocus();
  }
}

}  // namespace calvoro::ui
