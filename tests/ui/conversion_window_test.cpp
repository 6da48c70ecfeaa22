// The conversion-style window driven like a person: category and units
// chosen with the keyboard, an expression typed and calculated, the refusals,
// and the shell it shares with the other windows (style menu, close
// question, tip of the day).
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>

#include "app/startup.h"
#include "tests/support/recording_sink.h"
#include "tests/ui/ui_test_support.h"
#include "ui/conversion_window.h"
#include "ui/resize_dialog.h"

namespace calvoro::ui {
namespace {

using calvoro::testing::RecordingSink;
using calvoro::testing::TempSettings;
using calvoro::testing::WhenModal;

constexpr int kOutput = ConversionModel::kOutputSlot;

class ConversionWindowTest : public ::testing::Test {
 protected:
  std::unique_ptr<ConversionWindow> Open() {
    auto window = std::make_unique<ConversionWindow>(settings.path(), &recorder);
    window->Initialise();
    window->show();
    return window;
  }
  // Picks the first entry that starts with `start` with the keyboard: Home,
  // then Down to it.
  static void Choose(QComboBox* combo, const char* start) {
    const int row = combo->findText(QString::fromLatin1(start), Qt::MatchStartsWith);
    ASSERT_GE(row, 0) << start;
    combo->setFocus();
    QTest::keyClick(combo, Qt::Key_Home);
    for (int i = 0; i < row; ++i) QTest::keyClick(combo, Qt::Key_Down);
  }
  static void Calculate(ConversionWindow& window, const char* input) {
    window.input()->selectAll();
    QTest::keyClicks(window.input(), input);
    QTest::keyClick(window.input(), Qt::Key_Return);
  }

  TempSettings settings;
  RecordingSink recorder;
};

TEST_F(ConversionWindowTest, CalculatesInTheOutputUnit) {
  auto window = Open();
  EXPECT_EQ(window->windowTitle(), "Conversion Expression Calculator");
  EXPECT_EQ(window->categoryCombo()->currentText(), "Area");
  EXPECT_EQ(window->unitCombo(0)->count(), 15);
  EXPECT_EQ(window->unitCombo(0)->currentIndex(), -1);

  struct Case {
    const char* category;
    const char* a;
    const char* b;
    const char* output;
    const char* input;
    const char* shown;
  } cases[] = {
      {"Length", "metre", "", "foot(UK", "2A", "6.56167979 foot(UK and US)"},
      {"Length", "metre", "foot(UK", "yard", "5(A+6b)", "15.4680664917 yard"},
      {"Speed", "metre/second", "", "kilometre/hour", "A", "3.6 kilometre/hour"},
      {"Temperature", "Celsius", "", "Fahrenheit", "100A", "212 Fahrenheit (F)"},
  };
  for (const Case& c : cases) {
    Choose(window->categoryCombo(), c.category);
    ASSERT_EQ(window->categoryCombo()->currentText(), c.category);
    Choose(window->unitCombo(0), c.a);
    if (*c.b) Choose(window->unitCombo(1), c.b);
    Choose(window->unitCombo(kOutput), c.output);
    Calculate(*window, c.input);
    EXPECT_EQ(window->output()->text(), c.shown) << c.input;
  }
  // The field only takes what an expression over A to E needs.
  window->input()->clear();
  QTest::keyClicks(window->input(), "2 x+a^F");
  EXPECT_EQ(window->input()->text(), "2+a");
  EXPECT_TRUE(recorder.empty());
  calvoro::testing::SaveScreenshot(window.get(), QStringLiteral("conversion_window"));
}

TEST_F(ConversionWindowTest, RefusalsKeepTheOutput) {
  auto window = Open();
  Choose(window->categoryCombo(), "Length");
  Choose(window->unitCombo(0), "metre");
  Choose(window->unitCombo(kOutput), "metre");
  Calculate(*window, "3A");
  ASSERT_EQ(window->output()->text(), "3 metre");

  Choose(window->categoryCombo(), "Mass");  // a new category chooses no unit
  Choose(window->unitCombo(0), "gram");
  struct Case {
    const char* input;
    std::string message;
  } cases[] = {
      {"", "Sorry, please input the expression before calculation."},
      {"(A+B", "The number of ) is not equal with the number of ( ."},
      {"3B", "Sorry, please select an item from the combo B first."},
      {"A+", "Sorry, fail to calculate.Please check your input or report to " +
                 std::string(kSupportEmail)},
      {"5(A)", "Sorry, please select an item from the Output Combo first."},
  };
  for (const Case& c : cases) {
    recorder.messages.clear();
    window->input()->clear();
    if (*c.input) QTest::keyClicks(window->input(), c.input);
    QTest::mouseClick(window->calculateButton(), Qt::LeftButton);
    // The last message is the window's; the evaluator may have told its own
    // reason first.
    ASSERT_FALSE(recorder.empty()) << c.input;
    EXPECT_EQ(recorder.messages.back().text, c.message);
    EXPECT_EQ(recorder.messages.back().caption, "Calvoro Warning Message");
    EXPECT_EQ(window->output()->text(), "3 metre");
  }
  // Escape in the field asks the close question of every calculator window.
  recorder.messages.clear();
  recorder.answer = Answer::Cancel;
  QTest::keyClick(window->input(), Qt::Key_Escape);
  ASSERT_EQ(recorder.messages.size(), 1u);
  EXPECT_EQ(recorder.messages[0].text, "Would you exit Calvoro?");
  EXPECT_TRUE(window->isVisible());
}

TEST_F(ConversionWindowTest, StyleMenuWritesTheStyleAtOnce) {
  auto window = Open();
  QMenu* menu = window->BuildStyleMenu();
  EXPECT_EQ(calvoro::testing::MenuTexts(*menu),
            (QStringList{"  Standard Expression Calculator", "  Calvoro",
                         "  Complex Expression Calculator", "  Always on Top"}));
  const QString notice = calvoro::testing::NoticeOfStyleItem(menu->actions().front());
  EXPECT_TRUE(notice.startsWith("You have select the standard style."));
  EXPECT_EQ(settings.Load().windowStyle, WindowStyle::Standard);
  EXPECT_EQ(window->focusWidget(), window->input());
}

TEST_F(ConversionWindowTest, FreshStartOpensTheTipAndBlocksTheWindow) {
  CSysData stored;
  stored.windowStyle = WindowStyle::Conversion;
  stored.tipOpen = true;  // left over from a run that ended with the tip open
  settings.Store(stored);
  auto window = std::make_unique<ConversionWindow>(settings.path(), &recorder);
  MarkFreshStart(window->data());
  window->Initialise();
  window->show();
  ASSERT_NE(window->tipDialog(), nullptr);
  EXPECT_FALSE(window->data().freshStart);

  Choose(window->categoryCombo(), "Length");
  EXPECT_EQ(window->categoryCombo()->currentText(), "Area");  // taken back
  Calculate(*window, "2");
  EXPECT_TRUE(recorder.empty());
  EXPECT_EQ(window->output()->text(), "");

  QTest::keyClick(window->tipDialog(), Qt::Key_Escape);
  Choose(window->categoryCombo(), "Length");
  EXPECT_EQ(window->model().category(), "length");
  Choose(window->unitCombo(0), "inch");
  Choose(window->unitCombo(kOutput), "centimetre");
  Calculate(*window, "A");
  EXPECT_EQ(window->output()->text(), "2.54 centimetre");
}

}  // namespace
}  // namespace calvoro::ui
