// The behaviour of the matrix calculator dialog (MatrixDialog) without
// widgets: the dialog copies its "A:" and "B:" edits into the model, calls
// the button's command and shows `result()` in "Result:".
#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "engine/message_sink.h"
#include "matrix/matrix.h"

namespace calvoro {

enum class MatrixOperation { kAdd, kSubtract, kTranspose, kMultiply };
// The buttons in the dialog's order, and its delimiter note.
inline constexpr std::array<std::string_view, 4> kMatrixOperationLabels = {"A+B", "A-B", "A Trans.",
                                                                           "A*B"};
inline constexpr std::string_view kMatrixDelimiterNote = "Delimiter =  One Space";

class MatrixModel {
 public:
  explicit MatrixModel(MessageSink& sink) : sink_(sink) {}

  // Parses the edits the operation needs and writes the result text. A size
  // mismatch goes to the input-message dialog (counts, rule, "Syntax
  // Error.") and leaves the result as it was.
  bool Press(MatrixOperation operation);

  std::string a;
  std::string b;
  const std::string& result() const { return result_; }
  // The edit the last refusal named ('A' or 'B', 0 for none) and where in
  // its text the element that is no number starts: the dialog puts the
  // caret there.
  char refusedField() const { return refusedField_; }
  std::size_t refusedOffset() const { return refusedOffset_; }

 private:
  // The matrix of edit `name`; a refusal names the element that is no number.
  Outcome<Matrix> Read(char name, std::string_view text);
  Status Calculate(MatrixOperation operation);

  MessageSink& sink_;
  std::string result_;
  char refusedField_ = 0;
  std::size_t refusedOffset_ = 0;
};

}  // namespace calvoro
