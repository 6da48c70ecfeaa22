// The file robot on real files: the five actions, the result file's lines
// and line breaks, the log, shortening, the refusals, cancelling, the
// settings written back, and lines and files too long to hold.
#include "robot/file_robot.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "robot/line_pieces.h"
#include "tests/support/fixed_clock.h"
#include "tests/support/recording_sink.h"
#include "tests/support/test_folder.h"

namespace calvoro {
namespace {

namespace fs = std::filesystem;
using testing::RecordingSink;

class FileRobotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    robot.set_clock([] { return testing::FixedTime(2024, 3, 5, 9, 7); });
  }

  std::string Path(std::string_view name) const { return folder_.Path(name); }
  std::string Write(std::string_view name, std::string_view bytes) const {
    return folder_.Write(name, bytes);
  }
  static std::string Read(const std::string& path) { return testing::ReadFile(path); }
  // The result file of `source_bytes` under `action`.
  std::string Result(std::string_view source_bytes, RobotAction action) {
    robot.action = action;
    const std::string source = Write("in.txt", source_bytes);
    EXPECT_EQ(robot.Run(source, ""), RobotRun::kDone);
    return Read(Path("in.rob"));
  }

  testing::TestFolder folder_{"robot"};
  CSysData record;
  RecordingSink sink;
  FileRobot robot{record, sink};
};

TEST_F(FileRobotTest, EachActionWritesItsTextForAnExpression) {
  const struct {
    RobotAction action;
    std::string result;
  } cases[] = {
      {RobotAction::kAddResult, "Total 12+30=42 apples\n\n"},
      {RobotAction::kReplaceResult, "Total 42 apples\n\n"},
      {RobotAction::kAddSteps, "Total 12+30\n=12+30\n=42\n apples\n\n"},
      {RobotAction::kGeneralFilter, "12+30=42\n\n"},
      {RobotAction::kDetailFilter, "12+30\n=12+30\n=42\n\n"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Result("Total 12+30 apples\n", c.action), c.result) << ActionName(c.action);
    EXPECT_EQ(robot.entries(), std::vector<std::string>{"12+30=42"});
  }
  EXPECT_TRUE(sink.empty());
}

TEST_F(FileRobotTest, AFileMixingTextFunctionsAndRefusals) {
  const std::string source =
      "Invoice 2024\n"
      "sum: 3*(4+5) eur, SIN(0)+1 and -5+3\n"
      "bad: 4/0 and 2+3* and 1.2.3 and 12+30apples\n";
  EXPECT_EQ(Result(source, RobotAction::kAddResult),
            "Invoice 2024\n"
            "sum: 3*(4+5)=27 eur, SIN(0)+1=1 and -5+3\n"
            "bad: 4/0 and 2+3=5* and 1.2.3 and 12+30=42apples\n\n");
  EXPECT_EQ(Result(source, RobotAction::kGeneralFilter),
            "\n3*(4+5)=27 SIN(0)+1=1\n2+3=5 12+30=42\n\n");
  EXPECT_EQ(robot.entries(),
            (std::vector<std::string>{"3*(4+5)=27", "SIN(0)+1=1", "2+3=5", "12+30=42"}));
  // The engine's messages stand in the log instead of opening boxes.
  EXPECT_TRUE(sink.empty());
  EXPECT_NE(robot.log().find("\r\nThe denominator cannot be zero.\r\n"), std::string::npos);
  EXPECT_NE(robot.log().find("\r\n2024-03-05 09:07 2+3=5\r\n"), std::string::npos);
}

TEST_F(FileRobotTest, RetriesAfterShorteningReportIntoTheLog) {
  EXPECT_EQ(Result("x 2^sqrt(4)*cos( y\n", RobotAction::kAddResult), "x 2^sqrt(4)=4*cos( y\n\n");
  EXPECT_EQ(robot.log(),
            "Robot Log Information:\r\n"
            "The number of ) is not equal with the number of ( .\r\n"
            "2^sqrt(4)*cos: The functiona name must be followed by (\r\n"
            "2024-03-05 09:07 2^sqrt(4)=4\r\n");
  EXPECT_TRUE(sink.empty());
}

TEST_F(FileRobotTest, TheLogListsEveryCalculationWithItsTime) {
  Result("1+1\n2*3\n", RobotAction::kAddResult);
  EXPECT_EQ(robot.log(),
            "Robot Log Information:\r\n"
            "2024-03-05 09:07 1+1=2\r\n"
            "2024-03-05 09:07 2*3=6\r\n");
  Result("5-1\n", RobotAction::kAddResult);
  EXPECT_EQ(robot.entries(), std::vector<std::string>{"5-1=4"});  // emptied for each run
  EXPECT_TRUE(robot.log().ends_with("09:07 2*3=6\r\n2024-03-05 09:07 5-1=4\r\n"));
  robot.ClearLog();
  EXPECT_EQ(robot.log(), kRobotLogHeader);
}

TEST_F(FileRobotTest, ResultHasOneLineBreakMoreThanTheSourceHasLines) {
  const struct {
    std::string source;
    std::string result;
  } cases[] = {
      {"a\nb\nc\n", "a\nb\nc\n\n"},
      {"a\nb\nc", "a\nb\nc\n\n"},
      {"a\r\nb\r\n1+2\r\n", "a\r\nb\r\n1+2=3\r\n\r\n"},
      {"", "\n"},
      {"\n", "\n\n"},
      // A lone "\r" inside a line is no line break.
      {"a\rb\n", "a\rb\n\n"},
      // Every line keeps its own break; a last line without one takes the
      // one before it.
      {"a\r\nb\n1+2\r\nc", "a\r\nb\n1+2=3\r\nc\r\n\r\n"},
      {"1+1\n2+2\r\n", "1+1=2\n2+2=4\r\n\r\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(Result(c.source, RobotAction::kAddResult), c.result);
}

TEST_F(FileRobotTest, StepTextsTakeTheLineBreaksOfTheSource) {
  EXPECT_EQ(Result("x 1+2 y\r\nz\r\n", RobotAction::kAddSteps),
            "x 1+2\r\n=1+2\r\n=3\r\n y\r\nz\r\n\r\n");
  EXPECT_EQ(Result("x 1+2 y\nz\n", RobotAction::kAddSteps), "x 1+2\n=1+2\n=3\n y\nz\n\n");
  EXPECT_EQ(Result("1+1 2+2\n", RobotAction::kDetailFilter), "1+1\n=1+1\n=2\n2+2\n=2+2\n=4\n\n");
  EXPECT_EQ(Result("x 1+2 y\nz\r\n", RobotAction::kAddSteps), "x 1+2\n=1+2\n=3\n y\nz\r\n\r\n");
}

TEST_F(FileRobotTest, ResultsTakeTheRobotsPrecisionThresholdAndExponentFlag) {
  const struct {
    bool useExponent;
    int precision;
    int threshold;
    std::string result;
    std::string steps;
  } cases[] = {
      {true, 10, 100, "1/3=0.3333333333\n\n", "1/3\n=1/3\n=0.3333333333\n\n"},
      {true, 3, 100, "1/3=0.333\n\n", "1/3\n=1/3\n=0.333\n\n"},
      {true, 5, 5, "123456789*10=1.23456E+9\n\n",
       "123456789*10\n=123456789*10\n=1234567890\n=1.23456E+9\n\n"},
      // Without the flag no result is in exponent form, whatever the threshold.
      {false, 5, 5, "123456789*10=1234567890\n\n", "123456789*10\n=123456789*10\n=1234567890\n\n"},
  };
  for (const auto& c : cases) {
    robot.useExponent = c.useExponent;
    robot.precision = c.precision;
    robot.exponentThreshold = c.threshold;
    const std::string expression = c.result.substr(0, c.result.find('='));
    EXPECT_EQ(Result(expression, RobotAction::kAddResult), c.result);
    EXPECT_EQ(Result(expression, RobotAction::kDetailFilter), c.steps);
    // The run leaves its figures in the settings record.
    EXPECT_EQ(record.precision, c.precision);
    EXPECT_EQ(record.exponentThreshold, c.threshold);
  }
}

TEST_F(FileRobotTest, MemoriesAreZero) {
  EXPECT_EQ(Result("2+last1 2*last5+1\n", RobotAction::kReplaceResult), "2 1\n\n");
}

TEST_F(FileRobotTest, RefusalsTouchNoFile) {
  const std::string source = Write("src.txt", "1+1\n");
  const struct {
    std::string source;
    std::string destination;
    RobotRun run;
    std::string message;
  } cases[] = {
      {"  ", "", RobotRun::kNoSource, std::string(kNoSourceText)},
      {Path("none.txt"), "", RobotRun::kUnreadable,
       std::string(kReadFailedText) + Path("none.txt")},
      {Path(""), "", RobotRun::kUnreadable, std::string(kReadFailedText) + Path("")},
      {source, Path("no/such/dir/x.rob"), RobotRun::kUnwritable,
       std::string(kWriteFailedText) + Path("no/such/dir/x.rob")},
      {source, " " + source + " ", RobotRun::kSameFile, std::string(kSameFileText) + source},
      {source, Path("./src.txt"), RobotRun::kSameFile,
       std::string(kSameFileText) + Path("./src.txt")},
  };
  for (const auto& c : cases) {
    sink.messages.clear();
    EXPECT_EQ(robot.Run(c.source, c.destination), c.run) << c.source;
    ASSERT_EQ(sink.messages.size(), 1u);
    EXPECT_EQ(sink.messages[0].text, c.message);
    EXPECT_EQ(sink.messages[0].caption, kCaptionCalvoro);
  }
  EXPECT_EQ(Read(source), "1+1\n");
  std::vector<std::string> files;
  for (const auto& entry : fs::directory_iterator(folder_.path()))
    files.push_back(entry.path().filename());
  EXPECT_EQ(files, std::vector<std::string>{"src.txt"});
}

class CancelAfter : public RobotProgress {
 public:
  explicit CancelAfter(std::uint64_t lines) : lines_(lines) {}
  bool Progress(std::uint64_t done, std::uint64_t total) override {
    calls.emplace_back(done, total);
    return done < lines_;
  }
  std::vector<std::pair<std::uint64_t, std::uint64_t>> calls;

 private:
  std::uint64_t lines_;
};

TEST_F(FileRobotTest, ProgressCountsLinesAndCancellingLeavesNoDestination) {
  const std::string source = Write("big.txt", "1+1\n2+2\n3+3");
  CancelAfter all(10);
  EXPECT_EQ(robot.Run(source, "", &all), RobotRun::kDone);
  EXPECT_EQ(all.calls,
            (std::vector<std::pair<std::uint64_t, std::uint64_t>>{{1, 3}, {2, 3}, {3, 3}}));

  Write("big.rob", "old result");
  CancelAfter two(2);
  EXPECT_EQ(robot.Run(source, "", &two), RobotRun::kCancelled);
  EXPECT_EQ(two.calls.size(), 2u);
  EXPECT_EQ(Read(Path("big.rob")), "old result");
  EXPECT_FALSE(fs::exists(Path("big.rob.part")));
}

// Sets the stop flag after the given line, or from another thread after a
// moment when `lines` is 0.
class StopAfter : public RobotProgress {
 public:
  StopAfter(StopFlag& flag, std::uint64_t lines) : flag_(flag), lines_(lines) {}
  bool Progress(std::uint64_t done, std::uint64_t) override {
    if (done == lines_) flag_.Request();
    return true;
  }

 private:
  StopFlag& flag_;
  std::uint64_t lines_;
};

TEST_F(FileRobotTest, AStoppedRunWritesNoResultAndStoresNothing) {
  const struct {
    const char* when;
    std::string source;
    int precision;
    std::uint64_t stopAfterLine;
  } cases[] = {
      {"within a long calculation", "sin(1)+sin(2)\nsin(3)+sin(4)\n", 300000, 0},
      {"between lines", "1+1\n2+2\n3+3\n", 10, 2},
  };
  for (const auto& c : cases) {
    StopFlag stop;
    robot.set_stop_flag(&stop);
    robot.ClearLog();
    robot.precision = c.precision;
    const int stored_precision = record.precision = 20;
    const std::string source = Write("stop.txt", c.source);
    Write("stop.rob", "old result");
    StopAfter progress(stop, c.stopAfterLine);
    auto run = std::async(std::launch::async, [&] { return robot.Run(source, "", &progress); });
    if (c.stopAfterLine == 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      stop.Request();
    }
    ASSERT_EQ(run.wait_for(std::chrono::seconds(60)), std::future_status::ready) << c.when;
    EXPECT_EQ(run.get(), RobotRun::kStopped) << c.when;
    EXPECT_EQ(Read(Path("stop.rob")), "old result") << c.when;
    EXPECT_EQ(record.precision, stored_precision) << c.when;
    EXPECT_TRUE(robot.log().ends_with("\r\n" + std::string(kStoppedText) + "\r\n")) << c.when;
    EXPECT_EQ(std::distance(fs::directory_iterator(Path("")), fs::directory_iterator()), 2)
        << c.when;
  }
}

TEST_F(FileRobotTest, ABinaryFileAndHugeLinesPassThrough) {
  // Every byte value in turn holds no expression: all bytes come back, the
  // last line (no break of its own) with a break, and the extra one.
  std::string binary;
  for (int i = 0; i < 2000 * 256; ++i) binary += static_cast<char>(i % 256);
  EXPECT_TRUE(Result(binary, RobotAction::kReplaceResult) == binary + "\n\n");
  // A run of expression characters beyond the bound is copied unchanged,
  // while the expressions around it are still calculated.
  const std::string long_run = std::string(3 * kMaxCandidateLength, '1') + "+1";
  const std::string line = "1+1 " + long_run + " 2*3 " + std::string(2 << 20, 'z') + " 4-1";
  EXPECT_EQ(Result(line + "\n", RobotAction::kReplaceResult),
            "2 " + long_run + " 6 " + std::string(2 << 20, 'z') + " 3\n\n");
}

TEST(LinePieceReaderTest, CutsLongLinesOnlyBetweenExpressions) {
  // Pieces of at least 12 bytes; runs of 10 expression characters pass through.
  std::istringstream in("ab 1+2 cd 3*4 ef\r\nx 123456789012345678901234 y 5+5\nlast");
  LinePieceReader reader(in, 4, 10);
  std::vector<std::string> pieces;
  for (LinePiece piece; reader.Next(piece);) {
    pieces.push_back((piece.passThrough ? "=" : "") + std::string(piece.text) +
                     (piece.lineEnds ? "|" : ""));
  }
  EXPECT_EQ(pieces, (std::vector<std::string>{"ab 1+2 cd ", "3*4 ef|", "x ", "=1234567890123456",
                                              "=78901234", " y 5+5|", "last|"}));
}

TEST(LinePieceReaderTest, LineBreaksAndLineCounts) {
  const struct {
    std::string text;
    std::string_view line_break;
    std::uint64_t lines;
  } cases[] = {
      {"a\r\nb\n", "\r\n", 2},
      {"a\nb\r\n", "\n", 2},
      {"abc", "\n", 1},
      {"", "\n", 0},
      {std::string(100000, 'x') + "\r\n", "\r\n", 1},
  };
  for (const auto& c : cases) {
    std::istringstream in(c.text);
    EXPECT_EQ(DetectLineBreak(in), c.line_break);
    EXPECT_EQ(CountLines(in), c.lines);
    EXPECT_EQ(in.tellg(), 0);
  }
}

TEST(RobotDestinationTest, DerivedFromTheSource) {
  const struct {
    std::string_view source;
    std::string_view destination;
  } cases[] = {
      {"C:\\t\\a.b.txt", "C:\\t\\a.b.rob"},
      {"C:\\data\\sum.txt", "C:\\data\\sum.rob"},
      {"/home/u/a.b.txt", "/home/u/a.b.rob"},
      {"dir.x/notes", "dir.x/notes.rob"},
      {"a.txt", "a.rob"},
      {"noext", "noext.rob"},
  };
  for (const auto& c : cases) EXPECT_EQ(DestinationFor(c.source), c.destination);
  EXPECT_EQ(DestinationInFolder("/out", "/in/a.b.txt"), "/out/a.b.rob");
  EXPECT_EQ(DestinationInFolder("/out/", "C:\\in\\sum.txt"), "/out/sum.rob");
}

TEST(RobotActionTest, NamesRoundTrip) {
  for (std::string_view name : kRobotActionNames) EXPECT_EQ(ActionName(*ParseAction(name)), name);
  EXPECT_FALSE(ParseAction("addResult"));
}

TEST_F(FileRobotTest, AStreamedLogIsHandedOnWholeAndNotKept) {
  const std::string source = Write("in.txt", "1+1 and 2/0\n3*3\n");
  ASSERT_EQ(robot.Run(source, ""), RobotRun::kDone);
  const std::string kept = robot.log();
  robot.ClearLog();
  std::string streamed;
  robot.set_log_stream([&](std::string_view text) { streamed += text; });
  ASSERT_EQ(robot.Run(source, ""), RobotRun::kDone);
  EXPECT_EQ(streamed, kept);
  EXPECT_TRUE(robot.log().empty());
  EXPECT_TRUE(robot.entries().empty());
}

}  // namespace
}  // namespace calvoro
