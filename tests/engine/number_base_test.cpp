#include "engine/number_base.h"

#include <gtest/gtest.h>

#include <string>

namespace calvoro {
namespace {

TEST(IsDigitOfBase, FollowsTheDigitSets) {
  const std::tuple<NumberBase, std::string, std::string> cases[] = {
      // base, accepted, refused
      {NumberBase::Binary, "01.", "2bh-"},    {NumberBase::Octal, "07.", "89a"},
      {NumberBase::Decimal, "09.", "aE-"},    {NumberBase::Hex, "09afAF.", "gh"},
      {NumberBase::Mix, "09afAFhH.", "gx-("},
  };
  for (const auto& [base, accepted, refused] : cases) {
    for (char c : accepted) EXPECT_TRUE(IsDigitOfBase(base, c)) << RadixOf(base) << " " << c;
    for (char c : refused) EXPECT_FALSE(IsDigitOfBase(base, c)) << RadixOf(base) << " " << c;
  }
}

TEST(BaseOfNumberText, ReadsTheHead) {
  const std::pair<std::string, NumberBase> cases[] = {
      {"017", NumberBase::Octal},    {"0.5", NumberBase::Decimal}, {"0B101", NumberBase::Binary},
      {"0h1F", NumberBase::Hex},     {"0H1f", NumberBase::Hex},    {"7", NumberBase::Decimal},
      {"0", NumberBase::Decimal},    {"00.5", NumberBase::Octal},  {"", NumberBase::Decimal},
      {"10b1", NumberBase::Decimal},
  };
  for (const auto& [text, base] : cases) EXPECT_EQ(BaseOfNumberText(text), base) << text;
}

TEST(IsNumberOfBase, NeedsOneDigitAndAtMostOnePoint) {
  const std::tuple<NumberBase, std::string, bool> cases[] = {
      {NumberBase::Decimal, "-12.5", true},  {NumberBase::Decimal, "+.5", true},
      {NumberBase::Decimal, "5.", true},     {NumberBase::Decimal, "(-3)", true},
      {NumberBase::Decimal, "1.2.3", false}, {NumberBase::Decimal, ".", false},
      {NumberBase::Decimal, "-.", false},    {NumberBase::Decimal, "", false},
      {NumberBase::Decimal, "()", false},    {NumberBase::Decimal, "--3", false},
      {NumberBase::Decimal, "((3))", false}, {NumberBase::Decimal, "(3", false},
      {NumberBase::Decimal, "1e5", false},   {NumberBase::Binary, "102", false},
      {NumberBase::Octal, "(-17.4)", true},  {NumberBase::Hex, "-1f.A", true},
      {NumberBase::Hex, "1G", false},
  };
  for (const auto& [base, text, valid] : cases) {
    EXPECT_EQ(IsNumberOfBase(base, text), valid) << RadixOf(base) << " \"" << text << '"';
  }
}

}  // namespace
}  // namespace calvoro
