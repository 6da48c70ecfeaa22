#include "robot/file_robot.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "engine/expression_text.h"
#include "engine/number_base.h"
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
  Writer(std::ostream& out, RobotAction action, std::string_view line_break)
      : out_(out), action_(action), break_(line_break) {}

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
  void Write(std::string_view text) {
    out_.write(text.data(), static_cast<std::streamsize>(text.size()));
  }

  // An engine step text, its "\r\n" breaks written as the file's.
  void Steps(std::string_view steps) {
    for (std::size_t at; (at = steps.find("\r\n")) != std::string_view::npos;) {
      Write(steps.substr(0, at));
      Write(break_);
      steps.remove_prefix(at + 2);
    }
    Write(steps);
  }

  std::ostream& out_;
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

  std::error_code error;
  std::ifstream in;
  if (!std::filesystem::is_directory(source, error)) in.open(source, std::ios::binary);
  if (!in.is_open()) {
    refuse(kReadFailedText, source);
    return RobotRun::kUnreadable;
  }
  // Written beside the destination and renamed over it at the end.
  const std::string temporary = destination_ + ".part";
  if (SameFile(source, destination_) || SameFile(source, temporary)) {
    refuse(kSameFileText, destination_);
    return RobotRun::kSameFile;
  }
  std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
  if (!out) {
    refuse(kWriteFailedText, destination_);
    return RobotRun::kUnwritable;
  }

  // The robot's figures become the program's settings.
  record_.precision = precision;
  record_.exponentThreshold = exponentThreshold;
  entries_.clear();
  const std::string_view line_break = DetectLineBreak(in);
  const std::uint64_t total = progress != nullptr ? CountLines(in) : 0;
  Writer writer(out, action, line_break);
  LinePieceReader reader(in);
  LinePiece piece;
  std::uint64_t done = 0;
  bool cancelled = false;
  while (!cancelled && reader.Next(piece)) {
    if (piece.passThrough) {
      writer.Text(piece.text);
    } else {
      ProcessLine(piece.text, writer);
    }
    if (!piece.lineEnds) continue;
    writer.EndLine();
    ++done;
    cancelled = progress != nullptr && !progress->Progress(done, total);
  }
  // The read that finds the end of the file gives one more, empty line.
  writer.EndLine();
  out.close();
  if (cancelled) {
    std::filesystem::remove(temporary, error);
    return RobotRun::kCancelled;
  }
  if (out.fail() || (std::filesystem::rename(temporary, destination_, error), error)) {
    std::filesystem::remove(temporary, error);
    refuse(kWriteFailedText, destination_);
    return RobotRun::kUnwritable;
  }
  return RobotRun::kDone;
}

void FileRobot::ProcessLine(std::string_view text, Writer& out) {
  lower_ = ToLowerAscii(text);
  std::size_t pos = 0;
  while (const auto candidate = FindCandidate(lower_, pos)) {
    out.Text(text.substr(pos, candidate->pos - pos));
    ProcessCandidate(text.substr(candidate->pos, candidate->length), out);
    pos = candidate->pos + candidate->length;
  }
  out.Text(text.substr(pos));
}

void FileRobot::ProcessCandidate(std::string_view candidate, Writer& out) {
  SyntaxViolation violation;  // prepared, never shown
  std::optional<Calculation> calculation;
  std::string_view expression = candidate;
  if (IsCalculable(candidate) && CheckSyntax(candidate, kBaseDecimal, violation))
    calculation = CalculateShortening(expression);
  if (!calculation) {
    out.Text(candidate);
    return;
  }
  // The use-exponent flag alone decides the form of the result; the plain
  // result is already cut to the robot's precision by the engine.
  const std::string& plain = calculation->plainResult;
  const std::string result = useExponent ? FormatExponent(plain, precision, exponentThreshold)
                                         : LimitFraction(plain, kBaseDecimal, precision);
  // The step text ends in the robot's result, not the engine's formatted one.
  std::string steps = std::move(calculation->steps);
  if (calculation->result != plain) steps.erase(steps.rfind("\r\n="));
  if (result != plain) steps.append("\r\n=").append(result);

  std::string entry = std::string(expression).append("=").append(result);
  log_.append(LogTimeText(engine_.Now())).append(" ").append(entry).append("\r\n");
  entries_.push_back(std::move(entry));
  out.Calculated(expression, result, steps);
  out.Text(candidate.substr(expression.size()));
}

std::optional<Calculation> FileRobot::CalculateShortening(std::string_view& expression) {
  // The bracket balance of the attempt, kept as it shrinks: a retry that
  // would only fail at the engine's bracket count, or that holds nothing to
  // calculate any more, is passed over.
  long balance = 0;
  for (char c : expression) balance += (c == '(') - (c == ')');
  for (std::string_view attempt = expression; !attempt.empty();) {
    if (attempt.size() == expression.size() || (balance == 0 && IsCalculable(attempt))) {
      if (auto calculation = engine_.Calculate(attempt, kZeroMemories, kBaseDecimal)) {
        expression = attempt;
        return calculation;
      }
    }
    const std::string_view shorter = ShortenExpression(attempt);
    for (char c : attempt.substr(shorter.size())) balance -= (c == '(') - (c == ')');
    attempt = shorter;
  }
  return std::nullopt;
}

}  // namespace calvoro
