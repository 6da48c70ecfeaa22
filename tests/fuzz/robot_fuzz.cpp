// The file robot on any source text with any action, precision, threshold
// and exponent choice: no crash, the run always completes, and the actions
// that keep every line write one line break more than the source has lines
// (a last line without its break counts as a line).
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "robot/file_robot.h"
#include "tests/fuzz/fuzz_input.h"
#include "tests/support/recording_sink.h"

namespace {

// A folder of the process's own for the source and result files, removed at exit.
struct TempFolder {
  TempFolder() {
    if (!mkdtemp(path.data())) std::abort();
  }
  ~TempFolder() { std::filesystem::remove_all(path); }
  std::string path = "/tmp/calvoro_robot_fuzz_XXXXXX";
};

const std::string& Folder() {
  static const TempFolder folder;
  return folder.path;
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
  const std::string source = Folder() + "/source.txt";
  const std::string destination = Folder() + "/source.rob";
  std::ofstream(source, std::ios::binary) << source_text;
  FUZZ_CHECK(robot.Run(source, destination) == calvoro::RobotRun::kDone);
  std::ifstream in(destination, std::ios::binary);
  const std::string written{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (robot.action == calvoro::RobotAction::kAddResult ||
      robot.action == calvoro::RobotAction::kReplaceResult) {
    const auto lines = std::count(source_text.begin(), source_text.end(), '\n') +
                       (!source_text.empty() && source_text.back() != '\n' ? 1 : 0);
    FUZZ_CHECK(std::count(written.begin(), written.end(), '\n') == lines + 1);
  }
  return 0;
}
