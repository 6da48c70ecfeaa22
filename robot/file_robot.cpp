#include "robot/file_robot.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <new>
#include <system_error>

#include "app/calculator_model.h"
#include "app/safe_file.h"
#include "engine/expression_bounds.h"
#include "engine/expression_text.h"
#include "engine/number_base.h"
#include "engine/refusal.h"
#include "engine/syntax_check.h"
#include "robot/line_pieces.h"

namespace calvoro {
namespace {

#ifdef _WIN32
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The folder part of a path with its separator ("" without one), and the
// file name without its last extension.
std::string_view FolderOf(std::string_view path) {
  const auto slash = path.find_last_of("\\/");
  return slash == std::string_view::npos ? std::string_view() : path.substr(0, slash + 1);
}
std::string_view BaseNameOf(std::string_view path) {
  const std::string_view name = path.substr(FolderOf(path).size());
  return name.substr(0, name.rfind('.'));
}

// Whether two paths name one existing file (through links too).
bool SameFile(const std::string& a, const std::string& b) {
  std::error_code error;
  return std::filesystem::equivalent(a, b, error);
}

}  // namespace

std::string_view ActionName(RobotAction action) {
  return kRobotActionNames[static_cast<std::size_t>(action)];
}

std::optional<RobotAction> ParseAction(std::string_view name) {
  const auto found = std::find(kRobotActionNames.begin(), kRobotActionNames.end(), name);
  if (found == kRobotActionNames.end()) return std::nullopt;
  return static_cast<RobotAction>(found - kRobotActionNames.begin());
}

std::string DestinationFor(std::string_view source) {
  return std::string(FolderOf(source)).append(BaseNameOf(source)).append(kResultExtension);
}

std::string DestinationInFolder(std::string_view folder, std::string_view source) {
  std::string destination(folder);
  if (!destination.empty() && !IsSeparator(destination.back())) destination += kPathSeparator;
  return destination.append(BaseNameOf(source)).append(kResultExtension);
}

// The result file's text: what each action keeps of a line, with the
// source's line breaks (also inside step texts).
class FileRobot::Writer {
 public:
  Writer(FdWriter& out, RobotAction action, std::string_view line_break)
      : out_(out), action_(action), break_(line_break) {}

  // The break of the line being written (a line keeps its own).
  void SetBreak(std::string_view line_break) { break_ = line_break; }

  // Text that is not calculated: kept except by the filters.
  void Text(std::string_view text) {
    if (action_ != RobotAction::kGeneralFilter && action_ != RobotAction::kDetailFilter)
      Write(text);
  }

  void Calculated(std::string_view expression, std::string_view result, std::string_view steps) {
    switch (action_) {
      case RobotAction::kAddResult:
        Write(expression);
        Write("=");
        Write(result);
        break;
      case RobotAction::kReplaceResult:
        Write(result);
        break;
      case RobotAction::kAddSteps:
        Steps(steps);
        Write(break_);
        break;
      case RobotAction::kGeneralFilter:
        // Several expressions of one line stand apart by a blank.
        if (entriesOnLine_ > 0) Write(" ");
        Write(expression);
        Write("=");
        Write(result);
        break;
      case RobotAction::kDetailFilter:
        if (entriesOnLine_ > 0) Write(break_);
        Steps(steps);
        break;
    }
    ++entriesOnLine_;
  }

  void EndLine() {
    Write(break_);
    entriesOnLine_ = 0;
  }

 private:
  void Write(std::string_view text) { out_.Write(text); }

  // An engine step text, its "\r\n" breaks written as the file's.
  void Steps(std::string_view steps) {
    for (std::size_t at; (at = steps.find("\r\n")) != std::string_view::npos;) {
      Write(steps.substr(0, at));
      Write(break_);
      steps.remove_prefix(at + 2);
    }
    Write(steps);
  }

  FdWriter& out_;
  RobotAction action_;
  std::string_view break_;
  int entriesOnLine_ = 0;
};

void FileRobot::LogSink::MessageBox(std::string_view text, std::string_view, MessageIcon) {
  log_.append(text).append("\r\n");
}

Answer FileRobot::LogSink::Question(std::string_view text, std::string_view) {
  log_.append(text).append("\r\n");
  return Answer::Ok;
}

void FileRobot::LogSink::InputMessage(std::string_view input, std::string_view message,
                                      std::string_view) {
  log_.append(input).append(": ").append(message).append("\r\n");
}

FileRobot::FileRobot(CSysData& record, MessageSink& sink)
    : precision(record.precision),
      exponentThreshold(record.exponentThreshold),
      record_(record),
      sink_(sink),
      engine_(record, logSink_) {}

RobotRun FileRobot::Run(std::string_view source_text, std::string_view destination_text,
                        RobotProgress* progress) {
  const StopScope scope(stop_ != nullptr ? stop_ : CurrentStopFlag());
  const int precision_before = record_.precision;
  const int threshold_before = record_.exponentThreshold;
  try {
    return RunChecked(source_text, destination_text, progress);
  } catch (const CalculationStopped&) {
    // The temporary file went with the unwinding: nothing of the run is kept.
    record_.precision = precision_before;
    record_.exponentThreshold = threshold_before;
    if (!engine_.stopped())
      logSink_.MessageBox(kStoppedText, kCaptionCalvoroMessage, MessageIcon::Information);
    HandOnLog();
    return RobotRun::kStopped;
  } catch (const std::bad_alloc&) {
    // The temporary file went with the unwinding; the destination is as it was.
    ReportRefusal({RefusalId::kRobotOutOfMemory, {}}, sink_);
    return RobotRun::kNoMemory;
  }
}

RobotRun FileRobot::RunChecked(std::string_view source_text, std::string_view destination_text,
                               RobotProgress* progress) {
  const std::string source(TrimBlanks(source_text));
  if (source.empty()) {
    sink_.MessageBox(kNoSourceText, kCaptionCalvoro, MessageIcon::Information);
    return RobotRun::kNoSource;
  }
  destination_ = TrimBlanks(destination_text);
  if (destination_.empty()) destination_ = DestinationFor(source);
  const auto refuse = [this](std::string_view text, const std::string& path) {
    sink_.MessageBox(std::string(text) + path, kCaptionCalvoro, MessageIcon::Information);
  };

  // Only a regular file is read: a FIFO would wait for a writer, a device
  // never end.
  const std::optional<ResolvedPath> readable = ResolvePath(source);
  std::ifstream in;
  if (readable && readable->regular) in.open(source, std::ios::binary);
  if (!in.is_open()) {
    refuse(kReadFailedText, source);
    return RobotRun::kUnreadable;
  }
  // The destination is a regular file or a new name (links followed): a
  // device, a FIFO or a folder is never replaced.
  const std::optional<ResolvedPath> target = ResolvePath(destination_);
  if (!target || (target->exists && !target->regular)) {
    refuse(kNotRegularText, destination_);
    return RobotRun::kUnwritable;
  }
  if (SameFile(source, destination_)) {
    refuse(kSameFileText, destination_);
    return RobotRun::kSameFile;
  }
  // Written to a temporary file of this run's own beside the destination
  // and renamed over it at the end: runs at the same time each leave a
  // whole result.
  RemoveStaleTemporaries(target->path);
  TemporaryFile temporary(target->path);
  if (!temporary.ok()) {
    refuse(kWriteFailedText, destination_);
    return RobotRun::kUnwritable;
  }
  FdWriter out(temporary.fd());

  // The robot's figures become the program's settings.
  record_.precision = precision;
  record_.exponentThreshold = exponentThreshold;
  entries_.clear();
  const std::uint64_t total = progress != nullptr ? CountLines(in) : 0;
  Writer writer(out, action, DetectLineBreak(in));
  LinePieceReader reader(in);
  LinePiece piece;
  std::uint64_t done = 0;
  bool cancelled = false;
  while (!cancelled && reader.Next(piece)) {
    ThrowIfStopped();
    // Each line keeps its own break, in its step texts too.
    if (!piece.lineBreak.empty()) writer.SetBreak(piece.lineBreak);
    if (piece.passThrough) {
      writer.Text(piece.text);
    } else {
      ProcessLine(piece.text, writer);
    }
    HandOnLog();
    if (!piece.lineEnds) continue;
    writer.EndLine();
    ++done;
    cancelled = progress != nullptr && !progress->Progress(done, total);
    ThrowIfStopped();
  }
  // The read that finds the end of the file gives one more, empty line.
  writer.EndLine();
  HandOnLog();
  if (cancelled) return RobotRun::kCancelled;
  if (in.bad() || !out.Finish() || !temporary.Commit()) {
    refuse(kWriteFailedText, destination_);
    return RobotRun::kUnwritable;
  }
  return RobotRun::kDone;
}

void FileRobot::HandOnLog() {
  if (stream_) {
    if (!log_.empty()) stream_(log_);
    log_.clear();
    return;
  }
  // A kept log (the window's) keeps its newest part: its older half goes,
  // at a line break, once it is over its bound.
  if (log_.size() > kMaxKeptLog) {
    const std::size_t cut = log_.find("\r\n", log_.size() / 2);
    if (cut != std::string::npos)
      log_ = std::string(kRobotLogHeader) + std::string(kEarlierLeftOut) + log_.substr(cut + 2);
  }
  if (entries_.size() > kMaxKeptEntries)
    entries_.erase(entries_.begin(),
                   entries_.begin() + static_cast<std::ptrdiff_t>(kMaxKeptEntries / 2));
}

void FileRobot::ProcessLine(std::string_view text, Writer& out) {
  lower_ = ToLowerAscii(text);
  std::size_t pos = 0;
  while (const auto candidate = FindCandidate(lower_, pos)) {
    out.Text(text.substr(pos, candidate->pos - pos));
    ProcessCandidate(text.substr(candidate->pos, candidate->length),
                     std::string_view(lower_).substr(candidate->pos, candidate->length), out);
    pos = candidate->pos + candidate->length;
  }
  out.Text(text.substr(pos));
}

void FileRobot::ProcessCandidate(std::string_view candidate, std::string_view lower, Writer& out) {
  SyntaxViolation violation;  // prepared, never shown
  std::optional<Calculation> calculation;
  std::string_view expression = candidate;
  if (IsCalculable(candidate) && CheckSyntax(candidate, NumberBase::Decimal, violation))
    calculation = CalculateShortening(expression, lower);
  if (!calculation) {
    out.Text(candidate);
    return;
  }
  // The use-exponent flag alone decides the form of the result; the plain
  // result is already cut to the robot's precision by the engine.
  const std::string& plain = calculation->plainResult;
  const std::string result = useExponent ? FormatExponent(plain, precision, exponentThreshold)
                                         : LimitFraction(plain, NumberBase::Decimal, precision);
  // The step text ends in the robot's result, not the engine's formatted one.
  std::string steps = std::move(calculation->steps);
  if (!steps.empty()) {
    if (calculation->result != plain) steps.erase(steps.rfind("\r\n="));
    if (result != plain) steps.append("\r\n=").append(result);
  }

  std::string entry = std::string(expression).append("=").append(result);
  log_.append(LogTimeText(engine_.Now())).append(" ").append(entry).append("\r\n");
  if (!stream_) entries_.push_back(std::move(entry));
  out.Calculated(expression, result, steps);
  out.Text(candidate.substr(expression.size()));
}

std::optional<Calculation> FileRobot::CalculateShortening(std::string_view& expression,
                                                          std::string_view lower) {
  // The bracket balance of the attempt, kept as it shrinks: a retry that
  // would only fail at the engine's bracket count, or that holds nothing to
  // calculate any more, is passed over. So is a retry longer than the
  // beginning of the expression within the engine's bounds (operators,
  // nesting, steps; without steps only nesting), which the engine would
  // refuse: measured once, it keeps the cost of a line linear in its length.
  // Only the step actions write the steps.
  const bool steps = action == RobotAction::kAddSteps || action == RobotAction::kDetailFilter;
  const std::size_t within = steps ? MeasureExpression(lower, NumberBase::Decimal).withinLength
                                   : NestingWithinLength(lower);
  long balance = 0;
  for (char c : expression) balance += (c == '(') - (c == ')');
  for (std::string_view attempt = expression; !attempt.empty();) {
    if (attempt.size() == expression.size() ||
        (attempt.size() <= within && balance == 0 && IsCalculable(attempt))) {
      if (auto calculation =
              engine_.Calculate(attempt, kZeroMemories, NumberBase::Decimal, steps)) {
        expression = attempt;
        return calculation;
      }
      // A stopped calculation stops the run: no shorter attempt is made.
      if (engine_.stopped()) throw CalculationStopped();
    }
    const std::string_view shorter = ShortenExpression(attempt);
    for (char c : attempt.substr(shorter.size())) balance -= (c == '(') - (c == ')');
    attempt = shorter;
  }
  return std::nullopt;
}

}  // namespace calvoro
