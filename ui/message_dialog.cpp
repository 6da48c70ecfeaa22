#include "ui/message_dialog.h"

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QStyle>
#include <algorithm>

namespace calvoro::ui {

namespace {

constexpr int kMargin = 20;
constexpr int kIconSize = 32;
constexpr int kMinWidth = 320;
constexpr int kTextWidth = 440;        // the widest text before it wraps
constexpr int kTextHeight = 240;       // the tallest text before it scrolls
constexpr qsizetype kMeasured = 4000;  // longer texts scroll without measuring
constexpr QSize kButton(80, 26);

QStyle::StandardPixmap IconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Warning:
      return QStyle::SP_MessageBoxWarning;
    case MessageIcon::Question:
      return QStyle::SP_MessageBoxQuestion;
    case MessageIcon::Error:
      return QStyle::SP_MessageBoxCritical;
    case MessageIcon::Information:
      break;
  }
  return QStyle::SP_MessageBoxInformation;
}

QFont TextFont() {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(13);
  return font;
}

// The width the caption needs in the title band, in the skin's title font
// (bold Arial of 14 pixels, 14 pixels in from either side).
int CaptionWidth(const QString& caption) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(14);
  font.setBold(true);
  return QFontMetrics(font).horizontalAdvance(caption) + 2 * 14 + 8;
}

}  // namespace

MessageDialog::MessageDialog(MessageIcon icon, const QString& caption, const QString& text,
                             bool question, QWidget* parent)
    : SkinnedDialog(QSize(kMinWidth, 120), caption, parent), text_(text) {
  CentreOnParent();
  const QFont font = TextFont();
  // The text's size, wrapped at word boundaries (or anywhere in a long number).
  QSize textSize(kTextWidth, kTextHeight);
  const bool measured = text.size() <= kMeasured;
  if (measured) {
    textSize = QFontMetrics(font)
                   .boundingRect(QRect(0, 0, kTextWidth, 100000),
                                 Qt::TextWordWrap | Qt::TextWrapAnywhere, text)
                   .size();
  }
  // A label wraps at blanks only: a long word, or a text too tall, goes into
  // a read-only view that wraps anywhere and scrolls.
  const bool label = measured && textSize.height() <= kTextHeight &&
                     !text.contains(QRegularExpression(QStringLiteral("\\S{50,}")));
  if (!label) textSize = QSize(kTextWidth + 24, qMin(textSize.height(), kTextHeight) + 12);
  const int width =
      std::max({kMinWidth, kMargin * 3 + kIconSize + textSize.width(), CaptionWidth(caption)});
  const int body = qMax(kIconSize, textSize.height());
  const int height = kTitleBand + kMargin + body + kMargin + kButton.height() + 14;
  Reshape(QSize(width, height));

  auto* iconLabel = new QLabel(this);
  iconLabel->setPixmap(
      QApplication::style()->standardIcon(IconOf(icon)).pixmap(kIconSize, kIconSize));
  iconLabel->setGeometry(kMargin, kTitleBand + kMargin, kIconSize, kIconSize);
  iconLabel->setAttribute(Qt::WA_TranslucentBackground);
  const QRect textPlace(kMargin * 2 + kIconSize, kTitleBand + kMargin, textSize.width(),
                        textSize.height());
  if (label) {
    QLabel* shown = AddStatic(text, textPlace);
    shown->setFont(font);
    shown->setTextInteractionFlags(Qt::TextSelectableByMouse);
    shown->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  } else {
    auto* view = new QPlainTextEdit(text, this);
    view->setReadOnly(true);
    view->setFont(font);
    view->setGeometry(textPlace);
    view->setTabChangesFocus(true);
    view->setFrameShape(QFrame::NoFrame);
    view->setStyleSheet(QStringLiteral("background: transparent;"));
    view->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  }

  const int y = height - kButton.height() - 14;
  const int buttons = question ? 2 : 1;
  int x = (width - buttons * kButton.width() - (buttons - 1) * 12) / 2;
  ok_ = AddButton(QStringLiteral("OK"), QRect(QPoint(x, y), kButton), ButtonTone::Accent);
  connect(ok_, &QAbstractButton::clicked, this, &QDialog::accept);
  if (question) {
    x += kButton.width() + 12;
    cancel_ = AddButton(QStringLiteral("Cancel"), QRect(QPoint(x, y), kButton));
    connect(cancel_, &QAbstractButton::clicked, this, &QDialog::reject);
  }
  SetDefaultButton(ok_);
}

}  // namespace calvoro::ui
