#include "robot/robot_model.h"

#include "app/settings_model.h"
#include "engine/expression_text.h"
#include "engine/refusal.h"

namespace calvoro {

std::string QtFileFilter(std::string_view filter) {
  std::string out;
  while (true) {
    const auto bar = filter.find('|');
    if (bar == std::string_view::npos || bar == 0) break;
    const std::string_view description = filter.substr(0, bar);
    filter.remove_prefix(bar + 1);
    const std::string_view pattern = filter.substr(0, filter.find('|'));
    filter.remove_prefix(std::min(filter.size(), pattern.size() + 1));
    if (!out.empty()) out += ";;";
    out += description;
    const std::string bracketed = "(" + std::string(pattern) + ")";
    if (!description.ends_with(bracketed)) out += " " + bracketed;
  }
  return out;
}

std::string ProgressText(std::uint64_t lines_done, std::uint64_t lines_total) {
  return std::to_string(lines_done) + " of " + std::to_string(lines_total) + " lines";
}

RobotModel::RobotModel(CSysData& record, MessageSink& sink)
    : sink_(sink),
      robot_(record, sink),
      thresholdText_(std::to_string(record.exponentThreshold)),
      precisionText_(std::to_string(record.precision)) {}

void RobotModel::Browse(std::string_view chosen) {
  sourcePath_ = chosen;
  destinationPath_ = DestinationFor(chosen);
}

bool RobotModel::SelectDirAllowed() {
  if (!TrimBlanks(sourcePath_).empty()) return true;
  ReportRefusal({RefusalId::kNoRobotSource, {}}, sink_);
  return false;
}

void RobotModel::SelectDirectory(std::string_view folder) {
  destinationPath_ = DestinationInFolder(folder, TrimBlanks(sourcePath_));
}

std::optional<RobotRun> RobotModel::Calculate(RobotProgress* progress) {
  int precision = 0;
  int threshold = 0;
  const IntegerRead precision_read = ReadBoundedInteger(precisionText_, kMaxPrecision, precision);
  const IntegerRead threshold_read =
      ReadBoundedInteger(thresholdText_, kMaxExponentThreshold, threshold);
  focus_ = precision_read != IntegerRead::Ok   ? Field::kPrecision
           : threshold_read != IntegerRead::Ok ? Field::kThreshold
                                               : Field::kNone;
  if (focus_ != Field::kNone) {
    const IntegerRead read = focus_ == Field::kPrecision ? precision_read : threshold_read;
    ReportRefusal(IntegerReadRefusal(read, focus_ == Field::kPrecision), sink_);
    return std::nullopt;
  }
  robot_.precision = precision;
  robot_.exponentThreshold = threshold;
  const RobotRun run = robot_.Run(sourcePath_, destinationPath_, progress);
  if (run != RobotRun::kNoSource) destinationPath_ = robot_.destination();
  return run;
}

std::optional<std::string> RobotModel::Copy() {
  std::string text = logText();
  if (TrimBlanks(text).empty()) {
    ReportRefusal({RefusalId::kRobotLogEmpty, {}}, sink_);
    return std::nullopt;
  }
  sink_.MessageBox(robot_text::kLogCopiedText, kCaptionTivamosa, MessageIcon::Information);
  return text;
}

std::string RobotModel::logText() const {
  std::string text;
  text.reserve(robot_.log().size());
  for (char c : robot_.log()) {
    if (c != '\r') text += c;
  }
  return text;
}

}  // namespace calvoro
