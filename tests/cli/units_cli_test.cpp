// calvoro-cli convert and units run as a program.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "tests/cli/run_cli.h"
#include "tests/support/test_folder.h"

namespace {

using testing_cli::CliRun;
using testing_cli::ReadFile;
using testing_cli::RunCli;

// A settings file path that does not exist: the defaults.
std::string NoSettings() { return ::testing::TempDir() + "/calvoro_units_none.dat"; }

std::vector<std::string> Convert(std::vector<std::string> args) {
  args.insert(args.begin(), "convert");
  args.insert(args.end(), {"--settings", NoSettings()});
  return args;
}

// The bytes of a default settings file with the given precision and threshold.
std::string SettingsFile(std::int32_t precision, std::int32_t threshold) {
  std::string bytes;
  const auto text = [&](std::string_view t) {
    bytes += static_cast<char>(t.size());
    bytes += t;
  };
  const auto int32 = [&](std::int32_t v) {
    for (int i = 0; i < 4; ++i)
      bytes += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
  };
  text("SysData Manager - StoreObject");
  for (int i = 0; i < 4; ++i) text("1");
  text(
      "3.14159265358979323846264338327950288419716939937510582097494459230781640628620899862803482"
      "534211706798");
  const double spare = 0.0123;
  char raw[8];
  std::memcpy(raw, &spare, 8);
  bytes.append(raw, 8);
  for (std::int32_t v : {1, 0, 1, 0, 0, 0, 1, 1}) int32(v);  // options, log, reserved, angle, tray
  bytes += '\x0a';
  bytes += '\x01';
  for (std::int32_t v : {10, 1, 1, 0, 0, precision, threshold, 0, 1}) int32(v);
  text("");
  int32(0);
  text("");
  for (std::int32_t v : {0, 0, 0, 10, 0, 0}) int32(v);
  return bytes;
}

struct CliCase {
  std::vector<std::string> args;
  int status;
  std::string out;
  std::string err;
};

TEST(UnitsCliTest, ConvertPrintsTheConvertedValue) {
  const CliCase cases[] = {
      {Convert({"1", "metre/second [m/s]", "kilometre/hour", "--category", "speed"}), 0, "3.6\n",
       ""},
      {Convert({"3", "inch", "foot(UK and US)", "--category", " Length "}), 0, "0.25\n", ""},
      {Convert({"-40", "Celsius (C)", "Fahrenheit (F)", "--category", "temperature"}), 0, "-40\n",
       ""},
      {Convert({"1.5e3", "metre", "kilometre", "--category", "length"}), 0, "1.5\n", ""},
      {Convert({"--precision", "3", "2", "metre", "foot(UK and US)", "--category", "length"}), 0,
       "6.562\n", ""},
      {Convert({"1", "parsec", "angstroms", "--category", "length", "--threshold", "5"}), 0,
       "3.085677E+26\n", ""},
      // Refused by the engine: exit 1 with its message.
      {Convert({"1.2.3", "inch", "metre", "--category", "length"}), 1, "",
       "Calvoro Warning Message: Sorry, the input number 1.2.3 is invalid.\n"},
      // Names that are not in the category.
      {Convert({"3", "inch", "foot", "--category", "length"}), 2, "",
       "calvoro-cli: no unit 'foot' in length; nearest: 'foot(UK and US)', 'foot(US survey)', "
       "'fathom'\n"},
      {Convert({"1", "m/s", "knot", "--category", "speed"}), 2, "",
       "calvoro-cli: no unit 'm/s' in speed; nearest: 'metre/second [m/s]', 'knot', 'mile/hour'\n"},
      {Convert({"1", "a", "b", "--category", "lengths"}), 2, "",
       "calvoro-cli: unknown category 'lengths'; categories: area, length, mass, volume, force, "
       "power, energy, time, temperature, press, speed, prefixes, currency\n"},
  };
  for (const auto& c : cases) {
    const CliRun run = RunCli(c.args);
    EXPECT_EQ(run.status, c.status) << c.args[1];
    EXPECT_EQ(run.out, c.out) << c.args[1];
    EXPECT_EQ(run.err, c.err) << c.args[1];
  }
}

TEST(UnitsCliTest, UsageErrors) {
  const std::vector<std::string> cases[] = {
      Convert({"1", "metre", "--category", "length"}),
      Convert({"1", "metre", "inch"}),
      Convert({"1", "metre", "inch", "--category", "length", "--precision", "1000001"}),
      Convert({"1", "metre", "inch", "--category", "length", "--threshold", "-1"}),
      Convert({"1", "metre", "inch", "--category", "length", "--precision"}),
      Convert({"1", "metre", "inch", "--category", "length", "--bogus"}),
      {"units", "length", "area"},
  };
  for (const auto& args : cases)
    EXPECT_TRUE(testing_cli::IsUsageError(RunCli(args), args[0])) << args.back();
}

TEST(UnitsCliTest, SettingsFileGivesPrecisionAndIsNeverWritten) {
  const calvoro::testing::TestFolder folder("units_cli");
  const std::string bytes = SettingsFile(3, 100);
  ASSERT_EQ(bytes.size(), 250u);
  const std::string path = folder.Write("SysData.dat", bytes);
  const std::vector<std::string> args = {"convert",    "1",      "inch",       "foot(UK and US)",
                                         "--category", "length", "--settings", path};
  EXPECT_EQ(RunCli(args).out, "0.083\n");
  auto with_precision = args;
  with_precision.insert(with_precision.end(), {"--precision", "5"});
  EXPECT_EQ(RunCli(with_precision).out, "0.08333\n");
  EXPECT_EQ(ReadFile(path), bytes);
}

TEST(UnitsCliTest, UnitsListsCategoriesAndRows) {
  CliRun run = RunCli({"units"});
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out,
            "area\nlength\nmass\nvolume\nforce\npower\nenergy\ntime\ntemperature\npress\nspeed\n"
            "prefixes\ncurrency\n");
  run = RunCli({"units", "Speed"});
  EXPECT_EQ(run.status, 0);
  EXPECT_TRUE(run.out.starts_with("centimetre/minute\t1/6000\ncentimetre/second\t0.01\n"));
  EXPECT_NE(run.out.find("\nkilometre/hour\t1/3.6\n"), std::string::npos);
  EXPECT_TRUE(run.out.ends_with("\nyard/second\t0.9144\n"));
  run = RunCli({"units", "temperature"});
  EXPECT_EQ(run.out, "Celsius (C)\tx*9/5+32\nFahrenheit (F)\t(x-32)*5/9\n");
  run = RunCli({"units", "nope"});
  EXPECT_EQ(run.status, 2);
  EXPECT_TRUE(run.err.starts_with("calvoro-cli: unknown category 'nope'; categories: area,"));
}

}  // namespace
