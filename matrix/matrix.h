// Matrices of doubles typed as text: one row per line, elements separated by
// blanks; their sum, difference, product and transpose.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/refusal.h"

namespace calvoro {

struct Matrix {
  int rows = 0;
  int columns = 0;
  std::vector<double> elements;  // row-major, zero-filled

  Matrix() = default;
  Matrix(int row_count, int column_count)
      : rows(row_count),
        columns(column_count),
        elements(static_cast<std::size_t>(row_count) * column_count) {}

  double& at(int i, int j) { return elements[static_cast<std::size_t>(i) * columns + j]; }
  double at(int i, int j) const { return elements[static_cast<std::size_t>(i) * columns + j]; }
  bool operator==(const Matrix&) const = default;
};

// The most elements a typed matrix may have (1000 x 1000): a product of two
// such takes about a second, and a few megabytes of text could otherwise ask
// for hundreds of gigabytes.
inline constexpr long long kMaxMatrixElements = 1000000;

// ParseMatrix refuses more than kMaxMatrixElements elements, and
// MultiplyMatrices, before anything is allocated, a product that would have
// more (two allowed matrices can make a product of 10^12 elements): the
// refusal kMatrixTooLarge, its input naming the size.

// An element ParseMatrix cannot read: its row and column (from 0) and where
// it starts in the text.
struct MatrixElementError {
  int row = 0;
  int column = 0;
  std::size_t offset = 0;
};

// Lines are split at carriage returns and line feeds (empty lines vanish)
// and trimmed; the first line blank after trimming ends the matrix. The first
// line's pieces (split at runs of blanks) give the column count; each piece
// is a decimal number (ReadDecimalDouble: a sign and an exponent allowed);
// missing elements are 0 and extra ones ignored. An element used that is no
// number is refused (kMatrixElement, naming matrix `name`), with `refused`
// set when given.
Outcome<Matrix> ParseMatrix(std::string_view text, char name = 'A',
                            MatrixElementError* refused = nullptr);

// Elements as "%f" without trailing zeros, one blank between elements, rows
// joined by "\r\n", nothing after the last row.
std::string MatrixText(const Matrix& m);

// The sizes are the caller's to check: the same sizes for the sum and the
// difference; a's rows equal to b's columns and a's columns to b's rows for
// the product.
Matrix AddMatrices(const Matrix& a, const Matrix& b);
Matrix SubtractMatrices(const Matrix& a, const Matrix& b);
Outcome<Matrix> MultiplyMatrices(const Matrix& a, const Matrix& b);
Matrix Transpose(const Matrix& a);

}  // namespace calvoro
