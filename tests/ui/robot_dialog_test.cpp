// The robot window driven by mouse and keyboard: Browse, Calculate, Copy,
// Clear, refusals, and the file it writes.
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTest>
#include <fstream>

#include "tests/support/recording_sink.h"
#include "tests/ui/ui_test_support.h"
#include "ui/robot_dialog.h"

namespace calvoro::ui {
namespace {

class RobotDialogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = QString::fromStdString(settings.path()).section('/', 0, -2);
    source = folder + "/apples.txt";
    std::ofstream(source.toStdString(), std::ios::binary) << "Total 12+30 apples\r\nyear 2024\r\n";
  }
  static std::string Read(const QString& path) {
    return calvoro::testing::ReadFile(path.toStdString());
  }

  calvoro::testing::TempSettings settings;
  calvoro::testing::RecordingSink sink;
  CSysData record;
  int saves = 0;
  QString folder, source;
};

TEST_F(RobotDialogTest, EachActionWritesItsResultFile) {
  struct Case {
    int button;
    const char* written;
  } cases[] = {
      {0, "Total 12+30=42 apples\r\nyear 2024\r\n\r\n"},
      {1, "Total 42 apples\r\nyear 2024\r\n\r\n"},
      {3, "12+30=42\r\n\r\n\r\n"},
  };
  for (const Case& c : cases) {
    RobotDialog dialog(record, sink, [this] { ++saves; }, nullptr);
    dialog.chooseSource = [&] { return source; };
    dialog.show();
    dialog.OnBrowse();
    EXPECT_EQ(dialog.destinationEdit()->text(), folder + "/apples.rob");
    QTest::mouseClick(dialog.actionButton(c.button), Qt::LeftButton);
    QTest::keyClick(&dialog, Qt::Key_Return);  // Calculate is the default button
    EXPECT_EQ(Read(folder + "/apples.rob"), c.written) << c.button;
    EXPECT_TRUE(dialog.logEdit()->toPlainText().startsWith("Robot Log Information:\n"));
    EXPECT_TRUE(dialog.logEdit()->toPlainText().contains("12+30")) << c.button;
    EXPECT_EQ(dialog.progressLabel()->text(), "2 of 2 lines");
  }
  EXPECT_EQ(saves, 3);
  EXPECT_TRUE(sink.empty());
}

TEST_F(RobotDialogTest, RefusalsKeepTheWindowAndSayWhy) {
  RobotDialog dialog(record, sink, [this] { ++saves; }, nullptr);
  dialog.show();
  dialog.OnCalculate();  // no source yet
  dialog.OnSelectDir();
  QTest::keyClicks(dialog.sourceEdit(), source);
  dialog.precisionEdit()->clear();
  QTest::keyClicks(dialog.precisionEdit(), "x");
  dialog.OnCalculate();
  ASSERT_EQ(sink.messages.size(), 3u);
  EXPECT_EQ(sink.messages[0].text, "Please select the source file first by clicking the browse button.");
  EXPECT_EQ(sink.messages[1].text, "Please select the source file first by clicking the browse button.");
  EXPECT_EQ(sink.messages[2].text, "Please enter a positive integer.");
  EXPECT_EQ(dialog.focusWidget(), dialog.precisionEdit());
  EXPECT_EQ(saves, 0);
}

TEST_F(RobotDialogTest, CopyAndClearTheLog) {
  RobotDialog dialog(record, sink, {}, nullptr);
  dialog.chooseSource = [&] { return source; };
  dialog.chooseFolder = [&] { return folder; };
  dialog.show();
  dialog.OnCopy();  // only the header: copied all the same
  dialog.OnBrowse();
  dialog.OnSelectDir();
  dialog.OnCalculate();
  dialog.OnCopy();
  EXPECT_TRUE(QGuiApplication::clipboard()->text().contains("12+30"));
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[0].text, "the log  information has been copied to the clipboard.");
  EXPECT_EQ(sink.messages[1].text, sink.messages[0].text);
  EXPECT_EQ(sink.messages[1].caption, "Tivamosa");
  calvoro::testing::SaveScreenshot(&dialog, QStringLiteral("robot_dialog"));
  dialog.findChildren<SkinnedButton*>()[4]->click();  // Clear
  EXPECT_EQ(dialog.logEdit()->toPlainText(), "Robot Log Information:\n");
}

}  // namespace
}  // namespace calvoro::ui
