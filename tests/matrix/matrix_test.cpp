// Matrix parsing, text form and the matrix dialog's buttons with their size
// messages.
#include "matrix/matrix.h"

#include <gtest/gtest.h>

#include "matrix/matrix_model.h"
#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

using testing::RecordingSink;

Matrix Of(int rows, int columns, std::vector<double> elements) {
  Matrix m(rows, columns);
  m.elements = std::move(elements);
  return m;
}

TEST(ParseMatrixTest, LinesPiecesAndMissingElements) {
  const struct {
    const char* text;
    Matrix m;
  } cases[] = {
      {"", Matrix()},
      {"\r\n \r\n", Matrix()},
      {"1 2\r\n3 4", Of(2, 2, {1, 2, 3, 4})},
      {"1 2\n3 4\n", Of(2, 2, {1, 2, 3, 4})},
      {"\r\n\r\n1 2\r\n\r\n\r\n3 4\r\r", Of(2, 2, {1, 2, 3, 4})},  // empty lines vanish
      {"1  2\r\n  3    4  ", Of(2, 2, {1, 2, 3, 4})},              // runs of blanks
      {"1\t2\r\n3 \t 4", Of(2, 2, {1, 2, 3, 4})},
      {"1 2 3\r\n4\r\n5 6", Of(3, 3, {1, 2, 3, 4, 0, 0, 5, 6, 0})},  // missing elements are 0
      {"1 2\r\n3 4 5 6", Of(2, 2, {1, 2, 3, 4})},                    // extra ones ignored
      {"1 2\r\n   \r\n3 4", Of(1, 2, {1, 2})},                       // a line of blanks ends it
      {"1.5 -2e1 +4 .5", Of(1, 4, {1.5, -20, 4, 0.5})},              // signs, points, exponents
  };
  for (const auto& c : cases) EXPECT_EQ(*ParseMatrix(c.text), c.m) << c.text;
}

TEST(MatrixTextTest, ElementsRowsAndLines) {
  EXPECT_EQ(MatrixText(Of(2, 3, {1.5, 2, -0.25, 0.1 + 0.2, 1e6, -1e-9})),
            "1.5 2 -0.25\r\n0.3 1000000 0");
}

TEST(MatrixModelTest, ResultTexts) {
  const struct {
    MatrixOperation operation;
    const char* a;
    const char* b;
    const char* result;
  } cases[] = {
      {MatrixOperation::kAdd, "1 2\r\n3 4", "5 6\r\n7 8", "A + B = \r\n\r\n6 8\r\n10 12"},
      {MatrixOperation::kSubtract, "1 2\r\n3 4", "5 6\r\n7 9", "A - B = \r\n\r\n-4 -4\r\n-4 -5"},
      {MatrixOperation::kMultiply, "1 2\r\n3 4", "5 6\r\n7 8", "A * B = \r\n\r\n19 22\r\n43 50"},
      {MatrixOperation::kMultiply, "1 2 3\r\n4 5 6", "1 0\r\n0 1\r\n1 1",
       "A * B = \r\n\r\n4 5\r\n10 11"},
      {MatrixOperation::kTranspose, "1 2\r\n3 4", "junk", "A Transpose = \r\n\r\n1 3\r\n2 4"},
      {MatrixOperation::kAdd, "", "", "A + B = \r\n\r\n"},
  };
  for (const auto& c : cases) {
    RecordingSink sink;
    MatrixModel dialog(sink);
    dialog.a = c.a;
    dialog.b = c.b;
    EXPECT_TRUE(dialog.Press(c.operation)) << c.a;
    EXPECT_EQ(dialog.result(), c.result) << c.a;
    EXPECT_TRUE(sink.empty()) << c.a;
  }
}

TEST(MatrixModelTest, SizeMessages) {
  const struct {
    MatrixOperation operation;
    const char* a;
    const char* b;
    const char* counts;
    const char* rule;
  } cases[] = {
      {MatrixOperation::kAdd, "1 2\r\n3 4", "1 2", "Matrix A has 2 rows. Matrix B has 1 rows.",
       "The number of Matrix A rows must be same as the number of Matrix B."},
      {MatrixOperation::kSubtract, "1 2\r\n3 4", "1 2 3\r\n4 5 6",
       "Matrix A has 2 columes. Matrix B has 3 columes.",
       "The number of Matrix A columes must be same as the number of Matrix B."},
      {MatrixOperation::kTranspose, "1 2 3\r\n4 5 6", "",
       "Matrix A has 2 rows. Matrix A has 3 columes.",
       "The number of Matrix A rows must be same as the number of Matrix A columes."},
      // 2 by 3 times 3 by 4: the row check comes first.
      {MatrixOperation::kMultiply, "1 2 3\r\n4 5 6", "1 2 3 4\r\n5 6 7 8\r\n9 10 11 12",
       "Matrix A has 2 rows. Matrix B has 4 columes.",
       "The number of Matrix A rows must be same as the number of Matrix B columes."},
      {MatrixOperation::kMultiply, "1 2 3\r\n4 5 6", "1 2\r\n3 4",
       "Matrix A has 3 columes. Matrix B has 2 rows.",
       "The number of Matrix A columes must be same as the number of Matrix B rows."},
  };
  for (const auto& c : cases) {
    RecordingSink sink;
    MatrixModel dialog(sink);
    dialog.a = "7";
    dialog.b = "1";
    ASSERT_TRUE(dialog.Press(MatrixOperation::kAdd));
    dialog.a = c.a;
    dialog.b = c.b;
    EXPECT_FALSE(dialog.Press(c.operation)) << c.counts;
    EXPECT_EQ(dialog.result(), "A + B = \r\n\r\n8") << c.counts;
    ASSERT_EQ(sink.messages.size(), 1u) << c.counts;
    EXPECT_EQ(sink.messages[0].kind, testing::RecordedMessage::Input);
    EXPECT_EQ(sink.messages[0].caption, c.counts);  // the dialog's first text
    EXPECT_EQ(sink.messages[0].text, c.rule);
    EXPECT_EQ(sink.messages[0].hint, "Syntax Error.");
  }
}

// An element that is no number is refused by name, the result stays, and
// the model names the edit and the element's place for the caret.
TEST(MatrixModelTest, ElementsThatAreNoNumbers) {
  const struct {
    const char* a;
    const char* b;
    char field;
    std::size_t offset;
    const char* message;
  } cases[] = {
      {"a b c", "1 2 3", 'A', 0,
       "Sorry, the element in row 1, column 1 of Matrix A is not a number."},
      {"1 2\r\n3 4x", "1 2\r\n3 4", 'A', 7,
       "Sorry, the element in row 2, column 2 of Matrix A is not a number."},
      {"1 2", "1  0h2", 'B', 3,
       "Sorry, the element in row 1, column 2 of Matrix B is not a number."},
      {"1 2\r\n3 4 junk", "1 2\r\n3 4", 0, 0, ""},  // beyond the column count: ignored
  };
  for (const auto& c : cases) {
    RecordingSink sink;
    MatrixModel dialog(sink);
    dialog.a = c.a;
    dialog.b = c.b;
    EXPECT_EQ(dialog.Press(MatrixOperation::kAdd), c.field == 0) << c.a;
    EXPECT_EQ(dialog.refusedField(), c.field) << c.a;
    if (c.field == 0) continue;
    EXPECT_EQ(dialog.result(), "");
    EXPECT_EQ(dialog.refusedOffset(), c.offset) << c.a;
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, c.message);
  }
}

}  // namespace
}  // namespace calvoro

namespace calvoro {
namespace {

// A few megabytes of text must not ask for a matrix of hundreds of gigabytes.
TEST(MatrixModelTest, OversizedMatricesAreRefused) {
  std::string wide(2 * 2000, ' ');
  for (std::size_t i = 0; i < wide.size(); i += 2) wide[i] = '1';
  std::string text = wide;
  for (int row = 1; row < 600; ++row) text += "\r\n1";
  RecordingSink sink;
  MatrixModel dialog(sink);
  dialog.a = text;
  dialog.b = text;
  EXPECT_FALSE(dialog.Press(MatrixOperation::kAdd));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].caption, "The matrix has 600 rows and 2000 columes.");
  EXPECT_EQ(sink.messages[0].text, "A matrix may hold at most 1000000 elements.");

  // A column of a million times a row of a million: each within the bound,
  // their product of 10^12 elements is refused before it is allocated.
  std::string column;
  for (int row = 0; row < 1000000; ++row) column += "1\n";
  dialog.a = column;
  dialog.b = std::string(1999999, ' ');
  for (std::size_t i = 0; i < dialog.b.size(); i += 2) dialog.b[i] = '2';
  sink.messages.clear();
  EXPECT_FALSE(dialog.Press(MatrixOperation::kMultiply));
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].caption, "The product A * B would have 1000000 rows and 1000000 columes.");
  EXPECT_EQ(sink.messages[0].text, "A matrix may hold at most 1000000 elements.");
}

}  // namespace
}  // namespace calvoro
