#include "ui/input_message_dialog.h"

#include <QFontDatabase>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QtMath>

#include "app/wrapped_text.h"
#include "engine/message_sink.h"
#include "ui/qt_text.h"

namespace calvoro::ui {

namespace {

constexpr QSize kSize(510, 300);
constexpr int kLeft = 24;
constexpr int kTop = kTitleBand + 8;
constexpr int kGap = 6;
constexpr QRect kClose(238, 244, 65, 25);

// Line width in characters and the line count from which the scroll bar
// shows; a field is tall enough for every line below that count.
struct FieldLayout {
  int width, maxLines;
};
constexpr FieldLayout kFields[3] = {{55, 5}, {65, 4}, {65, 4}};

}  // namespace

InputMessageDialog::InputMessageDialog(std::string_view top, std::string_view middle,
                                       std::string_view bottom, QWidget* parent)
    : SkinnedDialog(kSize, ToQt(kCaptionCalvoroMessage), parent) {
  const std::string_view texts[3] = {top, middle, bottom};
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPixelSize(11);
  const QFontMetrics metrics(font);
  int y = kTop;
  for (int i = 0; i < 3; ++i) {
    const WrappedText wrapped = SetWrappedText(texts[i], kFields[i].width, kFields[i].maxLines);
    auto* field = new QPlainTextEdit(this);
    field->setReadOnly(true);
    field->setFont(font);
    field->setTabChangesFocus(true);
    field->setLineWrapMode(QPlainTextEdit::NoWrap);
    field->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    field->setVerticalScrollBarPolicy(wrapped.scrollBar ? Qt::ScrollBarAlwaysOn
                                                        : Qt::ScrollBarAlwaysOff);
    // The last line's break would add an empty line below it.
    QString shown = ToQtLines(wrapped.text);
    if (shown.endsWith(QLatin1Char('\n'))) shown.chop(1);
    field->setPlainText(shown);
    // Every line below the scroll bar's count shows whole, with room to spare.
    const int chrome = 2 * (field->frameWidth() + qCeil(field->document()->documentMargin()));
    const int height = (kFields[i].maxLines - 1) * metrics.lineSpacing() + chrome + 4;
    field->setGeometry(kLeft, y, kSize.width() - 2 * kLeft, height);
    y += height + kGap;
    fields_[i] = field;
  }
  SkinnedButton* close = AddButton(QStringLiteral("Close"), kClose);
  connect(close, &QAbstractButton::clicked, this, &QDialog::reject);
  SetDefaultButton(close);
}

}  // namespace calvoro::ui
