// The settings dialog's logic.
#include "app/settings_dialog.h"

#include <gtest/gtest.h>

#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

using testing::RecordingSink;

TEST(SettingsDialogTest, FiguresPerBase) {
  const long long cases[][5] = {{10, 40, 13, 10, 10},
                                {1, 4, 1, 1, 1},
                                {0, 0, 0, 0, 0},
                                {2, 8, 2, 2, 2},
                                {1000000, 4000000, 1333333, 1000000, 1000000}};
  for (const auto& c : cases) {
    EXPECT_EQ(FiguresOfPrecision(c[0]), (PrecisionFigures{c[1], c[2], c[3], c[4]})) << c[0];
  }
}

TEST(SettingsDialogTest, ReadBoundedInteger) {
  struct Case {
    const char* text;
    IntegerRead read;
    int value;
  };
  const Case cases[] = {
      {"12", IntegerRead::Ok, 12},
      {" 7 ", IntegerRead::Ok, 7},
      {"0", IntegerRead::Ok, 0},
      {"1000", IntegerRead::Ok, 1000},  // the bound itself
      {"1001", IntegerRead::OutOfRange, -1},
      {"99999999999999999999999", IntegerRead::OutOfRange, -1},
      {"", IntegerRead::NotInteger, -1},
      {"  ", IntegerRead::NotInteger, -1},
      {"-1", IntegerRead::NotInteger, -1},
      {"+5", IntegerRead::NotInteger, -1},
      {"1a", IntegerRead::NotInteger, -1},
      {"2.5", IntegerRead::NotInteger, -1},
      {"99999999999x", IntegerRead::NotInteger, -1},
  };
  for (const auto& c : cases) {
    int value = -1;
    EXPECT_EQ(ReadBoundedInteger(c.text, 1000, value), c.read) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
  }
}

TEST(SettingsDialogTest, PrecisionGoesIntoTheRecordAtOnce) {
  CSysData record;
  RecordingSink sink;
  SettingsDialog dialog(SettingsOf(record), record, sink);
  EXPECT_EQ(dialog.precisionText(), "10");
  EXPECT_EQ(dialog.figures(), (PrecisionFigures{40, 13, 10, 10}));

  EXPECT_TRUE(dialog.PrecisionChanged("25"));
  EXPECT_EQ(record.precision, 25);
  EXPECT_EQ(dialog.figures(), (PrecisionFigures{100, 33, 25, 25}));
  EXPECT_TRUE(sink.empty());

  struct Refusal {
    const char* text;
    std::string_view message;
  };
  const Refusal refusals[] = {
      {"2a", kNotPositiveInteger}, {"", kNotPositiveInteger}, {"1000001", kPrecisionRange}};
  for (const auto& r : refusals) {
    sink.messages.clear();
    EXPECT_FALSE(dialog.PrecisionChanged(r.text));
    ASSERT_EQ(sink.messages.size(), 1u) << r.text;
    EXPECT_EQ(sink.messages[0].text, r.message);
    EXPECT_EQ(sink.messages[0].caption, kCaptionCalvoro);
    EXPECT_EQ(dialog.focus(), SettingsDialog::Field::Precision);
    EXPECT_EQ(record.precision, 25);
  }

  // Cancel: the threshold stays, the precision edited before stays too.
  dialog.PrecisionChanged("30");
  dialog.ThresholdChanged("7");
  EXPECT_EQ(record.precision, 30);
  EXPECT_EQ(record.exponentThreshold, 100);
}

TEST(SettingsDialogTest, OkReadsBothEdits) {
  CSysData record;
  RecordingSink sink;
  SettingsDialog dialog(SettingsOf(record), record, sink);
  dialog.ThresholdChanged("x");
  EXPECT_FALSE(dialog.Ok());
  EXPECT_EQ(dialog.focus(), SettingsDialog::Field::ExponentThreshold);
  dialog.ThresholdChanged("1000000001");
  EXPECT_FALSE(dialog.Ok());
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[0].text, kNotPositiveInteger);
  EXPECT_EQ(sink.messages[1].text, kThresholdRange);

  dialog.ThresholdChanged("1000000000");
  dialog.SelectDegree();
  dialog.SetMinimizeToTray(false);
  dialog.SetAddSingleConversionToHistory(true);
  ASSERT_TRUE(dialog.Ok());
  EXPECT_EQ(dialog.focus(), SettingsDialog::Field::None);
  StoreSettings(dialog.values(), record);
  EXPECT_FALSE(record.angleRadian);
  EXPECT_EQ(record.minimizeToTray, 0);
  EXPECT_EQ(record.addSingleConversionToHistory, 1);
  EXPECT_EQ(record.exponentThreshold, 1000000000);
  EXPECT_EQ(SettingsOf(record), dialog.values());
}

}  // namespace
}  // namespace calvoro
