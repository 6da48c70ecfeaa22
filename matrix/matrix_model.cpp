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

// The refusal `id`, the counts of the matrices as its input.
Refusal Refused(RefusalId id, std::string counts) { return {id, {}, std::move(counts)}; }

}  // namespace

bool MatrixModel::Press(MatrixOperation operation) {
  const Status done = Calculate(operation);
  if (!done) ReportRefusal(done.refusal(), sink_);
  return done.ok();
}

Outcome<Matrix> MatrixModel::Read(char name, std::string_view text) {
  MatrixElementError refused;
  Outcome<Matrix> m = ParseMatrix(text, name, &refused);
  if (!m && m.refusal().id == RefusalId::kMatrixElement) {
    refusedField_ = name;
    refusedOffset_ = refused.offset;
  }
  return m;
}

Status MatrixModel::Calculate(MatrixOperation operation) {
  refusedField_ = 0;
  const Outcome<Matrix> read_a = Read('A', a);
  if (!read_a) return read_a.refusal();
  const Matrix& x = *read_a;
  if (operation == MatrixOperation::kTranspose) {
    if (x.rows != x.columns) {
      return Refused(RefusalId::kMatrixNotSquare,
                     Counts("A", x.rows, "rows", "A", x.columns, "columes"));
    }
    result_ = "A Transpose = \r\n\r\n" + MatrixText(Transpose(x));
    return Success();
  }
  const Outcome<Matrix> read_b = Read('B', b);
  if (!read_b) return read_b.refusal();
  const Matrix& y = *read_b;
  if (operation == MatrixOperation::kMultiply) {
    if (x.rows != y.columns) {
      return Refused(RefusalId::kMatrixProductRows,
                     Counts("A", x.rows, "rows", "B", y.columns, "columes"));
    }
    if (x.columns != y.rows) {
      return Refused(RefusalId::kMatrixProductColumns,
                     Counts("A", x.columns, "columes", "B", y.rows, "rows"));
    }
    const Outcome<Matrix> product = MultiplyMatrices(x, y);
    if (!product) return product.refusal();
    result_ = "A * B = \r\n\r\n" + MatrixText(*product);
    return Success();
  }
  if (x.rows != y.rows) {
    return Refused(RefusalId::kMatrixRowsDiffer, Counts("A", x.rows, "rows", "B", y.rows, "rows"));
  }
  if (x.columns != y.columns) {
    return Refused(RefusalId::kMatrixColumnsDiffer,
                   Counts("A", x.columns, "columes", "B", y.columns, "columes"));
  }
  result_ = operation == MatrixOperation::kAdd
                ? "A + B = \r\n\r\n" + MatrixText(AddMatrices(x, y))
                : "A - B = \r\n\r\n" + MatrixText(SubtractMatrices(x, y));
  return Success();
}

}  // namespace calvoro
