// calvoro-cli matrix: the matrix dialog's Result text from matrix files.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "tests/cli/run_cli.h"

namespace {

using testing_cli::RunCli;

std::string WriteMatrix(const std::string& name, const std::string& text) {
  const std::string path = ::testing::TempDir() + "/calvoro_matrix_cli_" + name;
  std::ofstream(path, std::ios::binary) << text;
  return path;
}

TEST(MatrixCliTest, ResultsRefusalsAndUsage) {
  const std::string a = WriteMatrix("a", "1 2\r\n3 4\r\n");
  const std::string b = WriteMatrix("b", "5 6\n7 8\n");
  const std::string wide = WriteMatrix("wide", "1 2 3\n4 5 6\n");
  const std::string empty = WriteMatrix("empty", "");
  const std::string hint = "\nTry 'calvoro-cli help matrix' for more information.\n";
  const struct {
    std::vector<std::string> args;
    int status;
    std::string out;
    std::string err;  // its beginning
  } cases[] = {
      {{"matrix", "add", a, b}, 0, "A + B = \n\n6 8\n10 12\n", ""},
      {{"matrix", "mul", a, b}, 0, "A * B = \n\n19 22\n43 50\n", ""},
      {{"matrix", "trans", wide},
       1,
       "",
       "Matrix A has 2 rows. Matrix A has 3 columes.\nThe number of Matrix A rows must be same "
       "as the number of Matrix A columes.\nSyntax Error.\n"},
      {{"matrix", "trans", a}, 0, "A Transpose = \n\n1 3\n2 4\n", ""},
      {{"matrix", "add", empty, empty}, 0, "A + B = \n\n\n", ""},
      {{"matrix", "add", a, a + ".missing"}, 1, "", "calvoro-cli: cannot read "},
      {{"matrix", "add", a}, 2, "", "calvoro-cli: matrix add takes FILE-A FILE-B" + hint},
      {{"matrix", "trans", a, b}, 2, "", "calvoro-cli: matrix trans takes FILE-A" + hint},
  };
  for (const auto& c : cases) {
    const auto run = RunCli(c.args);
    const std::string name = c.args.size() > 1 ? c.args[1] : "matrix";
    EXPECT_EQ(run.status, c.status) << name;
    EXPECT_EQ(run.out, c.out) << name;
    EXPECT_EQ(run.err.substr(0, c.err.size()), c.err) << name;
    if (c.err.empty()) {
      EXPECT_EQ(run.err, "") << name;
    }
  }
}

}  // namespace
