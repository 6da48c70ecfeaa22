// The log manager: the table, the clipboard commands, Remove Sel saved at
// once and Clear after its question.
#include <QClipboard>
#include <QGuiApplication>
#include <QHeaderView>
#include <QTableWidget>
#include <QTest>

#include "tests/ui/calculator_window_fixture.h"
#include "ui/log_dialog.h"

namespace calvoro::ui {
namespace {

using calvoro::testing::RecordedMessage;

class LogDialogTest : public CalculatorWindowFixture {
 protected:
  void SetUp() override {
    CSysData record;
    record.logLines = {"2026-01-02 03:04   Dec:1+1=2", "2026-01-02 03:05   Dec:2+2=4",
                       "2026-12-06 20:55   Dec:2x=10 =>  X=5"};
    settings.Store(record);
    window = Open();
  }
  // Opens the log manager from the Log button and runs `use` on it.
  void Log(std::function<void(LogDialog&)> use) {
    calvoro::testing::WhenModalOf<LogDialog>([use](LogDialog& dialog) {
      use(dialog);
      QTest::keyClick(&dialog, Qt::Key_Escape);  // Escape closes
      EXPECT_FALSE(dialog.isVisible());
    });
    QTest::mouseClick(window->control(kLog), Qt::LeftButton);
  }
  std::string LastMessage() const {
    return recorder.messages.empty() ? "" : recorder.messages.back().text;
  }
  static void Select(QTableWidget* table, std::initializer_list<int> rows) {
    table->clearSelection();
    for (int row : rows) table->selectionModel()->select(
        table->model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }

  std::unique_ptr<CalculatorWindow> window;
};

TEST_F(LogDialogTest, TableShowsTheNewestLineFirst) {
  bool opened = false;
  Log([&](LogDialog& dialog) {
    opened = true;
    QTableWidget* table = dialog.table();
    EXPECT_EQ(dialog.size(), QSize(620, 370));
    EXPECT_EQ(table->horizontalHeaderItem(0)->text(), "Time");
    EXPECT_EQ(table->horizontalHeaderItem(1)->text(), "Expression");
    EXPECT_EQ(table->columnWidth(0), 100);
    EXPECT_GE(table->columnWidth(1), 500);
    EXPECT_TRUE(table->showGrid());
    EXPECT_EQ(table->selectionBehavior(), QAbstractItemView::SelectRows);
    ASSERT_EQ(table->rowCount(), 3);
    EXPECT_EQ(table->item(0, 0)->text(), "2026-12-06 20:55");
    EXPECT_EQ(table->item(0, 1)->text(), "Dec:2x=10 =>  X=5");
    EXPECT_EQ(table->item(2, 1)->text(), "Dec:1+1=2");
    Select(table, {0});
    calvoro::testing::SaveScreenshot(&dialog, "log_dialog");
  });
  EXPECT_TRUE(opened);
  EXPECT_EQ(window->focusWidget(), window->input());
}

TEST_F(LogDialogTest, CopyCommandsFillTheClipboard) {
  Log([&](LogDialog& dialog) {
    QGuiApplication::clipboard()->setText("before");
    dialog.OnCopySel();
    EXPECT_EQ(LastMessage(), "Please select first.Thank you.");
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "before");

    Select(dialog.table(), {2, 0});
    dialog.OnCopySel();
    EXPECT_EQ(LastMessage(), "The selection has been copied into the clipboard successfully.");
    EXPECT_EQ(QGuiApplication::clipboard()->text(),
              "2026-12-06 20:55   Dec:2x=10 =>  X=5\n2026-01-02 03:04   Dec:1+1=2\n");

    dialog.OnCopyAll();
    EXPECT_EQ(LastMessage(), "The log information has been copied into the clipboard successfully.");
    EXPECT_EQ(QGuiApplication::clipboard()->text().count('\n'), 3);
  });
  EXPECT_EQ(recorder.messages.size(), 3u);
}

TEST_F(LogDialogTest, RemoveSelIsSavedAtOnceAndClearAsksFirst) {
  Log([&](LogDialog& dialog) {
    Select(dialog.table(), {0, 1});
    dialog.OnRemoveSel();
    ASSERT_EQ(dialog.table()->rowCount(), 1);
    EXPECT_EQ(dialog.table()->item(0, 1)->text(), "Dec:1+1=2");
    EXPECT_EQ(settings.Load().logLines, std::vector<std::string>{"2026-01-02 03:04   Dec:1+1=2"});

    recorder.answer = Answer::Cancel;
    dialog.OnClear();
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].kind, RecordedMessage::Question);
    EXPECT_EQ(recorder.messages[0].text, "Do you want to clear all the log information?.");
    EXPECT_EQ(dialog.table()->rowCount(), 1);

    recorder.answer = Answer::Ok;
    dialog.OnClear();
    EXPECT_EQ(dialog.table()->rowCount(), 0);
    EXPECT_TRUE(settings.Load().logLines.empty());

    // An empty log copies an empty text and still reports success.
    dialog.OnCopyAll();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "");
  });
  EXPECT_TRUE(window->model().data().logLines.empty());
}

}  // namespace
}  // namespace calvoro::ui
