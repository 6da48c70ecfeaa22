// calvoro-cli run as a program: standard output, standard error and the exit
// status for arguments and for standard input.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/cli/run_cli.h"

namespace {

using testing_cli::CliRun;
using testing_cli::RunCli;

struct CliCase {
  std::vector<std::string> args;
  std::string input;  // standard input
  int status;
  std::string out;
  std::string err;
};

TEST(CliTest, ContractOfOutputsAndExitStatus) {
  const CliCase cases[] = {
      // The display of the input field, the result only, the step text.
      {{"2*(3+4)"}, "", 0, "2*(3+4)=14\n", ""},
      {{"--result", "2(3+4)"}, "", 0, "14\n", ""},
      {{"--steps", "1+2*3"}, "", 0, "1+2*3\n=1+2*3\n=1+6\n=7\n", ""},
      {{"fac(25)"}, "", 0, "fac(25)=15511210043330985984000000\n", ""},
      {{"--precision", "4", "1/3"}, "", 0, "1/3=0.3333\n", ""},
      // Equations and assignments.
      {{"2x+3=7"}, "", 0, "2*x+3-(7)=0 => X=2\n", ""},
      {{"--result", "2x+3=7"}, "", 0, "2\n", ""},
      {{"--steps", "2x+3=7"}, "", 0, "2*x+3-(7)=0\nX=-(-4)/(2)\nX=2\n", ""},
      {{"(m)=2+3", "--result", "m*2"}, "", 0, "5\n10\n", ""},
      {{"(k)=2^10", "k"},
       "",
       0,
       "(k)=2^10  Set the user parameter K successfully.\n1024=1024\n",
       ""},
      // Memories carry from one input to the next.
      {{"--result", "1+1", "2+2", "3+3", "last1+last2*10+last3*100"}, "", 0, "2\n4\n6\n246\n", ""},
      {{"--base", "bin", "--result", "101+1", "--", "last1"}, "", 0, "110\n110\n", ""},
      // Bases and Mix.
      {{"--base", "hex", "FF+1"}, "", 0, "ff+1=100\n", ""},
      {{"--base", "mix", "0b101+0h1F"}, "", 0, "5+1F=0h24\n", ""},
      {{"--base", "mix", "--result", "0b1+012+9"}, "", 0, "20\n", ""},
      // Degree mode.
      {{"--degree", "--result", "arcsin(1)"}, "", 0, "90\n", ""},
      // Exponent notation.
      {{"--precision", "5", "--threshold", "5", "--result", "123456789*10"},
       "",
       0,
       "1.23456E+9\n",
       ""},
      // Failures: nothing on standard output, the message on standard error.
      {{"5/0", "2+2"},
       "",
       1,
       "2+2=4\n",
       "Calvoro Warning Message: The denominator cannot be zero.\n"},
      {{""}, "", 1, "", "Calvoro Message: Please input the expression first.\n"},
      {{"5+*3"},
       "",
       1,
       "",
       "5+*3\nThe char [position:2] just before operator * cannot be acceptted\nThe char "
       "[position:2] should be one of the chars:),(,0-9,X,M,F,K,W.Or the last char of the "
       "following words:Pi,Last1,Last2,Last3,Last4,Last5.\n"},
      {{"x+1"},
       "",
       1,
       "",
       "x+1\nCannot find the operator = in the equation.\nPlease input = in the "
       "equation.After finishing your input, please press the ENTER key or click Calc button\n"},
      // Blanks (spaces and tabs) are ignored, as the window's field never lets
      // them in; the display shows the input without them.
      {{"3 + 4", "\t2 *\t( 3 + 4 )"}, "", 0, "3+4=7\n2*(3+4)=14\n", ""},
      {{"(m) = 2 + 3", "2 x + 1 = 7"},
       "",
       0,
       "(m)=2+3  Set the user parameter M successfully.\n2*x+1-(7)=0 => X=3\n",
       ""},
      {{"--result"}, " 1 + 1 \n\t\nlast1 * 3\n", 0, "2\n6\n", ""},
      {{"complex", "--A", "1,1", "2 A + 1"}, "", 0, "3+2j\n", ""},
      // --base all: Mix inputs, and each result in the four bases with their
      // heads, fractions and signs included, each line as a calculation in
      // that base prints it (1/3 right to its last hexadecimal digit, not
      // converted from ten decimals; rounded up where that base rounds up);
      // beyond 100 bits too.
      {{"--base", "all", "255.5+0h10"},
       "",
       0,
       "255.5+16=271.5\nBin: 0b100001111.1\nOct: 0417.4\nDec: 271.5\nHex: 0h10F.8\n",
       ""},
      {{"--base", "all", "--result", "-0b101.01*3", "1/3", "2^100"},
       "",
       0,
       "Bin: -0b1111.11\nOct: -017.6\nDec: -15.75\nHex: -0hF.C\n"
       "Bin: 0b0.0101010101010101010101010101010101010101\nOct: 00.2525252525253\n"
       "Dec: 0.3333333333\nHex: 0h0.5555555555\n"
       "Bin: 0b1" +
           std::string(100, '0') + "\nOct: 02" + std::string(33, '0') +
           "\nDec: 1267650600228229401496703205376\nHex: 0h1" + std::string(25, '0') + "\n",
       ""},
      {{"--base", "all", "--result", "sqrt(2)", "0b1/0b11", "(m)=0.5"},
       "",
       0,
       "Bin: 0b1.01101010000010011110011001100111111101\nOct: 01.3240474631772\n"
       "Dec: 1.4142135624\nHex: 0h1.6A09E667F4\n"
       "Bin: 0b0.0101010101010101010101010101010101010101\nOct: 00.2525252525253\n"
       "Dec: 0.3333333333\nHex: 0h0.5555555555\n"
       "Bin: 0b0.1\nOct: 00.4\nDec: 0.5\nHex: 0h0.8\n",
       ""},
      {{"--base", "all", "--result", "--precision", "30", "exp(1)"},
       "",
       0,
       "Bin: 0b10.1011011111100001010100010110001010001010111011010010101001101010101111110111"
       "000101011000100000001001110011110100111101\n"
       "Oct: 02.5576052130505355124652773425420047172364\n"
       "Dec: 2.718281828459045235360287471353\nHex: 0h2.B7E151628AED2A6ABF7158809CF4F4\n",
       ""},
      // Standard input: one input per line, blank lines skipped, CRLF accepted.
      {{"--result"},
       "1+1\n\nlast1*3\r\n5/0\n",
       1,
       "2\n6\n",
       "Calvoro Warning Message: The denominator cannot be zero.\n"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.args, c.input);
    std::string where;
    for (const auto& arg : c.args) where += arg + " ";
    EXPECT_EQ(run.status, c.status) << where;
    EXPECT_EQ(run.out, c.out) << where;
    EXPECT_EQ(run.err, c.err) << where;
  }
}

TEST(CliTest, UsageErrorsExitWithTwo) {
  const std::vector<std::vector<std::string>> cases = {
      {"--base", "ten", "1+1"},
      {"--precision", "-1", "1+1"},
      {"--precision", "1000001"},
      {"--threshold", "x"},
      {"--bogus"},
      {"--base"},
  };
  for (const auto& args : cases) EXPECT_TRUE(testing_cli::IsUsageError(RunCli(args))) << args[0];
}

}  // namespace
