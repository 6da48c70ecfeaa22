// The calculator windows' frame without a window: blocked commands, the keys
// meant for the tip, minimise, exit, the close question and the tray's Exit.
#include "app/shell_model.h"

#include <gtest/gtest.h>

#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

class ShellModelTest : public ::testing::Test {
 protected:
  CSysData record;
  int saves = 0;
  testing::RecordingSink sink;
  ShellModel shell{sink, record, [this] {
                      ++saves;
                      return true;
                    }};
};

TEST_F(ShellModelTest, MinimiseGoesToTheTrayOnlyWhenThereIsOne) {
  struct Case {
    bool tipOpen, toTray;
    bool trayAvailable;
    MinimizeAction action;
  } cases[] = {
      {false, true, true, MinimizeAction::HideToTray},
      {false, true, false, MinimizeAction::Minimize},
      {false, false, true, MinimizeAction::Minimize},
      {true, true, true, MinimizeAction::Ignore},
  };
  for (const Case& c : cases) {
    record.tipOpen = c.tipOpen;
    record.minimizeToTray = c.toTray;
    EXPECT_EQ(shell.Minimize(c.trayAvailable), c.action) << c.tipOpen << c.toTray << c.trayAvailable;
  }
}

TEST_F(ShellModelTest, ExitSavesOnceAndIsIgnoredWhileTheTipIsOpen) {
  record.tipOpen = true;
  EXPECT_TRUE(shell.Blocked());
  EXPECT_FALSE(shell.BeginExit());
  EXPECT_EQ(saves, 0);
  record.tipOpen = false;
  ASSERT_TRUE(shell.BeginExit());
  shell.FinishExit();
  EXPECT_EQ(saves, 1);
  EXPECT_TRUE(shell.exiting());
  EXPECT_TRUE(shell.CloseRequested());  // closing now asks nothing
  EXPECT_TRUE(sink.empty());
}

TEST_F(ShellModelTest, CloseAndTrayExitAskFirst) {
  for (bool tray : {false, true}) {
    ShellModel fresh(sink, record, [this] {
      ++saves;
      return true;
    });
    record.tipOpen = true;  // the tray's Exit is not blocked by the tip
    sink.answer = Answer::Cancel;
    EXPECT_FALSE(tray ? fresh.TrayExitRequested() : fresh.CloseRequested());
    EXPECT_FALSE(fresh.exiting());
    sink.answer = Answer::Ok;
    EXPECT_TRUE(tray ? fresh.TrayExitRequested() : fresh.CloseRequested());
    ASSERT_EQ(sink.messages.size(), 2u);
    EXPECT_EQ(sink.messages[1].text, "Would you exit Calvoro?");
    EXPECT_EQ(sink.messages[1].caption, "Calvoro Message");
    EXPECT_EQ(saves, 0);  // the question itself saves nothing
    sink.messages.clear();
  }
  EXPECT_EQ(ShellModel::KeyWhileTipOpen(true), TipKeyAction::CloseTip);
  EXPECT_EQ(ShellModel::KeyWhileTipOpen(false), TipKeyAction::Drop);
}

}  // namespace
}  // namespace calvoro
