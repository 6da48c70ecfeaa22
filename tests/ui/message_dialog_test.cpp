// Message boxes: as wide as their caption needs.
#include "ui/message_dialog.h"

#include <gtest/gtest.h>

#include <QFontMetrics>

namespace calvoro::ui {
namespace {

TEST(MessageDialogTest, TheCaptionShowsWhole) {
  QFont title(QStringLiteral("Arial"));
  title.setPixelSize(14);
  title.setBold(true);
  for (const char* caption : {"Calvoro", "Complex Expression Calculator Warning Message"}) {
    const QString text = QString::fromLatin1(caption);
    const MessageDialog box(MessageIcon::Warning, text, QStringLiteral("Short."), false, nullptr);
    // The title band's text starts 14 pixels in and ends 14 before the edge.
    EXPECT_GE(box.width() - 28, QFontMetrics(title).horizontalAdvance(text)) << caption;
  }
}

}  // namespace
}  // namespace calvoro::ui
