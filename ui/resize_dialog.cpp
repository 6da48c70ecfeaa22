#include "ui/resize_dialog.h"

#include <QLabel>

#include "app/startup.h"
#include "ui/qt_text.h"

namespace calvoro::ui {

ResizeDialog::ResizeDialog(WindowStyle style, QWidget* parent)
    : SkinnedDialog(QSize(510, 310), QStringLiteral("Calvoro"), parent) {
  QLabel* notice = AddStatic(ToQtLines(StyleNoticeText(style)).trimmed(), QRect(40, 60, 430, 160));
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(15);
  notice->setFont(font);
  notice->setAlignment(Qt::AlignCenter);
  SkinnedButton* ok = AddButton(QStringLiteral("OK"), QRect(220, 255, 65, 25), ButtonTone::Accent);
  connect(ok, &QAbstractButton::clicked, this, &QDialog::accept);
  SetDefaultButton(ok);
}

}  // namespace calvoro::ui
