// calvoro-cli matrix: the matrix dialog's Result text from matrix files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/run_cli.h"
#include "tests/support/test_folder.h"

namespace {

using testing_cli::RunCli;

TEST(MatrixCliTest, ResultsRefusalsAndUsage) {
  const calvoro::testing::TestFolder folder("matrix_cli");
  const std::string a = folder.Write("a", "1 2\r\n3 4\r\n");
  const std::string b = folder.Write("b", "5 6\n7 8\n");
  const std::string wide = folder.Write("wide", "1 2 3\n4 5 6\n");
  const std::string empty = folder.Write("empty", "");
  const std::string letters = folder.Write("letters", "1 2\na b\n");
  const std::string hint = "\nTry 'calvoro-cli help matrix' for more information.\n";
  const testing_cli::CliCase cases[] = {
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
      {{"matrix", "add", a, letters},
       1,
       "",
       "Calvoro Warning Message: Sorry, the element in row 2, column 1 of Matrix B is not a "
       "number.\n"},
      {{"matrix", "add", a}, 2, "", "calvoro-cli: matrix add takes FILE-A FILE-B" + hint},
      {{"matrix", "trans", a, b}, 2, "", "calvoro-cli: matrix trans takes FILE-A" + hint},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(testing_cli::RanAs(RunCli(c.args), c))
        << (c.args.size() > 1 ? c.args[1] : "matrix");
  }
}

}  // namespace
