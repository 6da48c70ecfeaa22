// calvoro-cli with a settings file: values read from it, log lines and
// parameters written to it, run-only options never written, and the log
// command.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "app/sys_data.h"
#include "tests/cli/run_cli.h"
#include "tests/support/test_folder.h"

namespace calvoro {
namespace {

using testing_cli::CliRun;
using testing_cli::RunCli;

class SettingsCliTest : public ::testing::Test {
 protected:
  CSysData Record() const {
    CSysDataManager manager(path);
    manager.Load();
    return manager.data;
  }
  void Store(const CSysData& record) const { ASSERT_EQ(CSysDataManager(path).Save(record), 1); }

  const testing::TestFolder folder{"settings_cli"};
  const std::string path = folder.Path("SysData.dat");
};

TEST_F(SettingsCliTest, AssignmentAndLogLineAreWritten) {
  const CliRun run = RunCli({"--settings", path, "(m)=2+3", "m*2"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "(m)=2+3  Set the user parameter M successfully.\n5*2=10\n");
  const CSysData record = Record();
  EXPECT_EQ(record.paramM, "5");
  ASSERT_EQ(record.logLines.size(), 2u);
  EXPECT_TRUE(record.logLines[1].ends_with("   Dec:m*2=5*2=10")) << record.logLines[1];
}

TEST_F(SettingsCliTest, ValuesComeFromTheFileAndOptionsHoldForTheRunOnly) {
  CSysData stored;
  stored.precision = 4;
  stored.paramF = "7";
  stored.numberBase = NumberBase::Hex;
  Store(stored);
  EXPECT_EQ(RunCli({"--settings", path, "ff+1"}).out, "ff+1=100\n");
  EXPECT_EQ(RunCli({"--settings", path, "--base", "dec", "f/3"}).out, "7/3=2.3333\n");
  EXPECT_EQ(
      RunCli({"--settings", path, "--base", "dec", "--precision", "2", "--degree", "f/3"}).out,
      "7/3=2.33\n");
  const CSysData record = Record();
  EXPECT_EQ(record.precision, 4);
  EXPECT_EQ(record.numberBase, NumberBase::Hex);
  EXPECT_TRUE(record.angleRadian);
  EXPECT_EQ(record.logLines.size(), 3u);
}

TEST_F(SettingsCliTest, LogCommandPrintsNewestFirstAndClears) {
  CSysData stored;
  stored.logLines = {"2026-12-06 20:55   Dec:1+2=3", "2026-12-06 20:56   Dec:2*3=6"};
  Store(stored);
  CliRun run = RunCli({"log", "--settings", path});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, "2026-12-06 20:56   Dec:2*3=6\n2026-12-06 20:55   Dec:1+2=3\n");
  run = RunCli({"log", "--clear", "--settings", path});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(Record().logLines.empty());
  EXPECT_EQ(RunCli({"log", "--settings", path}).out, "");
  EXPECT_EQ(RunCli({"log", "--bogus"}).status, 2);
}

TEST_F(SettingsCliTest, UnwritableFileIsReportedAndTheResultStillPrinted) {
  const CliRun run = RunCli({"--settings", folder.Path("no/such/dir/SysData.dat"), "1+2"});
  EXPECT_EQ(run.status, 1);  // the log line is lost
  EXPECT_EQ(run.out, "1+2=3\n");
  EXPECT_NE(run.err.find("could not be written"), std::string::npos) << run.err;
}

TEST_F(SettingsCliTest, AnEmptySettingsNameIsAUsageError) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--settings", "", "1+1"}, {"log", "--settings", ""}}) {
    EXPECT_TRUE(testing_cli::IsUsageError(RunCli(args), args[0] == "log" ? "log" : ""));
  }
  EXPECT_FALSE(std::filesystem::exists(".lock"));
}

TEST_F(SettingsCliTest, NumbersThatAreNoneAreReplacedWithAWarning) {
  CSysData stored;
  stored.paramPi = "";
  stored.paramF = "-";
  Store(stored);
  const CliRun run = RunCli({"--settings", path, "Pi*2", "f+1"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.starts_with(std::string(kPiText) + "*2=6.2831853072\n")) << run.out;
  EXPECT_TRUE(run.out.ends_with("\n1+1=2\n")) << run.out;
  EXPECT_NE(run.err.find("warning: the Pi in the settings file is not a number"), std::string::npos)
      << run.err;
  EXPECT_NE(run.err.find("warning: the parameter F"), std::string::npos) << run.err;
}

TEST_F(SettingsCliTest, ADamagedFileIsRefusedUntilRepaired) {
  CSysData stored;
  for (int i = 0; i < 1000; ++i)
    stored.logLines.push_back("2026-12-06 20:55   Dec:1+" + std::to_string(i));
  std::string bytes = EncodeSysData(stored);
  bytes[1 + kSysDataHeader.size() + 4 * 2] = static_cast<char>(254);  // Pi's length
  folder.Write("SysData.dat", bytes);
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"--settings", path, "1+1"}, {"log", "--settings", path}}) {
    const CliRun run = RunCli(args);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("is damaged. 'calvoro-cli log --repair'"), std::string::npos) << run.err;
  }
  EXPECT_TRUE(testing::ReadFile(path) == bytes);
  const CliRun repaired = RunCli({"log", "--repair", "--settings", path});
  EXPECT_EQ(repaired.status, 0) << repaired.err;
  EXPECT_NE(repaired.err.find(path + ".damaged-"), std::string::npos) << repaired.err;
  EXPECT_EQ(RunCli({"--settings", path, "1+1"}).status, 0);
}

TEST_F(SettingsCliTest, ASettingsFolderOthersMayWriteToIsNotUsed) {
  const std::string base = folder.Path("config");
  std::filesystem::create_directories(base + "/calvoro");
  std::filesystem::permissions(base + "/calvoro", std::filesystem::perms::all);
  const std::string command = "XDG_CONFIG_HOME=" + testing_cli::Quote(base) + " " +
                              testing_cli::Quote(CALVORO_CLI) + " 1+1 2>" +
                              testing_cli::Quote(folder.Path("err"));
  const int status = std::system(command.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 2);
  EXPECT_NE(testing::ReadFile(folder.Path("err")).find("others may write to it"),
            std::string::npos);
  EXPECT_TRUE(std::filesystem::is_empty(base + "/calvoro"));
}

}  // namespace
}  // namespace calvoro
