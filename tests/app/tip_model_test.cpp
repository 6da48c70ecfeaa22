// Tips of the day.
#include "app/tip_model.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "engine/expression_text.h"

namespace calvoro {
namespace {

TEST(TipTextTest, ThirtyTexts) {
  std::set<std::string_view> distinct;
  for (int i = 0; i < kTipCount; ++i) {
    EXPECT_FALSE(TipText(i).empty()) << i;
    distinct.insert(TipText(i));
  }
  EXPECT_EQ(distinct.size(), 30u);
  EXPECT_EQ(TipText(-1), "");
  EXPECT_EQ(TipText(30), "");

  EXPECT_EQ(TipText(0),
            std::string("The value of Pi in this calculator is  \r\n") + std::string(kPiText));
  EXPECT_EQ(TipText(26),
            "With the geneal filter,Robot could only export the expression in the "
            "input text file to the new file.");
  EXPECT_EQ(TipText(29),
            "By setting the Exponent notation - absolute value of Most Significant Bit from the "
            "setting dialog, you could indict when to display the float number with the exponent "
            "format.e.g: 1.32325E+8");
}

TEST(TipModelTest, OpenBrowseAndClose) {
  CSysData record;
  record.tipIndex = 29;
  int saves = 0;
  TipModel tip(record, [&] { ++saves; });
  EXPECT_TRUE(record.tipOpen);
  EXPECT_TRUE(tip.showAtStart());
  tip.Next();
  EXPECT_EQ(tip.text(), TipText(0));
  tip.Previous();
  tip.Previous();
  EXPECT_EQ(tip.index(), 28);
  EXPECT_EQ(saves, 0);  // browsing changes the record in memory only

  tip.SetShowAtStart(false);
  tip.Close();
  tip.Close();
  EXPECT_FALSE(record.showTips);
  EXPECT_EQ(record.tipIndex, 29);  // the next start shows the following tip
  EXPECT_FALSE(record.tipOpen);
  EXPECT_EQ(saves, 1);
}

TEST(TipModelTest, DamagedIndexAndTornDownDialog) {
  CSysData record;
  record.tipIndex = 47;
  {
    TipModel tip(record, nullptr);
    EXPECT_EQ(tip.text(), TipText(0));
  }
  // Gone without Close: the window works again, the cycle stays.
  EXPECT_FALSE(record.tipOpen);
  EXPECT_EQ(record.tipIndex, 0);
}

}  // namespace
}  // namespace calvoro
