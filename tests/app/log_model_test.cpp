// The log manager's table and commands on a record.
#include "app/log_model.h"

#include <gtest/gtest.h>

#include "tests/support/recording_sink.h"

namespace calvoro {
namespace {

using testing::RecordingSink;

TEST(LogModelTest, LinesSplitIntoTimeAndExpression) {
  const struct {
    const char* line;
    const char* time;
    const char* expression;
  } cases[] = {
      {"2026-12-06 20:55   Dec:1+2=3", "2026-12-06 20:55", "Dec:1+2=3"},
      // The solver's line keeps its blanks in the expression column.
      {"2026-12-06 20:05   2x+3=7 =>  X=2", "2026-12-06 20:05", "2x+3=7 =>  X=2"},
      {"old line", "old", "line"},
      {"nospace", "", "nospace"},
      {"", "", ""},
  };
  for (const auto& c : cases) {
    const LogRow row = SplitLogLine(c.line);
    EXPECT_EQ(row.time, c.time) << c.line;
    EXPECT_EQ(row.expression, c.expression) << c.line;
  }
}

class LogModelCommands : public ::testing::Test {
 protected:
  LogModelCommands() {
    record.logLines = {"2026-01-01 00:01   Dec:1+1=2", "2026-01-01 00:02   Dec:2+2=4",
                       "2026-01-01 00:03   Dec:3+3=6"};
    model.Fill();
  }
  CSysData record;
  RecordingSink sink;
  int saves = 0;
  LogModel model{record, sink, [this] { ++saves; }};
};

TEST(LogModelTest, LongRowsShowTheirBeginningAndLength) {
  const std::string exact(kMaxShownInRow, '7');
  EXPECT_EQ(ShownInRow(exact), exact);
  const std::string million = "Dec:1/3=0." + std::string(1000000, '3');
  EXPECT_EQ(ShownInRow(million), million.substr(0, kMaxShownInRow) + "...[" +
                                     std::to_string(million.size()) + " characters]");
}

TEST_F(LogModelCommands, NewestFirstAndCopies) {
  ASSERT_EQ(model.rows().size(), 3u);
  EXPECT_EQ(model.rows()[0].expression, "Dec:3+3=6");
  EXPECT_EQ(model.CopySelected({2, 0}),
            "2026-01-01 00:03   Dec:3+3=6\n2026-01-01 00:01   Dec:1+1=2\n");
  EXPECT_EQ(sink.messages.back().text,
            "The selection has been copied into the clipboard successfully.");
  EXPECT_EQ(model.CopySelected({}), std::nullopt);
  EXPECT_EQ(sink.messages.back().text, "Please select first.Thank you.");
  EXPECT_EQ(sink.messages.back().caption, "Calvoro Message");
  EXPECT_EQ(model.CopyAll().size(), 3 * 29u);
  // The message that says so comes once the clipboard holds the text.
  std::size_t messagesWhenPut = 0;
  const auto put = [&](const std::string&) { messagesWhenPut = sink.messages.size(); };
  const std::size_t before = sink.messages.size();
  model.CopySelected({0}, put);
  EXPECT_EQ(messagesWhenPut, before);
  model.CopyAll(put);
  EXPECT_EQ(messagesWhenPut, before + 1);
}

TEST_F(LogModelCommands, RemoveSelectedTakesTheirLinesAndSaves) {
  model.RemoveSelected({0, 1});  // the two newest
  EXPECT_EQ(record.logLines, std::vector<std::string>{"2026-01-01 00:01   Dec:1+1=2"});
  ASSERT_EQ(model.rows().size(), 1u);
  EXPECT_EQ(model.rows()[0].expression, "Dec:1+1=2");
  EXPECT_EQ(saves, 1);
  model.RemoveSelected({5});  // no such row
  EXPECT_EQ(saves, 1);
}

TEST_F(LogModelCommands, ClearAsksFirst) {
  sink.answer = Answer::Cancel;
  model.Clear();
  EXPECT_EQ(record.logLines.size(), 3u);
  EXPECT_EQ(sink.messages.back().text, "Do you want to clear all the log information?.");
  sink.answer = Answer::Ok;
  model.Clear();
  EXPECT_TRUE(record.logLines.empty());
  EXPECT_TRUE(model.rows().empty());
  EXPECT_EQ(saves, 1);
  // An empty log: Copy All still succeeds with an empty text.
  EXPECT_EQ(model.CopyAll(), "");
  EXPECT_EQ(sink.messages.back().text,
            "The log information has been copied into the clipboard successfully.");
}

}  // namespace
}  // namespace calvoro
