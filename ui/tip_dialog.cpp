#include "ui/tip_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QTextEdit>

#include "ui/qt_text.h"

namespace calvoro::ui {

TipDialog::TipDialog(CSysData& record, std::function<void()> save, QWidget* parent)
    : SkinnedDialog(QSize(520, 330), QStringLiteral("Tip of the Day"), parent),
      tip_(record, std::move(save)) {
  setModal(false);
  AddStatic(QStringLiteral("Did you know..."), QRect(30, 40, 300, 24))
      ->setFont(QFont(QStringLiteral("Arial"), 13, QFont::Bold));
  // Long words (the digits of Pi) wrap anywhere rather than run off the edge.
  text_ = new QTextEdit(this);
  text_->setGeometry(30, 70, 460, 160);
  text_->setReadOnly(true);
  text_->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  text_->setFocusPolicy(Qt::NoFocus);
  text_->setStyleSheet(
      QStringLiteral("background: white; border: 1px solid #a0a8b6; padding: 6px;"));
  QFont font(QStringLiteral("MS Sans Serif"));
  font.setPixelSize(16);
  text_->setFont(font);

  showAtStart_ = new QCheckBox(QStringLiteral("&Show tips on startup"), this);
  showAtStart_->setGeometry(30, 236, 300, 20);
  showAtStart_->setChecked(tip_.showAtStart());
  connect(showAtStart_, &QCheckBox::toggled, this, [this](bool on) { tip_.SetShowAtStart(on); });

  SkinnedButton* previous = AddButton(QStringLiteral("Previous tip"), QRect(195, 260, 65, 25));
  SkinnedButton* next = AddButton(QStringLiteral("Next tip"), QRect(270, 260, 65, 25));
  SkinnedButton* close =
      AddButton(QStringLiteral("Close"), QRect(345, 260, 65, 25), ButtonTone::Accent);
  previous->setToolTip(QStringLiteral("Get previous tip"));
  next->setToolTip(QStringLiteral("Get next tip"));
  close->setToolTip(QStringLiteral("Close this dialog"));
  QFont small(QStringLiteral("Arial"));
  small.setPixelSize(10);
  previous->setFont(small);
  next->setFont(small);
  connect(previous, &QAbstractButton::clicked, this, [this] {
    tip_.Previous();
    ShowTip();
  });
  connect(next, &QAbstractButton::clicked, this, [this] {
    tip_.Next();
    ShowTip();
  });
  connect(close, &QAbstractButton::clicked, this, &QDialog::accept);
  SetDefaultButton(close);
  ShowTip();
}

void TipDialog::ShowTip() { text_->setPlainText(ToQtLines(tip_.text())); }

// Close, Enter and Escape all end here.
void TipDialog::done(int result) {
  tip_.Close();
  SkinnedDialog::done(result);
  emit tipClosed();
}

}  // namespace calvoro::ui
