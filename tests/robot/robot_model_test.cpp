// The robot window without widgets: opening, Browse, Select Dir, the checks
// of Calculate, Copy and Clear with their messages, the file filter.
#include "robot/robot_model.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/recording_sink.h"
#include "tests/support/test_folder.h"

namespace calvoro {
namespace {

using testing::RecordingSink;

class RobotModelTest : public ::testing::Test {
 protected:
  static CSysData Record() {
    CSysData record;
    record.precision = 7;
    record.exponentThreshold = 20;
    return record;
  }
  // The last message, as "caption: text".
  std::string Last() const {
    return sink.empty() ? "" : sink.messages.back().caption + ": " + sink.messages.back().text;
  }

  CSysData record = Record();
  RecordingSink sink;
  RobotModel model{record, sink};
};

TEST_F(RobotModelTest, OpensWithTheSettingsAndAddResults) {
  EXPECT_EQ(model.precisionText(), "7");
  EXPECT_EQ(model.thresholdText(), "20");
  EXPECT_TRUE(model.useExponent());
  EXPECT_EQ(model.action(), RobotAction::kAddResult);
  EXPECT_EQ(model.logText(), "Robot Log Information:\n");
  model.SelectAction(RobotAction::kDetailFilter);
  EXPECT_EQ(model.action(), RobotAction::kDetailFilter);
}

TEST_F(RobotModelTest, BrowseAndSelectDirSetTheDestination) {
  model.SetSourcePath(" ");
  EXPECT_FALSE(model.SelectDirAllowed());
  EXPECT_EQ(Last(),
            "Calvoro: " +
                std::string("Please select the source file first by clicking the browse button."));

  model.Browse("/data/a.b.txt");
  EXPECT_EQ(model.sourcePath(), "/data/a.b.txt");
  EXPECT_EQ(model.destinationPath(), "/data/a.b.rob");
  EXPECT_TRUE(model.SelectDirAllowed());
  model.SelectDirectory("/results");
  EXPECT_EQ(model.destinationPath(), "/results/a.b.rob");
  EXPECT_EQ(sink.messages.size(), 1u);
}

TEST_F(RobotModelTest, CalculateChecksThePrecisionAndThresholdFirst) {
  const struct {
    std::string precision;
    std::string threshold;
    RobotModel::Field focus;
    std::string message;
  } cases[] = {
      {"x", "5", RobotModel::Field::kPrecision, "Please enter a positive integer."},
      {"1000001", "5", RobotModel::Field::kPrecision,
       "Please enter a precision from 0 to 1000000."},
      {"5", "-1", RobotModel::Field::kThreshold, "Please enter a positive integer."},
      {"5", "1000000001", RobotModel::Field::kThreshold,
       "Please enter an exponent threshold from 0 to 1000000000."},
  };
  for (const auto& c : cases) {
    model.SetPrecisionText(c.precision);
    model.SetThresholdText(c.threshold);
    EXPECT_EQ(model.Calculate(), std::nullopt);
    EXPECT_EQ(model.focus(), c.focus);
    EXPECT_EQ(Last(), "Calvoro: " + c.message);
  }
  EXPECT_EQ(record.precision, 7);  // nothing written back
  model.SetPrecisionText(" 3 ");
  model.SetThresholdText("9");
  EXPECT_EQ(model.Calculate(), RobotRun::kNoSource);
  EXPECT_EQ(model.focus(), RobotModel::Field::kNone);
  EXPECT_EQ(Last(),
            "Calvoro: " +
                std::string("Please select the source file first by clicking the browse button."));
}

TEST_F(RobotModelTest, CalculateShowsTheDerivedDestinationAndTheLog) {
  const testing::TestFolder folder("robot_dialog");
  const std::string source = folder.Write("sum.txt", "1/3 and 2^10\n");
  model.SetSourcePath(source);
  model.SetPrecisionText("2");
  model.SetThresholdText("3");
  EXPECT_EQ(model.Calculate(), RobotRun::kDone);
  EXPECT_EQ(model.destinationPath(), folder.Path("sum.rob"));
  EXPECT_EQ(testing::ReadFile(model.destinationPath()), "1/3=0.33 and 2^10=1.02E+3\n\n");
  EXPECT_EQ(record.precision, 2);
  EXPECT_EQ(record.exponentThreshold, 3);
  EXPECT_TRUE(model.logText().ends_with(" 2^10=1.02E+3\n"));
  EXPECT_EQ(model.logText().find('\r'), std::string::npos);
}

TEST_F(RobotModelTest, CopyAndClear) {
  // The header alone is not empty: it is copied.
  EXPECT_EQ(model.Copy(), "Robot Log Information:\n");
  EXPECT_EQ(Last(), "Tivamosa: the log  information has been copied to the clipboard.");
  model.Clear();
  EXPECT_EQ(model.Copy(), "Robot Log Information:\n");
  EXPECT_EQ(sink.messages.size(), 2u);
}

TEST(RobotDialogTextTest, FileFilterForQt) {
  EXPECT_EQ(QtFileFilter(robot_text::kBrowseFilter),
            "Text (*.txt);;*.xml (*.htm);;*.cpp (*.h);;All Files (*.*)");
  EXPECT_EQ(QtFileFilter(""), "");
  EXPECT_EQ(ProgressText(3, 10), "3 of 10 lines");
}

}  // namespace
}  // namespace calvoro
