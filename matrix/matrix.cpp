// Matrix text and arithmetic in double precision.
#include "matrix/matrix.h"

#include "engine/expression_text.h"
#include "numeric/number_text.h"

namespace calvoro {
namespace {

// The pieces of `text` between runs of the characters in `separators`.
std::vector<std::string_view> SplitRuns(std::string_view text, std::string_view separators) {
  std::vector<std::string_view> pieces;
  std::size_t start = text.find_first_not_of(separators);
  while (start != std::string_view::npos) {
    const std::size_t end = text.find_first_of(separators, start);
    pieces.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    start = end == std::string_view::npos ? end : text.find_first_not_of(separators, end);
  }
  return pieces;
}

constexpr std::string_view kBlanks = " \t";

template <typename Operation>
Matrix ElementWise(const Matrix& a, const Matrix& b, Operation operation) {
  Matrix sum(a.rows, a.columns);
  for (std::size_t k = 0; k < sum.elements.size(); ++k) {
    sum.elements[k] = operation(a.elements[k], b.elements[k]);
  }
  return sum;
}

}  // namespace

namespace {

// A matrix of `rows` x `columns` beyond kMaxMatrixElements, refused.
Refusal TooLarge(std::string_view what, int rows, int columns) {
  return {RefusalId::kMatrixTooLarge,
          {std::to_string(kMaxMatrixElements)},
          std::string(what) + std::to_string(rows) + " rows and " + std::to_string(columns) +
              " columes."};
}

}  // namespace

Outcome<Matrix> ParseMatrix(std::string_view text, char name, MatrixElementError* refused) {
  std::vector<std::string_view> lines;
  for (std::string_view line : SplitRuns(text, "\r\n")) {
    line = TrimBlanks(line);
    if (line.empty()) break;
    lines.push_back(line);
  }
  if (lines.empty()) return Matrix();
  const int columns = static_cast<int>(SplitRuns(lines.front(), kBlanks).size());
  const int rows = static_cast<int>(lines.size());
  if (static_cast<long long>(rows) * columns > kMaxMatrixElements)
    return TooLarge("The matrix has ", rows, columns);
  Matrix m(rows, columns);
  for (int i = 0; i < m.rows; ++i) {
    const std::vector<std::string_view> pieces = SplitRuns(lines[i], kBlanks);
    for (int j = 0; j < columns && j < static_cast<int>(pieces.size()); ++j) {
      const std::optional<double> value = ReadDecimalDouble(pieces[j]);
      if (!value) {
        if (refused) *refused = {i, j, static_cast<std::size_t>(pieces[j].data() - text.data())};
        return Refusal{RefusalId::kMatrixElement,
                       {std::to_string(i + 1), std::to_string(j + 1), std::string(1, name)}};
      }
      m.at(i, j) = *value;
    }
  }
  return m;
}

std::string MatrixText(const Matrix& m) {
  std::string text;
  for (int i = 0; i < m.rows; ++i) {
    if (i > 0) text += "\r\n";
    for (int j = 0; j < m.columns; ++j) {
      if (j > 0) text += ' ';
      text += ShortFixedText(m.at(i, j));
    }
  }
  return text;
}

Matrix AddMatrices(const Matrix& a, const Matrix& b) {
  return ElementWise(a, b, [](double x, double y) { return x + y; });
}

Matrix SubtractMatrices(const Matrix& a, const Matrix& b) {
  return ElementWise(a, b, [](double x, double y) { return x - y; });
}

Outcome<Matrix> MultiplyMatrices(const Matrix& a, const Matrix& b) {
  if (static_cast<long long>(a.rows) * b.columns > kMaxMatrixElements)
    return TooLarge("The product A * B would have ", a.rows, b.columns);
  Matrix product(a.rows, b.columns);
  for (int i = 0; i < a.rows; ++i) {
    for (int k = 0; k < b.columns; ++k) {
      double sum = 0;
      for (int j = 0; j < a.columns; ++j) sum += a.at(i, j) * b.at(j, k);
      product.at(i, k) = sum;
    }
  }
  return product;
}

Matrix Transpose(const Matrix& a) {
  Matrix t(a.columns, a.rows);
  for (int i = 0; i < t.rows; ++i) {
    for (int j = 0; j < t.columns; ++j) t.at(i, j) = a.at(j, i);
  }
  return t;
}

}  // namespace calvoro
