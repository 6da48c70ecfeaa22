// Every dialog from the keyboard: a default button for Enter, every button
// reached by Tab, Escape; the skin's outline; the input-message fields.
// (Enter, Tab and the message boxes' places on a real display: tests/x11.)
#include <QApplication>
#include <QPlainTextEdit>
#include <QRegion>
#include <QTextBlock>
#include <QTest>
#include <memory>

#include "tests/support/recording_sink.h"
#include "tests/ui/ui_test_support.h"
#include "ui/complex_operations_dialog.h"
#include "ui/converter_dialog.h"
#include "ui/function_dialogs.h"
#include "ui/input_message_dialog.h"
#include "ui/log_dialog.h"
#include "ui/matrix_dialog.h"
#include "ui/message_dialog.h"
#include "ui/resize_dialog.h"
#include "ui/robot_dialog.h"
#include "ui/settings_dialog.h"
#include "ui/tip_dialog.h"

namespace calvoro::ui {
namespace {

using calvoro::testing::RecordingSink;

// The widgets the focus visits from the current one, Tab after Tab, once round.
QList<QWidget*> TabChain() {
  QList<QWidget*> chain;
  for (int i = 0; i < 200; ++i) {
    QWidget* focus = QApplication::focusWidget();
    if (!focus || chain.contains(focus)) break;
    chain << focus;
    QTest::keyClick(focus, Qt::Key_Tab);
  }
  return chain;
}

TEST(KeyboardTest, SkinOutlineKeepsEverythingButTheColourKey) {
  const QImage picture = WindowPicture(QSize(200, 100), QStringLiteral("Title"));
  const QRegion kept(OutlineMask(picture));
  EXPECT_FALSE(kept.contains(QPoint(0, 0)));    // a cut corner
  EXPECT_FALSE(kept.contains(QPoint(199, 99)));
  EXPECT_TRUE(kept.contains(QPoint(100, 50)));  // the body
  EXPECT_TRUE(kept.contains(QPoint(100, 0)));   // the frame's top edge
  EXPECT_GT(kept.boundingRect().width(), 195);
}

TEST(KeyboardTest, EveryDialogHasADefaultButtonAndTabReachesEveryButton) {
  CSysData record;
  RecordingSink sink;
  ConversionItemModel form(sink);
  const std::function<std::unique_ptr<SkinnedDialog>()> dialogs[] = {
      [&] {
        return std::make_unique<TipDialog>(
            record, [] {}, nullptr);
      },
      [&] { return std::make_unique<ResizeDialog>(WindowStyle::Mini, nullptr); },
      [&] { return std::make_unique<InputMessageDialog>("5+*3", "message", "hint", nullptr); },
      [&] { return std::make_unique<SettingsDialog>(record, sink, nullptr); },
      [&] {
        return std::make_unique<FunctionListDialog>(
            record, sink, [](const FunctionButton&) {}, nullptr);
      },
      [&] {
        return std::make_unique<FunctionInputDialog>(
            "sin", record, sink, [] {}, nullptr);
      },
      [&] {
        return std::make_unique<LogDialog>(
            record, sink, [] {}, nullptr);
      },
      [&] {
        return std::make_unique<ConverterDialog>(
            record, [] {}, &sink, nullptr);
      },
      [&] { return std::make_unique<ConversionItemDialog>(form, nullptr); },
      [&] { return std::make_unique<ComplexOperationsDialog>(sink, nullptr); },
      [&] { return std::make_unique<MatrixDialog>(sink, nullptr); },
      [&] {
        return std::make_unique<RobotDialog>(
            record, sink, [] {}, nullptr);
      },
      [&] {
        return std::make_unique<MessageDialog>(MessageIcon::Question, "Calvoro Message", "Sure?",
                                             true, nullptr);
      },
  };
  for (const auto& make : dialogs) {
    const std::unique_ptr<SkinnedDialog> dialog = make();
    SCOPED_TRACE(dialog->windowTitle().toStdString());
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    ASSERT_NE(dialog->defaultButton(), nullptr);
    EXPECT_TRUE(dialog->defaultButton()->isVisible());
    const QList<QWidget*> chain = TabChain();
    for (SkinnedButton* button : dialog->findChildren<SkinnedButton*>()) {
      if (button->isVisibleTo(dialog.get())) {
        EXPECT_TRUE(chain.contains(button)) << button->text().toStdString();
      }
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
  }
}

TEST(KeyboardTest, InputMessageFieldsShowEveryLineBelowTheScrollBar) {
  // Middle and bottom show three lines of 65 characters, the top four of 55.
  const std::string top(4 * 55, 'a'), rest(3 * 65, 'b');
  InputMessageDialog dialog(top, rest, rest, nullptr);
  dialog.show();
  const int lines[3] = {4, 3, 3};
  for (int i = 0; i < 3; ++i) {
    QPlainTextEdit* field = dialog.field(i);
    const QTextCursor last(field->document()->findBlockByNumber(lines[i] - 1));
    EXPECT_EQ(last.block().text().size(), i == 0 ? 55 : 65);
    EXPECT_LE(field->cursorRect(last).bottom(), field->viewport()->height()) << i;
    EXPECT_LE(field->geometry().bottom(), 238) << i;  // above Close
  }
  calvoro::testing::SaveScreenshot(&dialog, "input_message_dialog_full");
}

}  // namespace
}  // namespace calvoro::ui
