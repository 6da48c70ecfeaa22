// The file robot on any source text with any action, precision, threshold
// and exponent choice: no crash, the run always completes, and the actions
// that keep every line write one line break more than the source has lines
// (a last line without its break counts as a line).
#include <algorithm>
#include <string>

#include "robot/file_robot.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/recording_sink.h"
#include "tests/support/test_folder.h"

namespace {

// A folder of the process's own for the source and result files, removed at exit.
const calvoro::testing::TestFolder& Folder() {
  static const calvoro::testing::TestFolder folder("calvoro_robot_fuzz");
  return folder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  calvoro::fuzz::FuzzInput input(data, size);
  calvoro::CSysData record;
  calvoro::testing::RecordingSink sink;
  calvoro::FileRobot robot(record, sink);
  static constexpr calvoro::RobotAction kActions[] = {
      calvoro::RobotAction::kAddResult, calvoro::RobotAction::kReplaceResult,
      calvoro::RobotAction::kAddSteps, calvoro::RobotAction::kGeneralFilter,
      calvoro::RobotAction::kDetailFilter};
  robot.action = kActions[input.Number(0, 4)];
  robot.precision = static_cast<int>(input.Number(0, 30));
  robot.exponentThreshold = static_cast<int>(input.Number(0, 200));
  robot.useExponent = input.Number(0, 1) == 1;

  const std::string source_text(input.Rest());
  const std::string source = Folder().Write("source.txt", source_text);
  const std::string destination = Folder().Path("source.rob");
  FUZZ_CHECK(robot.Run(source, destination) == calvoro::RobotRun::kDone);
  const std::string written = calvoro::testing::ReadFile(destination);
  if (robot.action == calvoro::RobotAction::kAddResult ||
      robot.action == calvoro::RobotAction::kReplaceResult) {
    const auto lines = std::count(source_text.begin(), source_text.end(), '\n') +
                       (!source_text.empty() && source_text.back() != '\n' ? 1 : 0);
    FUZZ_CHECK(std::count(written.begin(), written.end(), '\n') == lines + 1);
  }
  return 0;
}
