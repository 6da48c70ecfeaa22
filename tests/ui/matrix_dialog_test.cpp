// The matrix dialog driven by mouse and keyboard: the four operations and a
// size refusal that reaches the input-message dialog.
#include <QPlainTextEdit>
#include <QTest>

#include "tests/support/recording_sink.h"
#include "tests/ui/ui_test_support.h"
#include "ui/calculator_window.h"
#include "ui/input_message_dialog.h"
#include "ui/matrix_dialog.h"

namespace calvoro::ui {
namespace {

using calvoro::testing::RecordingSink;
using calvoro::testing::SaveScreenshot;
using calvoro::testing::TempSettings;
using calvoro::testing::WhenModal;

// Types the rows into a matrix edit, Enter between them.
void TypeRows(QPlainTextEdit* edit, std::initializer_list<const char*> rows) {
  edit->clear();
  bool first = true;
  for (const char* row : rows) {
    if (!first) QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClicks(edit, row);
    first = false;
  }
}

TEST(MatrixDialogTest, ButtonsShowTheOperationsResults) {
  struct Case {
    MatrixOperation operation;
    const char* shown;
  } cases[] = {
      {MatrixOperation::kAdd, "A + B = \n\n6 8\n10 12"},
      {MatrixOperation::kSubtract, "A - B = \n\n-4 -4\n-4 -4"},
      {MatrixOperation::kTranspose, "A Transpose = \n\n1 3\n2 4"},
      {MatrixOperation::kMultiply, "A * B = \n\n19 22\n43 50"},
  };
  RecordingSink recorder;
  MatrixDialog dialog(recorder, nullptr);
  dialog.show();
  TypeRows(dialog.editA(), {"1 2", "3  4"});
  TypeRows(dialog.editB(), {"5 6", "7 8 9"});  // the extra 9 is ignored
  for (const Case& c : cases) {
    QTest::mouseClick(dialog.button(c.operation), Qt::LeftButton);
    EXPECT_EQ(dialog.result()->toPlainText(), c.shown)
        << kMatrixOperationLabels[static_cast<std::size_t>(c.operation)];
  }
  EXPECT_TRUE(recorder.empty());
}

// From the calculator window with its real message dialogs: Ctrl+Shift+M
// opens the dialog, a focused "A+B" is pressed by Enter, and the refusal
// opens the input-message dialog (closed by the test) and keeps the result.
TEST(MatrixDialogTest, TheRefusalReachesTheInputMessageDialog) {
  TempSettings settings;
  StandardWindow window(settings.path());
  window.Initialise();
  window.show();
  QStringList shown;
  bool matrixOpened = false;
  WhenModal([&](QWidget* modal) {
    auto* dialog = qobject_cast<MatrixDialog*>(modal);
    ASSERT_NE(dialog, nullptr);
    matrixOpened = true;
    TypeRows(dialog->editA(), {"1 2", "3 4"});
    TypeRows(dialog->editB(), {"1 1", "1 1"});
    QTest::mouseClick(dialog->button(MatrixOperation::kAdd), Qt::LeftButton);
    const QString sum = "A + B = \n\n2 3\n4 5";
    EXPECT_EQ(dialog->result()->toPlainText(), sum);
    SaveScreenshot(dialog, QStringLiteral("matrix_dialog"));
    TypeRows(dialog->editB(), {"1 2 3", "4 5 6"});
    WhenModal(
        [&](QWidget* message) {
          auto* input = qobject_cast<InputMessageDialog*>(message);
          ASSERT_NE(input, nullptr);
          for (int i = 0; i < 3; ++i) shown << input->field(i)->toPlainText().trimmed();
          SaveScreenshot(input, QStringLiteral("matrix_size_message"));
          QTest::mouseClick(input->findChildren<SkinnedButton*>().back(), Qt::LeftButton);
        },
        dialog);
    dialog->button(MatrixOperation::kAdd)->setFocus();
    QTest::keyClick(dialog->button(MatrixOperation::kAdd), Qt::Key_Return);
    EXPECT_EQ(dialog->result()->toPlainText(), sum);
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  QTest::keyClick(window.input(), Qt::Key_M, Qt::ControlModifier | Qt::ShiftModifier);
  EXPECT_TRUE(matrixOpened);
  ASSERT_EQ(shown.size(), 3);
  EXPECT_EQ(shown[0], "Matrix A has 2 columes. Matrix B has 3 columes.");
  EXPECT_TRUE(shown[1].startsWith("The number of Matrix A columes must be same"));
  EXPECT_EQ(shown[2], "Syntax Error.");
}

}  // namespace
}  // namespace calvoro::ui
