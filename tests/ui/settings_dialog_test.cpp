// The settings dialog: the precision read on every change, the per-base
// figures, Cancel and OK through the window's Setting button.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "tests/ui/calculator_window_fixture.h"
#include "ui/settings_dialog.h"

namespace calvoro::ui {
namespace {

using calvoro::testing::RecordingSink;

QStringList Figures(const SettingsDialog& dialog) {
  QStringList figures;
  for (int i = 0; i < 4; ++i) figures << dialog.figure(i)->text();
  return figures;
}

TEST(SettingsDialogTest, PrecisionIsReadOnEveryChange) {
  CSysData record;
  RecordingSink sink;
  SettingsDialog dialog(record, sink, nullptr);
  dialog.show();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  EXPECT_EQ(dialog.size(), QSize(620, 370));
  EXPECT_TRUE(dialog.radian()->isChecked());
  EXPECT_FALSE(dialog.degree()->isChecked());
  EXPECT_EQ(Figures(dialog), (QStringList{"40", "13", "10", "10"}));
  EXPECT_EQ(dialog.okButton()->toolTip(), "Save the setting and close this dialog");
  EXPECT_EQ(dialog.cancelButton()->toolTip(), "Cancel the update and close this dialog");
  calvoro::testing::SaveScreenshot(&dialog, "settings_dialog");

  QLineEdit* precision = dialog.precisionEdit();
  struct Step {
    std::function<void()> edit;
    const char* message;  // null: accepted
    QStringList figures;
  };
  const Step steps[] = {
      {[&] { QTest::keyClick(precision, Qt::Key_A); }, "Please enter a positive integer.", {}},
      {[&] { precision->selectAll(); QTest::keyClick(precision, Qt::Key_Backspace); },
       "Please enter a positive integer.", {}},
      {[&] { QTest::keyClick(precision, Qt::Key_1); }, nullptr, {"4", "1", "1", "1"}},
      {[&] { QTest::keyClick(precision, Qt::Key_5); }, nullptr, {"60", "20", "15", "15"}},
  };
  for (const Step& step : steps) {
    dialog.thresholdEdit()->setFocus();
    sink.messages.clear();
    step.edit();
    if (step.message) {
      ASSERT_EQ(sink.messages.size(), 1u);
      EXPECT_EQ(sink.messages[0].text, step.message);
      EXPECT_EQ(QApplication::focusWidget(), precision);
    } else {
      EXPECT_TRUE(sink.empty()) << sink.messages[0].text;
      EXPECT_EQ(Figures(dialog), step.figures);
    }
  }
  EXPECT_EQ(record.precision, 10);  // only OK stores it

  // OK reads the threshold: a refusal keeps the dialog open on that edit.
  dialog.thresholdEdit()->selectAll();
  QTest::keyClicks(dialog.thresholdEdit(), "-3");
  sink.messages.clear();
  QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text, "Please enter a positive integer.");
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(QApplication::focusWidget(), dialog.thresholdEdit());
}

class SettingsThroughWindowTest : public CalculatorWindowFixture {
 protected:
  // Opens the dialog from the Setting button and runs `answer` on it.
  void Setting(CalculatorWindow& window, std::function<void(SettingsDialog&)> answer) {
    calvoro::testing::WhenModalOf<SettingsDialog>(std::move(answer));
    QTest::mouseClick(window.control(kSetting), Qt::LeftButton);
  }
};

TEST_F(SettingsThroughWindowTest, CancelAndEscapeKeepEverySetting) {
  auto window = Open();
  const SettingsValues before = SettingsOf(window->model().data());
  const std::function<void(SettingsDialog&)> closes[] = {
      [](SettingsDialog& dialog) { QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton); },
      [](SettingsDialog& dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); },
  };
  for (const auto& close : closes) {
    Setting(*window, [&close](SettingsDialog& dialog) {
      dialog.thresholdEdit()->selectAll();
      QTest::keyClicks(dialog.thresholdEdit(), "7");
      QTest::keyClick(dialog.precisionEdit(), Qt::Key_2);
      QTest::mouseClick(dialog.degree(), Qt::LeftButton);
      close(dialog);
    });
    EXPECT_EQ(SettingsOf(window->model().data()), before);
  }
  EXPECT_EQ(settings.Load().precision, 10);
  EXPECT_TRUE(recorder.empty());
  EXPECT_EQ(window->focusWidget(), window->input());
}

TEST_F(SettingsThroughWindowTest, OkStoresAndSavesTheFiveValues) {
  auto window = Open();
  Setting(*window, [](SettingsDialog& dialog) {
    QTest::mouseClick(dialog.degree(), Qt::LeftButton);
    dialog.minimizeToTray()->setChecked(false);
    dialog.conversionHistory()->setChecked(true);
    dialog.thresholdEdit()->selectAll();
    QTest::keyClicks(dialog.thresholdEdit(), "20");
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
  });
  const CSysData stored = settings.Load();
  EXPECT_FALSE(stored.angleRadian);
  EXPECT_FALSE(stored.minimizeToTray);
  EXPECT_TRUE(stored.addSingleConversionToHistory);
  EXPECT_EQ(stored.exponentThreshold, 20);
  EXPECT_EQ(window->minimizeButton()->toolTip(), "Minimize");
  // The window calculates in degrees from now on.
  QTest::keyClicks(window->input(), "sin(30)");
  QTest::keyClick(window->input(), Qt::Key_Return);
  EXPECT_EQ(window->input()->text(), "sin(30)=0.5");
}

}  // namespace
}  // namespace calvoro::ui
