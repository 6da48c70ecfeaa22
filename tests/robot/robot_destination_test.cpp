// The robot's files as someone trying to break it would give them: sources
// and destinations that are no regular files, leftovers beside the
// destination, runs into one destination at the same time, and lines whose
// expressions are far beyond the engine's bounds.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "robot/file_robot.h"
#include "tests/support/recording_sink.h"
#include "tests/support/test_folder.h"

namespace calvoro {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::RecordingSink;
using testing::Refused;
using testing::TestFolder;

std::string Repeat(std::string_view piece, int times, std::string_view joint) {
  std::string text;
  for (int i = 0; i < times; ++i) text.append(i > 0 ? joint : "").append(piece);
  return text;
}

std::vector<std::string> FilesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class RobotFilesTest : public ::testing::Test {
 protected:
  RobotRun Run(const std::string& source, const std::string& destination) {
    sink.messages.clear();
    return robot.Run(source, destination);
  }
  std::string Message() const { return sink.messages.empty() ? "" : sink.messages[0].text; }

  TestFolder folder{"robot_files"};
  CSysData record;
  RecordingSink sink;
  FileRobot robot{record, sink};
};

TEST_F(RobotFilesTest, OnlyRegularFilesAreReadOrReplaced) {
  const std::string source = folder.Write("in.txt", "1+1\n");
  const std::string fifo = folder.Path("fifo");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  fs::create_directory(folder.Path("folder"));
  fs::create_symlink(fifo, folder.Path("to-fifo.rob"));
  fs::create_symlink(folder.Path("folder"), folder.Path("to-folder.rob"));
  struct Case {
    std::string source, destination;
    RobotRun run;
    std::string message;
  };
  const Case cases[] = {
      {source, fifo, RobotRun::kUnwritable, Refused(RefusalId::kRobotNotRegular, fifo)},
      {source, folder.Path("to-fifo.rob"), RobotRun::kUnwritable,
       Refused(RefusalId::kRobotNotRegular, folder.Path("to-fifo.rob"))},
      {source, folder.Path("folder"), RobotRun::kUnwritable,
       Refused(RefusalId::kRobotNotRegular, folder.Path("folder"))},
      {source, folder.Path("to-folder.rob"), RobotRun::kUnwritable,
       Refused(RefusalId::kRobotNotRegular, folder.Path("to-folder.rob"))},
      {source, "/dev/null", RobotRun::kUnwritable,
       Refused(RefusalId::kRobotNotRegular, "/dev/null")},
      // A FIFO source would wait for a writer, a device never end.
      {fifo, folder.Path("out.rob"), RobotRun::kUnreadable,
       Refused(RefusalId::kRobotReadFailed, fifo)},
      {"/dev/zero", folder.Path("out.rob"), RobotRun::kUnreadable,
       Refused(RefusalId::kRobotReadFailed, "/dev/zero")},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.source, c.destination), c.run) << c.destination;
    EXPECT_EQ(Message(), c.message);
  }
  EXPECT_TRUE(fs::is_fifo(fifo));
  EXPECT_TRUE(fs::is_character_file("/dev/null"));
  EXPECT_EQ(FilesIn(folder.path()),
            (std::vector<std::string>{"fifo", "folder", "in.txt", "to-fifo.rob", "to-folder.rob"}));

  // A link to a regular file stays a link; the file it names gets the result.
  const std::string target = folder.Write("target.txt", "old");
  fs::create_symlink(target, folder.Path("link.rob"));
  EXPECT_EQ(Run(source, folder.Path("link.rob")), RobotRun::kDone);
  EXPECT_TRUE(fs::is_symlink(folder.Path("link.rob")));
  EXPECT_EQ(ReadFile(target), "1+1=2\n\n");
}

TEST_F(RobotFilesTest, FilesBesideTheDestinationAreNeverFollowedOrTouched) {
  const std::string source = folder.Write("in.txt", "2*3\n");
  const std::string victim = folder.Write("victim.txt", "precious");
  fs::create_symlink(victim, folder.Path("s.rob.part"));
  folder.Write("t.rob.part", "the user's own file");
  EXPECT_EQ(Run(source, folder.Path("s.rob")), RobotRun::kDone);
  EXPECT_EQ(Run(source, folder.Path("t.rob")), RobotRun::kDone);
  EXPECT_EQ(ReadFile(victim), "precious");
  EXPECT_EQ(ReadFile(folder.Path("t.rob.part")), "the user's own file");
  EXPECT_EQ(ReadFile(folder.Path("s.rob")), "2*3=6\n\n");
  EXPECT_EQ(ReadFile(folder.Path("t.rob")), "2*3=6\n\n");
}

TEST_F(RobotFilesTest, RunsAtTheSameTimeEachLeaveAWholeResult) {
  std::string first_text, second_text;
  for (int i = 0; i < 20000; ++i) {
    first_text += std::to_string(i) + "+1\n";
    second_text += std::to_string(i) + "*2\n";
  }
  const std::string sources[] = {folder.Write("a.txt", first_text),
                                 folder.Write("b.txt", second_text)};
  const std::string destination = folder.Path("out.rob");
  std::string expected[2];
  for (int k = 0; k < 2; ++k) {
    ASSERT_EQ(Run(sources[k], destination), RobotRun::kDone);
    expected[k] = ReadFile(destination);
  }
  for (int round = 0; round < 4; ++round) {
    pid_t children[2];
    for (int k = 0; k < 2; ++k) {
      children[k] = fork();
      if (children[k] == 0) {
        CSysData own;
        RecordingSink quiet;
        FileRobot runner(own, quiet);
        _exit(runner.Run(sources[k], destination) == RobotRun::kDone ? 0 : 1);
      }
    }
    for (pid_t child : children) {
      int status = 0;
      waitpid(child, &status, 0);
      EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    const std::string result = ReadFile(destination);
    EXPECT_TRUE(result == expected[0] || result == expected[1]) << round;
  }
  EXPECT_EQ(FilesIn(folder.path()), (std::vector<std::string>{"a.txt", "b.txt", "out.rob"}));
}

TEST_F(RobotFilesTest, ALineOfThousandsOfGroupsIsCalculatedWhole) {
  // Without the step text no bound counts operators or groups.
  const std::string groups = Repeat("(1+1)", 4000, "+");
  const std::string source = folder.Write("in.txt", "x " + groups + " y\n");
  ASSERT_EQ(Run(source, ""), RobotRun::kDone);
  EXPECT_EQ(ReadFile(folder.Path("in.rob")), "x " + groups + "=8000 y\n\n");
  EXPECT_EQ(robot.log().find("Sorry"), std::string::npos) << robot.log().substr(0, 300);
}

}  // namespace
}  // namespace calvoro
