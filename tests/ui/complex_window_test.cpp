// The complex operations dialog and the complex-style window driven by mouse
// and keyboard: operations, expressions over A..E, refusals, the shell.
#include "ui/complex_window.h"

#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

#include "tests/support/recording_sink.h"
#include "tests/ui/ui_test_support.h"
#include "ui/calculator_window.h"
#include "ui/complex_operations_dialog.h"
#include "ui/resize_dialog.h"

namespace calvoro::ui {
namespace {

using calvoro::testing::RecordingSink;
using calvoro::testing::SaveScreenshot;
using calvoro::testing::TempSettings;
using calvoro::testing::WhenModal;

// Replaces an edit's text by typing.
void Type(QLineEdit* edit, const char* text) {
  edit->clear();
  QTest::keyClicks(edit, text);
}

void TypeOperand(const ComplexOperandEdits& edits, const char* re, const char* im) {
  Type(edits.re, re);
  Type(edits.im, im);
}

TEST(ComplexOperationsDialogTest, ButtonsShowTheResultsAndRefuseAZeroDivisor) {
  struct Case {
    ComplexOperation operation;
    const char *aRe, *aIm, *bRe, *bIm, *shown;
  } cases[] = {
      {ComplexOperation::kModule, "3", "4", "", "", "5.000000"},
      {ComplexOperation::kLog, "3", "4", "", "", "1.609438+0.927295j"},
      {ComplexOperation::kSubtract, "0", "-1", "0", "2", "-3j"},
      {ComplexOperation::kRealPower, "-1", "0", "0.5", "7", "0+1j"},
      {ComplexOperation::kRoots, "8", "0", "2.9", "", "2.828427\n-2.828427+0j"},
  };
  RecordingSink recorder;
  ComplexOperationsDialog dialog(recorder, nullptr);
  dialog.show();
  for (const Case& c : cases) {
    TypeOperand(dialog.operand(0), c.aRe, c.aIm);
    TypeOperand(dialog.operand(1), c.bRe, c.bIm);
    QTest::mouseClick(dialog.button(c.operation), Qt::LeftButton);
    EXPECT_EQ(dialog.output()->toPlainText(), c.shown)
        << kComplexOperationLabels[static_cast<std::size_t>(c.operation)];
  }
  EXPECT_TRUE(recorder.empty());

  // A zero divisor is refused and the output kept.
  TypeOperand(dialog.operand(1), "0", "0.0");
  QTest::mouseClick(dialog.button(ComplexOperation::kDivide), Qt::LeftButton);
  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_EQ(recorder.messages[0].text, "The denominator cannot be zero.");
  EXPECT_EQ(recorder.messages[0].caption, kCaptionComplexWarning);
  EXPECT_EQ(dialog.output()->toPlainText(), "2.828427\n-2.828427+0j");
}

TEST(ComplexOperationsDialogTest, TheKeyboardReachesEveryButton) {
  RecordingSink recorder;
  ComplexOperationsDialog dialog(recorder, nullptr);
  dialog.show();
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  // Typed into A, then Tab past B's edits to "A+B", "A-B", "A*B".
  ASSERT_EQ(QApplication::focusWidget(), dialog.operand(0).re);
  QTest::keyClicks(QApplication::focusWidget(), "2");
  for (int i = 0; i < 6; ++i) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  ASSERT_EQ(QApplication::focusWidget(), dialog.button(ComplexOperation::kMultiply));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
  EXPECT_EQ(dialog.output()->toPlainText(), "0");
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  EXPECT_EQ(dialog.output()->toPlainText(), "2");
  SaveScreenshot(&dialog, QStringLiteral("complex_dialog"));
  QTest::keyClick(&dialog, Qt::Key_Escape);
  EXPECT_FALSE(dialog.isVisible());
}

TEST(ComplexOperationsDialogTest, TheCalculatorWindowOpensItByButtonAndKey) {
  TempSettings settings;
  RecordingSink recorder;
  StandardWindow window(settings.path(), &recorder);
  window.Initialise();
  window.show();
  QString shown;
  WhenModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<ComplexOperationsDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    TypeOperand(dialog->operand(0), "3", "4");
    QTest::mouseClick(dialog->button(ComplexOperation::kModule), Qt::LeftButton);
    shown = dialog->output()->toPlainText();
    QTest::mouseClick(dialog->findChildren<SkinnedButton*>().back(), Qt::LeftButton);  // Close
  });
  QTest::mouseClick(window.control(kComplex), Qt::LeftButton);
  EXPECT_EQ(shown, "5.000000");
  bool opened = false;
  WhenModal([&](QWidget* modal) {
    opened = qobject_cast<ComplexOperationsDialog*>(modal) != nullptr;
    QTest::keyClick(modal, Qt::Key_Escape);
  });
  QTest::keyClick(window.input(), Qt::Key_P, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(opened);
  EXPECT_TRUE(recorder.empty());
}

class ComplexWindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<ComplexWindow> Open() {
    auto window = std::make_unique<ComplexWindow>(settings.path(), &recorder);
    window->Initialise();
    window->show();
    return window;
  }
  static void Calculate(ComplexWindow& window, const char* expression) {
    Type(window.input(), expression);
    QTest::keyClick(window.input(), Qt::Key_Return);
  }

  TempSettings settings;
  RecordingSink recorder;
};

TEST_F(ComplexWindowTest, ExpressionsOverTheOperandsShowTheirValue) {
  auto window = Open();
  TypeOperand(window->operand(0), "1", "1");
  TypeOperand(window->operand(1), "2", "-1");
  TypeOperand(window->operand(2), "0.5", "");
  TypeOperand(window->operand(4), "", "1");
  struct Case {
    const char *expression, *shown;
  } cases[] = {
      {"5(A+6B-C)-E", "62.5-26j"},
      {"2A", "2+2j"},
      {" (A+B)*C ", "1.5"},
      {"A/B-D", "0.2+0.6j"},
  };
  for (const Case& c : cases) {
    Calculate(*window, c.expression);
    EXPECT_EQ(window->output()->text(), c.shown) << c.expression;
  }
  // The Calculate button does what Enter does.
  Type(window->input(), "A*A");
  QTest::mouseClick(window->calculateButton(), Qt::LeftButton);
  EXPECT_EQ(window->output()->text(), "2j");
  EXPECT_TRUE(recorder.empty());
  SaveScreenshot(window.get(), QStringLiteral("complex_window"));
}

TEST_F(ComplexWindowTest, RefusalsLeaveTheOutputAsItWas) {
  auto window = Open();
  TypeOperand(window->operand(0), "3", "4");
  Calculate(*window, "A");
  const std::string failure = std::string(
                                  "Sorry, fail to calculate the complex expression .Please check "
                                  "your input and report to ") +
                              std::string(kSupportEmail);
  struct Case {
    const char* expression;
    std::string_view text, caption;
  } cases[] = {
      {"  ", "Sorry, please input the expression before calculation.", kCaptionComplexWarning},
      {"(A+B", "The number of ) is not equal with the number of ( .", kCaptionComplexWarning},
      {"A$B", failure, kCaptionComplexCalculator},
      {"A/(B-B)", failure, kCaptionComplexCalculator},
  };
  for (const Case& c : cases) {
    recorder.messages.clear();
    Calculate(*window, c.expression);
    ASSERT_EQ(recorder.messages.size(), 1u) << c.expression;
    EXPECT_EQ(recorder.messages[0].text, c.text) << c.expression;
    EXPECT_EQ(recorder.messages[0].caption, c.caption) << c.expression;
    EXPECT_EQ(window->output()->text(), "3+4j") << c.expression;
  }
  // A field that is no number is named, and the caret goes there.
  recorder.messages.clear();
  TypeOperand(window->operand(1), "2", "4j");
  Calculate(*window, "A+B");
  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_EQ(recorder.messages[0].text, "Sorry, the imaginary part of B is not a number.");
  EXPECT_EQ(window->focusWidget(), window->operand(1).im);
  EXPECT_EQ(window->output()->text(), "3+4j");
}

TEST_F(ComplexWindowTest, StyleMenuOffersTheOtherStylesAndWritesTheChoice) {
  auto window = Open();
  QMenu* menu = window->BuildStyleMenu();
  QStringList items;
  for (QAction* action : menu->actions())
    if (!action->isSeparator()) items << action->text();
  EXPECT_EQ(items, (QStringList{"  Standard Expression Calculator", "  Calvoro",
                                "  Conversion Expression Calculator", "  Always on Top"}));
  QString notice;
  WhenModal([&](QWidget* modal) {
    ASSERT_NE(qobject_cast<ResizeDialog*>(modal), nullptr);
    notice = modal->findChildren<QLabel*>().front()->text();
    qobject_cast<QDialog*>(modal)->accept();
  });
  menu->actions()[2]->trigger();
  EXPECT_TRUE(notice.startsWith("You have select the unit style."));
  EXPECT_EQ(settings.Load().windowStyle, WindowStyle::Conversion);
  EXPECT_EQ(window->focusWidget(), window->input());

  // Escape asks first; Cancel keeps the window.
  recorder.answer = Answer::Cancel;
  QTest::keyClick(window->input(), Qt::Key_Escape);
  EXPECT_TRUE(window->isVisible());
  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_EQ(recorder.messages[0].text, "Would you exit Calvoro?");
  EXPECT_EQ(recorder.messages[0].caption, kCaptionCalvoroMessage);
}

}  // namespace
}  // namespace calvoro::ui
