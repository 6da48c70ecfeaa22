#include "ui/input_msg_dlg.h"

#include <QFontDatabase>
#include <QPlainTextEdit>

#include "app/wrapped_text.h"
#include "ui/qt_text.h"

namespace calvoro::ui {

namespace {

// Line width in characters and the line count from which the scroll bar shows.
struct FieldLayout {
  int width, maxLines;
  QRect place;
};
constexpr FieldLayout kFields[3] = {
    {55, 5, QRect(24, 40, 462, 92)},
    {65, 4, QRect(24, 140, 462, 46)},
    {65, 4, QRect(24, 192, 462, 46)},
};

}  // namespace

CInputMsgDlg::CInputMsgDlg(std::string_view top, std::string_view middle,
                           std::string_view bottom, QWidget* parent)
    : SkinnedDialog(QSize(510, 300), QStringLiteral("Calvoro Message"), parent) {
  const std::string_view texts[3] = {top, middle, bottom};
  QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
  font.setPixelSize(11);
  for (int i = 0; i < 3; ++i) {
    const WrappedText wrapped = SetWrappedText(texts[i], kFields[i].width, kFields[i].maxLines);
    auto* field = new QPlainTextEdit(this);
    field->setGeometry(kFields[i].place);
    field->setReadOnly(true);
    field->setFont(font);
    field->setLineWrapMode(QPlainTextEdit::NoWrap);
    field->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    field->setVerticalScrollBarPolicy(wrapped.scrollBar ? Qt::ScrollBarAlwaysOn
                                                        : Qt::ScrollBarAlwaysOff);
    field->setPlainText(ToQtLines(wrapped.text));
    fields_[i] = field;
  }
  SkinnedButton* close = AddButton(QStringLiteral("Close"), QRect(238, 244, 65, 25));
  connect(close, &QAbstractButton::clicked, this, &QDialog::reject);
}

}  // namespace calvoro::ui
