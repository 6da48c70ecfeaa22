// The file robot: reads a text file line by line, finds the arithmetic
// expressions in the running text, calculates each with its own engine and
// writes a result file beside it; every calculated expression is listed in
// the robot's log. The robot window and `calvoro-cli robot` both run it.
#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/sys_data.h"
#include "engine/expr_engine.h"
#include "engine/message_sink.h"
#include "numeric/stop.h"
#include "robot/candidate_scan.h"

namespace calvoro {

// What the result file gets for each calculated expression.
enum class RobotAction { kAddResult, kReplaceResult, kAddSteps, kGeneralFilter, kDetailFilter };
inline constexpr std::array<std::string_view, 5> kRobotActionNames = {
    "addresult", "replaceresult", "addsteps", "genfilter", "detailfilter"};
std::string_view ActionName(RobotAction action);
std::optional<RobotAction> ParseAction(std::string_view name);

inline constexpr std::string_view kRobotLogHeader = "Robot Log Information:\r\n";
inline constexpr std::string_view kNoSourceText =
    "Please select the source file first by clicking the browse button.";
inline constexpr std::string_view kReadFailedText = "Failed to open and read the file:";
inline constexpr std::string_view kWriteFailedText = "Failed to open and write the file:";
inline constexpr std::string_view kSameFileText =
    "The result file would overwrite the source file, please choose another destination:";
inline constexpr std::string_view kNotRegularText =
    "The result file must be a regular file or a new name, please choose another destination:";
inline constexpr std::string_view kResultExtension = ".rob";
// A kept log is bounded: beyond kMaxKeptLog bytes its older half gives way
// to this line, and the entries keep their newest kMaxKeptEntries.
inline constexpr std::string_view kEarlierLeftOut = "...(earlier entries left out)\r\n";
inline constexpr std::size_t kMaxKeptLog = std::size_t{16} << 20;
inline constexpr std::size_t kMaxKeptEntries = 100000;

// The destination beside a source: its folder (up to the last "\" or "/"),
// its file name up to the last ".", and ".rob". A source without a folder
// gives a destination in the current folder.
std::string DestinationFor(std::string_view source);
// The destination in `folder` for a source: folder, separator, base name, ".rob".
std::string DestinationInFolder(std::string_view folder, std::string_view source);

// Lines done and lines in all, after every line. Returning false cancels the
// run. The window calls its event loop from here; the CLI passes none.
class RobotProgress {
 public:
  virtual ~RobotProgress() = default;
  virtual bool Progress(std::uint64_t lines_done, std::uint64_t lines_total) = 0;
};

enum class RobotRun {
  kDone,
  kNoSource,
  kUnreadable,
  kUnwritable,
  kSameFile,
  kCancelled,
  kNoMemory,
  kStopped,
};

class FileRobot {
 public:
  // The precision and threshold are taken from `record`, into which a run
  // writes them back. `sink` shows the robot's own messages.
  FileRobot(CSysData& record, MessageSink& sink);
  // The log's sink refers into this robot's own log.
  FileRobot(const FileRobot&) = delete;
  FileRobot& operator=(const FileRobot&) = delete;

  RobotAction action = RobotAction::kAddResult;
  bool useExponent = true;
  int precision;
  int exponentThreshold;

  // Calculates the file `source` into `destination` (derived from the source
  // when empty; `destination()` tells which). Messages go to the sink; the
  // engine's messages go into the log. Only a regular source is read; the
  // destination must be a regular file or a new name. The result is written
  // to a temporary file of the run's own beside it and renamed over it at
  // the end, so a failed, cancelled or interrupted run leaves the
  // destination as it was, and runs at the same time never mix.
  // A run stops (kStopped) when the stop flag is set: between lines, and
  // within a line's calculation as any calculation does; it writes no
  // result file and stores nothing (the precision and threshold in the
  // record stay as they were), and its log ends in the engine's
  // "The calculation was stopped." line.
  RobotRun Run(std::string_view source, std::string_view destination,
               RobotProgress* progress = nullptr);
  const std::string& destination() const { return destination_; }

  // The log text ("\r\n" line breaks) and the entries of the last run
  // (their newest part, within the bounds above).
  const std::string& log() const { return log_; }
  // Hands the log on as it grows (after every line of the source) instead
  // of keeping it, so that a run's memory does not grow with the number of
  // expressions; `log()` and `entries()` then hold nothing.
  void set_log_stream(std::function<void(std::string_view)> stream) { stream_ = std::move(stream); }
  const std::vector<std::string>& entries() const { return entries_; }
  void ClearLog() { log_ = kRobotLogHeader; }
  // The flag that stops a run (the thread's current one when none is set).
  void set_stop_flag(const StopFlag* flag) { stop_ = flag; }

  // The local time of the log's time stamps; tests set a fixed one.
  void set_clock(std::function<std::tm()> clock) { engine_.set_clock(std::move(clock)); }

 private:
  class LogSink : public MessageSink {
   public:
    explicit LogSink(std::string& log) : log_(log) {}
    void MessageBox(std::string_view text, std::string_view, MessageIcon) override;
    Answer Question(std::string_view text, std::string_view) override;
    void InputMessage(std::string_view input, std::string_view message, std::string_view) override;

   private:
    std::string& log_;
  };
  class Writer;

  RobotRun RunChecked(std::string_view source, std::string_view destination,
                      RobotProgress* progress);
  // After every line: the log handed to the stream, or kept within bounds.
  void HandOnLog();
  void ProcessLine(std::string_view text, Writer& out);
  void ProcessCandidate(std::string_view candidate, std::string_view lower, Writer& out);
  std::optional<Calculation> CalculateShortening(std::string_view& expression,
                                                 std::string_view lower);

  CSysData& record_;
  MessageSink& sink_;
  std::string log_{kRobotLogHeader};
  LogSink logSink_{log_};
  ExprEngine engine_;
  std::vector<std::string> entries_;
  std::function<void(std::string_view)> stream_;
  std::string destination_;
  std::string lower_;  // the lower-cased piece being scanned
  const StopFlag* stop_ = nullptr;
};

}  // namespace calvoro
