// The matrix dialog's buttons: size checks, messages and result texts.
#include "matrix/matrix_model.h"

#include "engine/refusal.h"

namespace calvoro {
namespace {

std::string Counts(std::string_view first, int first_count, std::string_view first_word,
                   std::string_view second, int second_count, std::string_view second_word) {
  return "Matrix " + std::string(first) + " has " + std::to_string(first_count) + " " +
         std::string(first_word) + ". Matrix " + std::string(second) + " has " +
         std::to_string(second_count) + " " + std::string(second_word) + ".";
}

}  // namespace

void MatrixModel::Refuse(const std::string& counts, std::string_view rule) {
  sink_.InputMessage(counts, rule, "Syntax Error.");
}

bool MatrixModel::Press(MatrixOperation operation) {
  try {
    return Calculate(operation);
  } catch (const MatrixTooLarge& size) {
    Refuse(std::string(size.product ? "The product A * B would have " : "The matrix has ") +
               std::to_string(size.rows) + " rows and " + std::to_string(size.columns) +
               " columes.",
           "A matrix may hold at most 1000000 elements.");
    return false;
  }
}

std::optional<Matrix> MatrixModel::Read(char name, std::string_view text) {
  MatrixElementError refused;
  std::optional<Matrix> m = ParseMatrix(text, &refused);
  if (!m) {
    refusedField_ = name;
    refusedOffset_ = refused.offset;
    ReportRefusal({RefusalId::kMatrixElement,
                   {std::to_string(refused.row + 1), std::to_string(refused.column + 1),
                    std::string(1, name)}},
                  sink_);
  }
  return m;
}

bool MatrixModel::Calculate(MatrixOperation operation) {
  refusedField_ = 0;
  const std::optional<Matrix> read_a = Read('A', a);
  if (!read_a) return false;
  const Matrix& x = *read_a;
  if (operation == MatrixOperation::kTranspose) {
    if (x.rows != x.columns) {
      Refuse(Counts("A", x.rows, "rows", "A", x.columns, "columes"),
             "The number of Matrix A rows must be same as the number of Matrix A columes.");
      return false;
    }
    result_ = "A Transpose = \r\n\r\n" + MatrixText(Transpose(x));
    return true;
  }
  const std::optional<Matrix> read_b = Read('B', b);
  if (!read_b) return false;
  const Matrix& y = *read_b;
  if (operation == MatrixOperation::kMultiply) {
    if (x.rows != y.columns) {
      Refuse(Counts("A", x.rows, "rows", "B", y.columns, "columes"),
             "The number of Matrix A rows must be same as the number of Matrix B columes.");
      return false;
    }
    if (x.columns != y.rows) {
      Refuse(Counts("A", x.columns, "columes", "B", y.rows, "rows"),
             "The number of Matrix A columes must be same as the number of Matrix B rows.");
      return false;
    }
    result_ = "A * B = \r\n\r\n" + MatrixText(MultiplyMatrices(x, y));
    return true;
  }
  if (x.rows != y.rows) {
    Refuse(Counts("A", x.rows, "rows", "B", y.rows, "rows"),
           "The number of Matrix A rows must be same as the number of Matrix B.");
    return false;
  }
  if (x.columns != y.columns) {
    Refuse(Counts("A", x.columns, "columes", "B", y.columns, "columes"),
           "The number of Matrix A columes must be same as the number of Matrix B.");
    return false;
  }
  result_ = operation == MatrixOperation::kAdd
                ? "A + B = \r\n\r\n" + MatrixText(AddMatrices(x, y))
                : "A - B = \r\n\r\n" + MatrixText(SubtractMatrices(x, y));
  return true;
}

}  // namespace calvoro
