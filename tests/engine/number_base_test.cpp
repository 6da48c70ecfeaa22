#include "engine/number_base.h"

#include <gtest/gtest.h>

#include <string>

namespace calvoro {
namespace {

TEST(IsDigitOfBase, FollowsTheDigitSets) {
  const std::tuple<int, std::string, std::string> cases[] = {
      // base, accepted, refused
      {kBaseBinary, "01.", "2bh-"}, {kBaseOctal, "07.", "89a"},      {kBaseDecimal, "09.", "aE-"},
      {kBaseHex, "09afAF.", "gh"},  {kBaseMix, "09afAFhH.", "gx-("},
  };
  for (const auto& [base, accepted, refused] : cases) {
    for (char c : accepted) EXPECT_TRUE(IsDigitOfBase(base, c)) << base << " " << c;
    for (char c : refused) EXPECT_FALSE(IsDigitOfBase(base, c)) << base << " " << c;
  }
}

TEST(BaseOfNumberText, ReadsTheHead) {
  const std::pair<std::string, int> cases[] = {
      {"017", 8}, {"0.5", 10}, {"0B101", 2}, {"0h1F", 16}, {"0H1f", 16},
      {"7", 10},  {"0", 10},   {"00.5", 8},  {"", 10},     {"10b1", 10},
  };
  for (const auto& [text, base] : cases) EXPECT_EQ(BaseOfNumberText(text), base) << text;
}

TEST(IsNumberOfBase, NeedsOneDigitAndAtMostOnePoint) {
  const std::tuple<int, std::string, bool> cases[] = {
      {kBaseDecimal, "-12.5", true}, {kBaseDecimal, "+.5", true},    {kBaseDecimal, "5.", true},
      {kBaseDecimal, "(-3)", true},  {kBaseDecimal, "1.2.3", false}, {kBaseDecimal, ".", false},
      {kBaseDecimal, "-.", false},   {kBaseDecimal, "", false},      {kBaseDecimal, "()", false},
      {kBaseDecimal, "--3", false},  {kBaseDecimal, "((3))", false}, {kBaseDecimal, "(3", false},
      {kBaseDecimal, "1e5", false},  {kBaseBinary, "102", false},    {kBaseOctal, "(-17.4)", true},
      {kBaseHex, "-1f.A", true},     {kBaseHex, "1G", false},
  };
  for (const auto& [base, text, valid] : cases) {
    EXPECT_EQ(IsNumberOfBase(base, text), valid) << base << " \"" << text << '"';
  }
}

}  // namespace
}  // namespace calvoro
