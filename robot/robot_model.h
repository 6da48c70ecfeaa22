// The robot window without widgets: the Source and Destination edits, the
// exponent check box and its threshold edit, the precision edit, the five
// action buttons, the log, and the commands Browse, Select Dir, Calculate,
// Copy, Clear and Help. A thin Qt dialog shows these texts, forwards every
// edit and click here and runs the file and folder dialogs it is told to.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "app/sys_data.h"
#include "engine/message_sink.h"
#include "robot/file_robot.h"

namespace calvoro {

// The window's command buttons, in its order.
enum class RobotCommand { kCalculate, kCopy, kClear, kClose, kHelp };

namespace robot_text {
// The window's size in dialog units.
inline constexpr int kDialogWidth = 539;
inline constexpr int kDialogHeight = 229;

inline constexpr std::string_view kBrowse = "Browse";
inline constexpr std::string_view kSelectDir = "Select Dir";
inline constexpr std::string_view kExponentCheck =
    "Display the result in the exponent format [such as: 1.2578E+03] when MSB larger than:";
inline constexpr std::string_view kPrecisionLabel =
    "You could indict the precision of calculation result , it is the same as the setting dialog";
inline constexpr std::string_view kActionGroup = "Action:";

struct ActionButton {
  std::string_view label;
  RobotAction action;
};
inline constexpr std::array<ActionButton, 5> kActionButtons = {{
    {"Add results", RobotAction::kAddResult},
    {"Replace with results", RobotAction::kReplaceResult},
    {"Add detail", RobotAction::kAddSteps},
    {"General Filter ", RobotAction::kGeneralFilter},
    {"Detail Filter ", RobotAction::kDetailFilter},
}};

// In the window's order; Calculate is the default button.
struct Button {
  RobotCommand command;
  std::string_view label;
  std::string_view tooltip;
};
inline constexpr std::array<Button, 5> kButtons = {{
    {RobotCommand::kCalculate, "Calculate", "Begin to calculate"},
    {RobotCommand::kCopy, "Copy", "Copy the log to the clipboard"},
    {RobotCommand::kClear, "Clear", "Clear the log"},
    {RobotCommand::kClose, "Close", "Close the robot"},
    {RobotCommand::kHelp, "Help", "Open the help document"},
}};

// The Browse file dialog: pairs of description and pattern, "|" between.
inline constexpr std::string_view kBrowseFilter =
    "Text (*.txt)|*.txt|*.xml|*.htm|*.cpp|*.h|All Files (*.*)|*.*||";
inline constexpr std::string_view kBrowseDefaultExtension = "File";
inline constexpr std::string_view kBrowseInitialName = "*.txt";
inline constexpr std::string_view kSelectDirTitle = "Select directory for the result file";

inline constexpr std::string_view kLogCopiedText =
    "the log  information has been copied to the clipboard.";
}  // namespace robot_text

// A "description|pattern|...||" filter in the form of Qt's file dialog:
// "description (pattern)" joined by ";;".
std::string QtFileFilter(std::string_view filter);

// "lines done of lines total", for the window's progress line.
std::string ProgressText(std::uint64_t lines_done, std::uint64_t lines_total);

class RobotModel {
 public:
  enum class Field { kNone, kPrecision, kThreshold };

  // Opening: the precision and threshold from `record`, "Add results", the
  // log header.
  RobotModel(CSysData& record, MessageSink& sink);

  // The edits as typed.
  const std::string& sourcePath() const { return sourcePath_; }
  const std::string& destinationPath() const { return destinationPath_; }
  const std::string& thresholdText() const { return thresholdText_; }
  const std::string& precisionText() const { return precisionText_; }
  void SetSourcePath(std::string_view text) { sourcePath_ = text; }
  void SetDestinationPath(std::string_view text) { destinationPath_ = text; }
  void SetThresholdText(std::string_view text) { thresholdText_ = text; }
  void SetPrecisionText(std::string_view text) { precisionText_ = text; }

  bool useExponent() const { return robot_.useExponent; }
  void SetUseExponent(bool on) { robot_.useExponent = on; }

  // The radio buttons: choosing one checks it alone.
  RobotAction action() const { return robot_.action; }
  void SelectAction(RobotAction action) { robot_.action = action; }

  // Browse: the file chosen in the file dialog becomes the source, and the
  // destination is derived from it.
  void Browse(std::string_view chosen);
  // Select Dir: whether the folder browser may open (with no source path
  // the user is told to choose one first); then the folder chosen.
  bool SelectDirAllowed();
  void SelectDirectory(std::string_view folder);

  // Calculate (under a wait cursor): reads the precision and threshold
  // edits, refusing a bad one with its message (the edit in `focus()`), then
  // runs the robot. An empty destination edit shows the derived path.
  std::optional<RobotRun> Calculate(RobotProgress* progress = nullptr);
  Field focus() const { return focus_; }

  // Copy: the text for the clipboard, or nothing when the log is empty;
  // either way the user is told.
  std::optional<std::string> Copy();
  void Clear() { robot_.ClearLog(); }

  // The log edit's text ("\n" line breaks).
  std::string logText() const;
  // The help document Help opens.
  static std::string HelpFilePath() { return ProgramFolder() + std::string(kHelpFileName); }

  FileRobot& robot() { return robot_; }

 private:
  MessageSink& sink_;
  FileRobot robot_;
  std::string sourcePath_;
  std::string destinationPath_;
  std::string thresholdText_;
  std::string precisionText_;
  Field focus_ = Field::kNone;
};

}  // namespace calvoro
