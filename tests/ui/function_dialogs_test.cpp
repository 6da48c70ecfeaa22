// The function list: functions inserted through the input dialog while the
// list stays open, the angle unit saved at once, the parameters stored on OK.
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "tests/ui/calculator_window_fixture.h"
#include "ui/function_dialogs.h"

namespace calvoro::ui {
namespace {

using calvoro::testing::RecordingSink;
using calvoro::testing::WhenModalOf;
using C = FunctionControl;

class FunctionDialogTest : public CalculatorWindowFixture {
 protected:
  // Opens the list from the FuncPara button and runs `use` on it.
  static void FuncPara(CalculatorWindow& window, std::function<void(FunctionListDialog&)> use) {
    WhenModalOf<FunctionListDialog>(std::move(use));
    QTest::mouseClick(window.control(kFuncPara), Qt::LeftButton);
  }
  // Clicks a function button of the list and answers its input dialog.
  static void Function(FunctionListDialog& list, FunctionControl control,
                       std::function<void(FunctionInputDialog&)> answer) {
    WhenModalOf<FunctionInputDialog>(std::move(answer), &list);
    QTest::mouseClick(list.button(control), Qt::LeftButton);
  }
  static void Replace(QLineEdit* edit, const char* text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
  }
};

TEST_F(FunctionDialogTest, ButtonsInsertAtTheCaretWhileTheListStaysOpen) {
  auto window = Open();
  QTest::keyClicks(window->input(), "2+3");
  window->input()->setCursorPosition(2);
  FuncPara(*window, [&](FunctionListDialog& list) {
    EXPECT_EQ(list.size(), QSize(560, 240));
    for (auto hidden : {C::kArsinh, C::kArcosh, C::kArtanh}) EXPECT_FALSE(list.button(hidden)->isVisible());
    EXPECT_EQ(list.button(C::kCosh)->toolTip(), "hyperbolic cosine ");
    EXPECT_TRUE(list.edit(ParameterFields::kPi)->isReadOnly());
    calvoro::testing::SaveScreenshot(&list, "function_list");

    Function(list, C::kSin, [](FunctionInputDialog& input) {
      EXPECT_EQ(input.prefixEdit()->text(), "sin(");
      EXPECT_TRUE(input.radian()->isChecked());
      QTest::mouseClick(input.degree(), Qt::LeftButton);
      QTest::keyClicks(input.argumentEdit(), "30");
      calvoro::testing::SaveScreenshot(&input, "function_input");
      QTest::keyClick(input.argumentEdit(), Qt::Key_Return);
    });
    EXPECT_TRUE(list.isVisible());
    EXPECT_EQ(window->input()->text(), "2+sin(30)3");
    EXPECT_EQ(settings.Load().angleRadian, false);  // saved at once

    QTest::mouseClick(list.button(C::kSquare), Qt::LeftButton);
    QTest::mouseClick(list.button(C::kParameterW), Qt::LeftButton);
    EXPECT_EQ(window->input()->text(), "2+sin(30)^2W3");

    // Cancel in the input dialog inserts nothing.
    Function(list, C::kExp, [](FunctionInputDialog& input) {
      EXPECT_FALSE(input.radian()->isVisible());
      EXPECT_FALSE(input.degree()->isVisible());
      QTest::keyClicks(input.argumentEdit(), "1");
      input.reject();
    });
    EXPECT_EQ(window->input()->text(), "2+sin(30)^2W3");
    list.reject();
  });
  EXPECT_EQ(window->focusWidget(), window->input());
  EXPECT_EQ(window->input()->cursorPosition(), window->input()->text().size());
  window->input()->setText("sin(30)*2");
  QTest::keyClick(window->input(), Qt::Key_Return);
  EXPECT_EQ(window->input()->text(), "sin(30)*2=1");
  EXPECT_TRUE(recorder.empty());
}

TEST_F(FunctionDialogTest, ArccosRefusesAnArgumentBeyondOne) {
  CSysData record;
  RecordingSink sink;
  FunctionInputDialog input("arccos", record, sink, {}, nullptr);
  input.show();
  QTest::keyClicks(input.argumentEdit(), "1.5");
  input.accept();
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text,
            "Sorry, the value of arcsin or arccos in this calculator cannot be larger than 1.");
  EXPECT_TRUE(input.isVisible());
  Replace(input.argumentEdit(), "1");
  input.accept();
  EXPECT_EQ(input.result(), QDialog::Accepted);
  EXPECT_EQ(input.Insertion(), "arccos(1)");
}

TEST_F(FunctionDialogTest, ParametersAreFilteredCheckedAndSavedOnOk) {
  auto window = Open();
  FuncPara(*window, [&](FunctionListDialog& list) {
    QLineEdit* w = list.edit(3);
    Replace(w, "a1-b.5-");  // letters dropped, "-" only at the start
    EXPECT_EQ(w->text(), "1.5");
    Replace(w, "-2.5");
    EXPECT_EQ(w->text(), "-2.5");
    Replace(list.edit(0), ".");
    list.accept();
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0].text, "Sorry, the input number . is invalid.");
    EXPECT_TRUE(list.isVisible());
    Replace(list.edit(0), "4");
    list.accept();
  });
  const CSysData stored = settings.Load();
  EXPECT_EQ(stored.paramW, "-2.5");
  EXPECT_EQ(stored.paramF, "4");

  // Cancel keeps the old texts.
  FuncPara(*window, [](FunctionListDialog& list) {
    EXPECT_EQ(list.edit(3)->text(), "-2.5");
    Replace(list.edit(3), "9");
    list.reject();
  });
  EXPECT_EQ(settings.Load().paramW, "-2.5");
  EXPECT_EQ(window->model().data().paramW, "-2.5");
}

}  // namespace
}  // namespace calvoro::ui
