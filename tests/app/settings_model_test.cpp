// The settings dialog's logic.
#include "app/settings_model.h"

#include <gtest/gtest.h>

#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

using testing::RecordingSink;

TEST(SettingsModelTest, FiguresAndIntegerReading) {
  EXPECT_EQ(FiguresOfPrecision(1), (PrecisionFigures{4, 1, 1, 1}));
  EXPECT_EQ(FiguresOfPrecision(1000000), (PrecisionFigures{4000000, 1333333, 1000000, 1000000}));

  int value = -1;
  for (const char* text : {"", " ", "-1", "+5", "1a", "2.5", "99999999999x"}) {
    EXPECT_EQ(ReadBoundedInteger(text, 1000, value), IntegerRead::NotInteger) << text;
  }
  for (const char* text : {"1001", "99999999999999999999999"}) {
    EXPECT_EQ(ReadBoundedInteger(text, 1000, value), IntegerRead::OutOfRange) << text;
  }
  EXPECT_EQ(value, -1);
  for (const auto& [text, read] : {std::pair{" 7 ", 7}, {"0", 0}, {"1000", 1000}}) {
    EXPECT_EQ(ReadBoundedInteger(text, 1000, value), IntegerRead::Ok) << text;
    EXPECT_EQ(value, read);
  }
}

TEST(SettingsModelTest, EditsStayInTheDialogUntilOk) {
  RecordingSink sink;
  SettingsModel dialog(SettingsOf(CSysData{}), sink);
  EXPECT_EQ(dialog.precisionText(), "10");
  EXPECT_EQ(dialog.figures(), (PrecisionFigures{40, 13, 10, 10}));

  EXPECT_TRUE(dialog.PrecisionChanged("25"));
  EXPECT_EQ(dialog.figures(), (PrecisionFigures{100, 33, 25, 25}));
  EXPECT_TRUE(sink.empty());

  struct Refusal {
    const char* text;
    std::string_view message;
  };
  const Refusal refusals[] = {{"2a", "Please enter a positive integer."},
                              {"", "Please enter a positive integer."},
                              {"1000001", "Please enter a precision from 0 to 1000000."}};
  for (const auto& r : refusals) {
    sink.messages.clear();
    EXPECT_FALSE(dialog.PrecisionChanged(r.text));
    ASSERT_EQ(sink.messages.size(), 1u) << r.text;
    EXPECT_EQ(sink.messages[0].text, r.message);
    EXPECT_EQ(sink.messages[0].caption, kCaptionCalvoro);
    EXPECT_EQ(dialog.focus(), SettingsModel::Field::Precision);
    EXPECT_EQ(dialog.figures().decimal, 25);
  }

  // The edits reach the values only: the caller stores them after OK.
  dialog.PrecisionChanged("3");
  dialog.ThresholdChanged("7");
  ASSERT_TRUE(dialog.Ok());
  EXPECT_EQ(dialog.values().precision, 3);
  EXPECT_EQ(dialog.values().exponentThreshold, 7);
}

TEST(SettingsModelTest, OkReadsBothEdits) {
  CSysData record;
  RecordingSink sink;
  SettingsModel dialog(SettingsOf(record), sink);
  dialog.ThresholdChanged("x");
  EXPECT_FALSE(dialog.Ok());
  EXPECT_EQ(dialog.focus(), SettingsModel::Field::ExponentThreshold);
  dialog.ThresholdChanged("1000000001");
  EXPECT_FALSE(dialog.Ok());
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_EQ(sink.messages[0].text, "Please enter a positive integer.");
  EXPECT_EQ(sink.messages[1].text, "Please enter an exponent threshold from 0 to 1000000000.");

  dialog.ThresholdChanged("1000000000");
  dialog.SelectDegree();
  dialog.SetMinimizeToTray(false);
  dialog.SetAddSingleConversionToHistory(true);
  ASSERT_TRUE(dialog.Ok());
  EXPECT_EQ(dialog.focus(), SettingsModel::Field::None);
  StoreSettings(dialog.values(), record);
  EXPECT_FALSE(record.angleRadian);
  EXPECT_FALSE(record.minimizeToTray);
  EXPECT_TRUE(record.addSingleConversionToHistory);
  EXPECT_EQ(record.exponentThreshold, 1000000000);
  EXPECT_EQ(SettingsOf(record), dialog.values());
}

}  // namespace
}  // namespace calvoro
