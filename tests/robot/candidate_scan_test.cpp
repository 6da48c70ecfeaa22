// Finding expressions in running text, the checks before calculating, and
// the shortening after a failed calculation.
#include "robot/candidate_scan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/expression_text.h"

namespace calvoro {
namespace {

std::vector<std::string> Candidates(std::string_view line) {
  const std::string lower = ToLowerAscii(line);
  std::vector<std::string> found;
  for (std::size_t pos = 0; const auto candidate = FindCandidate(lower, pos);) {
    found.emplace_back(line.substr(candidate->pos, candidate->length));
    pos = candidate->pos + candidate->length;
  }
  return found;
}

TEST(CandidateScanTest, FindsTheExpressionsOfALine) {
  const struct {
    std::string line;
    std::vector<std::string> candidates;
  } cases[] = {
      {"Total 12+30 apples", {"12+30"}},
      {"2024", {"2024"}},
      {"no numbers here", {}},
      // Function names start a candidate only before "(", in either case.
      {"take SIN(30)+1 now", {"SIN(30)+1"}},
      {"arcsin(0.5) and cos 3", {"arcsin(0.5)", "3"}},
      {"basic sine", {}},
      // Letters of function names go on with the candidate, others end it.
      {"12+30apples", {"12+30apples"}},
      {"3*4kg", {"3*4"}},
      // Open brackets before the start are taken in; a ")" that closes none
      // of the candidate's brackets is not.
      {"((2+3)*4)", {"((2+3)*4)"}},
      {"(see 2+3)", {"2+3"}},
      // A sign or point before the start is taken in (and refused later).
      {"balance -5+3", {"-5+3"}},
      {"v.2+3", {".2+3"}},
      // A full stop ends it; a decimal point does not.
      {"is 2+3.", {"2+3"}},
      {"is 2.5*2.", {"2.5*2"}},
      {"1.2.3", {"1.2.3"}},
      {"a 1+1 b 2*2 c", {"1+1", "2*2"}},
  };
  for (const auto& c : cases) EXPECT_EQ(Candidates(c.line), c.candidates) << c.line;
}

TEST(CandidateScanTest, CalculatesOnlyWhatCanBeAnExpression) {
  const struct {
    std::string_view candidate;
    bool calculable;
  } cases[] = {
      {"12+30", true},  {"sin(30)", true}, {"(2+3)", true}, {"2024", false},       {"3.14", false},
      {"1.2.3", false}, {"(2024)", false}, {"2(3)", false}, {".5+1", false},       {")+1", false},
      {"-5+3", false},  {"+5", false},     {"*2", false},   {"/2", false},         {"^2", false},
      {"2+-3", false},  {"2**3", false},   {"2^-1", false}, {"12+30apples", true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsCalculable(c.candidate), c.calculable) << c.candidate;
  EXPECT_TRUE(IsCalculable("1+" + std::string(kMaxCandidateLength - 2, '1')));
  EXPECT_FALSE(IsCalculable("1+" + std::string(kMaxCandidateLength - 1, '1')));
}

TEST(CandidateScanTest, ShortensFromTheRight) {
  const struct {
    std::string_view expression;
    std::vector<std::string_view> steps;  // each shortening until nothing is left
  } cases[] = {
      {"2+3*", {"2+3", "2", ""}},
      {"2+3*4/0", {"2+3*4", "2+3", "2", ""}},
      {"(2+3)*(4/0)", {"(2+3)*(4/0", "(2+3)*(4", "(2+3)", "(2+3", "(2", ""}},
      {"12+30apples", {"12+30", "12", ""}},
      {"sin(", {"sin", ""}},
      {"1.5-", {"1.5", ""}},
  };
  for (const auto& c : cases) {
    std::vector<std::string_view> steps;
    for (std::string_view text = c.expression; !text.empty();) {
      text = ShortenExpression(text);
      steps.push_back(text);
    }
    EXPECT_EQ(steps, c.steps) << c.expression;
  }
}

}  // namespace
}  // namespace calvoro
