// calvoro-cli complex: operands from --A .. --E, the value on standard
// output, refusals and usage errors on standard error.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/run_cli.h"

namespace {

using testing_cli::RunCli;

const std::string kHint = "\nTry 'calvoro-cli help complex' for more information.\n";

TEST(ComplexCliTest, ValuesRefusalsAndUsage) {
  const testing_cli::CliCase cases[] = {
      {{"complex", "--A", "1,1", "2A"}, 0, "2+2j\n", ""},
      {{"complex", "--A", "3,4", "--B", "1,-2", "(A)(B)"}, 0, "11-2j\n", ""},
      {{"complex", "--a", "-1,0", "--E", "2.5,1e-1", "--", "-A*E"}, 0, "2.5+0.1j\n", ""},
      {{"complex", "A/0"},
       1,
       "",
       "Complex Expression Calculator: Sorry, fail to calculate the complex expression .Please "
       "check your input and report to "},
      {{"complex"}, 2, "", "calvoro-cli: complex takes one EXPRESSION" + kHint},
      {{"complex", "A", "B"}, 2, "", "calvoro-cli: complex takes one EXPRESSION" + kHint},
      {{"complex", "--A", "3", "A"},
       2,
       "",
       "calvoro-cli: --A takes RE,IM (two decimal numbers), not '3'" + kHint},
      {{"complex", "--F", "1,1", "A"},
       2,
       "",
       "calvoro-cli: unknown option '--F'; did you mean '--A'?" + kHint},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(testing_cli::RanAs(RunCli(c.args), c)) << c.args.back();
  }
}

}  // namespace
