// calvoro-cli matrix: a button of the matrix dialog on matrices read from
// files; the Result box's text goes to standard output.
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/safe_file.h"
#include "cli/cli_args.h"
#include "cli/stderr_sink.h"
#include "cli/subcommands.h"
#include "matrix/matrix_model.h"

namespace calvoro::cli {
namespace {

// A regular file's text: a FIFO or a device such as /dev/zero is not read.
std::optional<std::string> ReadWholeFile(const std::string& path) {
  std::string text;
  if (ReadRegularFile(path, text) != ReadStatus::kRead) return std::nullopt;
  return text;
}

std::optional<MatrixOperation> ParseOperation(std::string_view name) {
  if (name == "add") return MatrixOperation::kAdd;
  if (name == "sub") return MatrixOperation::kSubtract;
  if (name == "mul") return MatrixOperation::kMultiply;
  if (name == "trans") return MatrixOperation::kTranspose;
  return std::nullopt;
}

}  // namespace

int RunMatrixCommand(const CommandLine& line) {
  const std::vector<std::string>& args = line.operands;
  const std::optional<MatrixOperation> operation =
      args.empty() ? std::nullopt : ParseOperation(args[0]);
  if (!operation) return UsageError(line.command, "matrix takes add, sub, mul or trans first");
  const std::size_t files = operation == MatrixOperation::kTranspose ? 1 : 2;
  if (args.size() != files + 1) {
    return UsageError(line.command, "matrix " + args[0] +
                                        (files == 1 ? " takes FILE-A" : " takes FILE-A FILE-B"));
  }
  StderrSink sink;
  MatrixModel dialog(sink);
  for (std::size_t k = 0; k < files; ++k) {
    const std::optional<std::string> text = ReadWholeFile(args[k + 1]);
    if (!text) {
      std::cerr << "calvoro-cli: cannot read " << args[k + 1] << '\n';
      return 1;
    }
    (k == 0 ? dialog.a : dialog.b) = *text;
  }
  if (!dialog.Press(*operation)) return 1;
  WriteTerminalText(dialog.result());
  std::cout << '\n';
  return 0;
}

}  // namespace calvoro::cli
