// The standard and mini windows driven like a person: keys and clicks to a
// shown result, memories, bases, assignment, equation, refusals, styles.
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QClipboard>
#include <QTest>
#include <QTextEdit>

#include "app/startup.h"
#include "tests/support/recording_sink.h"
#include "tests/ui/calculator_window_fixture.h"
#include "ui/calculator_window.h"
#include "ui/input_message_dialog.h"
#include "ui/qt_text.h"
#include "ui/resize_dialog.h"
#include "ui/robot_dialog.h"

namespace calvoro::ui {
namespace {

using calvoro::testing::RecordedMessage;
using calvoro::testing::WhenModal;

class CalculatorWindowTest : public CalculatorWindowFixture {
 protected:
  static QString Field(const CalculatorWindow& window) { return window.input()->text(); }
  static void Click(CalculatorWindow& window, int id) {
    ASSERT_NE(window.control(id), nullptr) << id;
    QTest::mouseClick(window.control(id), Qt::LeftButton);
  }
};

TEST_F(CalculatorWindowTest, TypedKeysAndClicksReachAShownResult) {
  struct Case {
    const char* keys;
    const char* shown;
  } cases[] = {
      {"1+2", "1+2=3"},
      {"2(3+4)", "2*(3+4)=14"},
      {"sin(0)+fac(5)", "sin(0)+fac(5)=120"},
      {"7/2", "7/2=3.5"},
  };
  auto window = Open();
  for (const Case& c : cases) {
    QTest::keyClicks(window->input(), c.keys);
    QTest::keyClick(window->input(), Qt::Key_Return);
    EXPECT_EQ(Field(*window), c.shown) << c.keys;
  }
  // A typed character after a result starts afresh; buttons type like keys.
  Click(*window, kDigit0 + 6);
  Click(*window, kTimes);
  Click(*window, kDigit0 + 7);
  Click(*window, kCalc);
  EXPECT_EQ(Field(*window), "6*7=42");
  EXPECT_TRUE(recorder.empty());
  // Space calculates too, and the log holds every calculation.
  QTest::keyClicks(window->input(), "9-10");
  QTest::keyClick(window->input(), Qt::Key_Space);
  EXPECT_EQ(Field(*window), "9-10=-1");
  EXPECT_EQ(settings.Load().logLines.size(), 6u);
}

TEST_F(CalculatorWindowTest, MemoriesShiftAndInsertWithTheirTooltips) {
  auto window = Open();
  for (const char* input : {"1+1", "2+2", "3+3"}) {
    QTest::keyClicks(window->input(), input);
    QTest::keyClick(window->input(), Qt::Key_Return);
  }
  EXPECT_EQ(window->control(kLast1)->toolTip(), "the first lastest result:last1=6");
  EXPECT_EQ(window->control(kLast1 + 2)->toolTip(), "the third lastest result:last3=2");
  QTest::keyClick(window->input(), Qt::Key_Backspace);  // ignored: a result is shown
  EXPECT_EQ(Field(*window), "3+3=6");
  QTest::keyClick(window->input(), Qt::Key_2);
  QTest::keyClick(window->input(), Qt::Key_Plus);
  QTest::keyClick(window->input(), Qt::Key_2, Qt::ControlModifier | Qt::ShiftModifier);
  Click(*window, kAdd);
  Click(*window, kLast1 + 2);
  EXPECT_EQ(Field(*window), "2+4+2");
  QTest::keyClick(window->input(), Qt::Key_Return);
  EXPECT_EQ(Field(*window), "2+4+2=8");
}

TEST_F(CalculatorWindowTest, BaseButtonsConvertTheFieldAndDisableForeignDigits) {
  auto window = Open();
  QTest::keyClicks(window->input(), "255");
  Click(*window, kHex);
  EXPECT_EQ(Field(*window), "FF");
  EXPECT_TRUE(window->control(kHex)->isChecked());
  EXPECT_FALSE(window->control(kDec)->isChecked());
  EXPECT_TRUE(window->control(kHexA + 5)->isEnabled());
  EXPECT_EQ(settings.Load().numberBase, NumberBase::Hex);  // saved at once

  Click(*window, kBin);
  EXPECT_EQ(Field(*window), "11111111");
  EXPECT_FALSE(window->control(kDigit0 + 2)->isEnabled());
  EXPECT_FALSE(window->control(kHexA)->isEnabled());
  EXPECT_TRUE(window->control(kDigit0 + 1)->isEnabled());

  // A shown calculation is calculated again in the new base.
  Click(*window, kDec);
  window->input()->selectAll();
  QTest::keyClicks(window->input(), "10+6");
  QTest::keyClick(window->input(), Qt::Key_Return);
  Click(*window, kHex);
  EXPECT_EQ(Field(*window), "A+6=10");
  // A result stored in hex comes back in decimal.
  Click(*window, kDec);
  EXPECT_EQ(Field(*window), "10+6=16");
  window->input()->selectAll();
  Click(*window, kLast1);
  EXPECT_EQ(Field(*window), "16");
}

TEST_F(CalculatorWindowTest, AssignmentAndEquation) {
  auto window = Open();
  QTest::keyClicks(window->input(), "(m)");
  QTest::keyClick(window->input(), Qt::Key_Equal);
  QTest::keyClicks(window->input(), "2+3");
  QTest::keyClick(window->input(), Qt::Key_Return);
  EXPECT_EQ(Field(*window), "(M)=2+3  Set the user parameter M successfully.");
  EXPECT_EQ(settings.Load().paramM, "5");

  window->input()->selectAll();
  QTest::keyClicks(window->input(), "2x+3");
  QTest::keyClick(window->input(), Qt::Key_Equal);
  QTest::keyClicks(window->input(), "7");
  QTest::keyClick(window->input(), Qt::Key_Return);
  EXPECT_EQ(Field(*window), "2*x+3-(7)=0 => X=2");
}

TEST_F(CalculatorWindowTest, EmptyInputAndSecondEqualRaiseTheirMessages) {
  auto window = Open();
  Click(*window, kCalc);
  QTest::keyClicks(window->input(), "(f)");
  Click(*window, kEqual);
  Click(*window, kEqual);
  ASSERT_EQ(recorder.messages.size(), 2u);
  EXPECT_EQ(recorder.messages[0].text, "Please input the expression first.");
  EXPECT_EQ(recorder.messages[0].caption, "Calvoro Message");
  EXPECT_EQ(recorder.messages[1].text,
            "The input expression has include one = , we only accetp one = in one expression.");
  EXPECT_EQ(Field(*window), "(F)=");
}

TEST_F(CalculatorWindowTest, ARefusalOpensTheInputMessageDialog) {
  // The window's own sink: real dialogs.
  auto real = std::make_unique<CalculatorWindow>(settings.path(), false, nullptr, nullptr);
  real->Initialise();
  real->show();
  QTest::keyClicks(real->input(), "3+*2");
  QStringList shown;
  WhenModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<InputMessageDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    for (int i = 0; i < 3; ++i) shown << dialog->field(i)->toPlainText();
    calvoro::testing::SaveScreenshot(dialog, QStringLiteral("input_message_dialog"));
    dialog->reject();
  });
  real->OnCalc();
  ASSERT_EQ(shown.size(), 3);
  EXPECT_TRUE(shown[0].startsWith("3+*2")) << shown[0].toStdString();
  EXPECT_FALSE(shown[1].isEmpty());
  EXPECT_EQ(Field(*real), "3+*2");  // nothing changed
  EXPECT_TRUE(settings.Load().logLines.empty());
}

TEST_F(CalculatorWindowTest, StyleChoiceIsWrittenAtOnceAndNoticed) {
  auto window = Open();
  QMenu* menu = window->BuildStyleMenu();
  EXPECT_EQ(calvoro::testing::MenuTexts(*menu),
            (QStringList{"  Calvoro", "  Conversion Expression Calculator",
                         "  Complex Expression Calculator", "  Always on Top"}));
  const QString notice = calvoro::testing::NoticeOfStyleItem(menu->actions().front(),
                                                             QStringLiteral("style_notice"));
  EXPECT_TRUE(notice.startsWith("You have select the mini style."));
  EXPECT_EQ(settings.Load().windowStyle, WindowStyle::Mini);
}

TEST_F(CalculatorWindowTest, EscapeAsksBeforeClosing) {
  auto window = Open();
  recorder.answer = Answer::Cancel;
  QTest::keyClick(window->input(), Qt::Key_Escape);
  EXPECT_TRUE(window->isVisible());
  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_EQ(recorder.messages[0].text, "Would you exit Calvoro?");
  EXPECT_EQ(recorder.messages[0].kind, RecordedMessage::Question);
  recorder.answer = Answer::Ok;
  window->close();
  EXPECT_FALSE(window->isVisible());
}

TEST_F(CalculatorWindowTest, TipOfTheDayBlocksTheWindowUntilClosed) {
  CSysData data;
  data.showTips = true;
  data.tipIndex = 29;
  settings.Store(data);
  auto window = std::make_unique<CalculatorWindow>(settings.path(), false, &recorder, nullptr);
  MarkFreshStart(window->model().data());
  window->Initialise();
  window->show();
  TipDialog* tip = window->tipDialog();
  ASSERT_NE(tip, nullptr);
  // The tip opens once the window is on the screen, with the focus.
  ASSERT_TRUE(QTest::qWaitFor([&] { return tip->isVisible(); }, 2000));
  ASSERT_TRUE(QTest::qWaitForWindowActive(tip));
  EXPECT_EQ(QApplication::focusWidget(), tip->defaultButton());
  // Keys that reach the window meanwhile go to the tip, not the calculator.
  QTest::keyClick(window->input(), Qt::Key_5);
  EXPECT_EQ(Field(*window), "");
  EXPECT_FALSE(tip->isModal());
  EXPECT_EQ(tip->tip().index(), 29);
  Click(*window, kDigit0 + 1);
  EXPECT_EQ(Field(*window), "");  // blocked

  auto* next = tip->findChildren<SkinnedButton*>()[1];
  QTest::mouseClick(next, Qt::LeftButton);
  EXPECT_EQ(tip->tip().index(), 0);
  EXPECT_TRUE(tip->tipText()->toPlainText().startsWith("The value of Pi in this calculator is"));
  tip->showAtStart()->setChecked(false);
  calvoro::testing::SaveScreenshot(tip, QStringLiteral("tip_dialog"));
  // Escape meant for the tip closes it even where it reached the window,
  // without the close question.
  QTest::keyClick(window->input(), Qt::Key_Escape);
  EXPECT_FALSE(tip->isVisible());
  EXPECT_TRUE(recorder.empty());
  Click(*window, kDigit0 + 1);
  EXPECT_EQ(Field(*window), "1");
  const CSysData stored = settings.Load();
  EXPECT_FALSE(stored.showTips);
  EXPECT_EQ(stored.tipIndex, 1);
  EXPECT_FALSE(stored.tipOpen);
}

TEST_F(CalculatorWindowTest, MiniWindowHidesTheKeypadButKeepsItsKeys) {
  auto window = Open(true);
  EXPECT_EQ(window->size(), QSize(736, 84));
  for (int id : {kCalc, kDigit0, kAdd, kSetting, kLog, kRobot, kHexA, kLetterA})
    EXPECT_FALSE(window->control(id)->isVisible()) << id;
  for (int id : {kBin, kMix, kHeadHex, kUnknown, kLast1, kBackspace, kCopy, kPaste})
    EXPECT_TRUE(window->control(id)->isVisible()) << id;
  EXPECT_EQ(window->control(kMatrix)->toolTip(), "Exercise for basic calculation");
  QTest::keyClicks(window->input(), "12*12");
  QTest::keyClick(window->input(), Qt::Key_Enter);
  EXPECT_EQ(Field(*window), "12*12=144");
  // The hidden tools' keys open their dialogs.
  bool robotOpened = false;
  calvoro::testing::WhenModal([&](QWidget* modal) {
    robotOpened = qobject_cast<RobotDialog*>(modal) != nullptr;
    qobject_cast<QDialog*>(modal)->reject();
  });
  QTest::keyClick(window->input(), Qt::Key_R, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(robotOpened);
}

TEST_F(CalculatorWindowTest, CopyAndPasteGoThroughTheClipboard) {
  auto window = Open();
  QTest::keyClicks(window->input(), "12+30");
  QTest::keyClick(window->input(), Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(QGuiApplication::clipboard()->text(), "12+30");
  QGuiApplication::clipboard()->setText("*2");
  QTest::keyClick(window->input(), Qt::Key_V, Qt::ControlModifier);
  QTest::keyClick(window->input(), Qt::Key_Return);
  EXPECT_EQ(Field(*window), "12+30*2=72");
}

TEST_F(CalculatorWindowTest, StepsShowUnderTheFieldWhenAsked) {
  auto window = Open();
  Click(*window, kSteps);
  ASSERT_NE(window->stepsView(), nullptr);
  EXPECT_EQ(window->height(), 150 + 170);
  QTest::keyClicks(window->input(), "(2+3)*4");
  QTest::keyClick(window->input(), Qt::Key_Return);
  EXPECT_EQ(window->stepsView()->toPlainText(), "(2+3)*4\n=(2+3)*4\n=5*4\n=20");
  calvoro::testing::SaveScreenshot(window.get(), QStringLiteral("standard_window_steps"));
  Click(*window, kSteps);
  EXPECT_EQ(window->height(), 150);
}

TEST_F(CalculatorWindowTest, Screenshots) {
  auto standard = Open();
  QTest::keyClicks(standard->input(), "5pi+78(34.5+89.6)");
  QTest::keyClick(standard->input(), Qt::Key_Return);
  EXPECT_TRUE(calvoro::testing::SaveScreenshot(standard.get(), QStringLiteral("standard_window")));
  auto mini = Open(true);
  QTest::keyClicks(mini->input(), "fac(25)");
  QTest::keyClick(mini->input(), Qt::Key_Return);
  EXPECT_TRUE(calvoro::testing::SaveScreenshot(mini.get(), QStringLiteral("mini_window")));
}

}  // namespace
}  // namespace calvoro::ui

namespace calvoro::ui {
namespace {

class ShellWindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<CalculatorWindow> Open(const CSysData& data) {
    settings.Store(data);
    auto window = std::make_unique<CalculatorWindow>(settings.path(), false, &recorder, nullptr);
    window->Initialise();
    window->show();
    return window;
  }
  calvoro::testing::TempSettings settings;
  calvoro::testing::RecordingSink recorder;
};

TEST_F(ShellWindowTest, MinimiseNeverLosesTheWindow) {
  for (bool toTray : {false, true}) {
    CSysData data;
    data.minimizeToTray = toTray;
    auto window = Open(data);
    EXPECT_EQ(window->minimizeButton()->toolTip(),
              toTray ? "Minimize to the system tray" : "Minimize");
    if (!toTray) {
      EXPECT_EQ(window->trayIcon(), nullptr);
    }
    window->OnMinimize();
    // Hidden only behind a tray icon that can bring it back.
    if (window->trayIcon()) {
      EXPECT_FALSE(window->isVisible());
    } else {
      EXPECT_TRUE(window->isVisible()) << toTray;
      EXPECT_TRUE(window->isMinimized()) << toTray;
    }
  }
}

TEST_F(ShellWindowTest, ExitSavesAndClosesWithoutAsking) {
  auto window = Open(CSysData{});
  QTest::keyClicks(window->input(), "1+1");
  window->model().data().paramW = "7";  // a change not yet saved
  window->OnExit();
  EXPECT_FALSE(window->isVisible());
  EXPECT_EQ(window->result(), QDialog::Accepted);
  EXPECT_TRUE(recorder.empty());
  EXPECT_EQ(settings.Load().paramW, "7");
}

TEST_F(ShellWindowTest, ASavedExpressionComesBackUnlessFlagged) {
  for (bool flag : {false, true}) {
    CSysData data;
    data.savedExpression = "12+34";
    data.savedInputFlag = flag;
    auto window = Open(data);
    EXPECT_EQ(window->input()->text(), flag ? "" : "12+34") << flag;
  }
}

TEST_F(ShellWindowTest, AlwaysOnTopIsKeptForTheRun) {
  auto window = Open(CSysData{});
  QMenu* menu = window->BuildStyleMenu();
  QAction* top = menu->actions().back();
  top->trigger();
  EXPECT_TRUE(window->alwaysOnTop());
  EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(window->isVisible());
  EXPECT_TRUE(window->BuildStyleMenu()->actions().back()->isChecked());
  top->trigger();
  EXPECT_FALSE(window->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(window->isVisible());
}

TEST_F(ShellWindowTest, TrayMenuRestoresAndExitsThroughTheQuestion) {
  auto window = Open(CSysData{});
  QMenu* menu = window->BuildTrayMenu();
  EXPECT_EQ(calvoro::testing::MenuTexts(*menu), (QStringList{"Restore", "Exit"}));
  window->hide();
  menu->actions().front()->trigger();
  EXPECT_TRUE(window->isVisible());
  window->model().data().paramW = "7";  // a change not yet saved
  for (Answer answer : {Answer::Cancel, Answer::Ok}) {
    recorder.answer = answer;
    menu->actions().back()->trigger();
    EXPECT_EQ(recorder.messages.back().text, "Would you exit Calvoro?");
    EXPECT_EQ(window->isVisible(), answer == Answer::Cancel);
  }
  EXPECT_EQ(settings.Load().paramW, "7");
}

TEST_F(ShellWindowTest, KeysF1AndCtrlAAndAccessibleNames) {
  auto window = Open(CSysData{});
  QTest::keyClicks(window->input(), "12+3");
  QTest::keyClick(window->input(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(window->input()->selectedText(), "12+3");
  QTest::keyClick(window->input(), Qt::Key_7);
  EXPECT_EQ(window->input()->text(), "7");
  QTest::keyClick(window->input(), Qt::Key_F1);  // no help file beside the tests
  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_NE(recorder.messages[0].text.find("the help file cannot be found"), std::string::npos);
  QStringList names;
  for (const SkinnedButton* button : window->findChildren<SkinnedButton*>()) {
    if (!button->accessibleName().isEmpty()) names << button->text() + "=" + button->accessibleName();
  }
  names.sort();
  EXPECT_EQ(names, (QStringList{"?=Help", "\u00d7=Exit", "\u2013=Minimize", "\u2190=Backspace", "\u2261=Style"}));
  EXPECT_EQ(window->input()->accessibleName(), "Expression");
}

}  // namespace
}  // namespace calvoro::ui
