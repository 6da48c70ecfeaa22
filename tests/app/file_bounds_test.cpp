// The settings file's bounds and guards: lines and the whole file bounded in
// bytes, damaged files never written over, numbers that are none mended,
// a held lock that loses nothing, unsafe folders and other hosts'
// temporaries left alone, and the save scheduler.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "app/calculator_model.h"
#include "app/safe_file.h"
#include "app/save_scheduler.h"
#include "app/sys_data.h"
#include "app/window_start.h"
#include "tests/support/recording_sink.h"
#include "tests/support/test_folder.h"

namespace calvoro {
namespace {

namespace fs = std::filesystem;
using testing::ReadFile;
using testing::TestFolder;

const std::string kHead = "2026-12-08 10:00   Dec:";

TEST(FileBoundsTest, LongLinesKeepTheirBeginningAndAMarkWithinTheBound) {
  const struct {
    std::string line;
    std::string expectedStart;  // after the head
    std::string expectedEnd;
  } cases[] = {
      {kHead + "1+1=2", "1+1=2", "=2"},
      // An integer of 200,000 digits: its first digits, the count left out
      // and the exponent of its first digit.
      {kHead + "7^x=" + std::string(200000, '7'), "7^x=7.777", "digits left out]E+199999"},
      {kHead + "x=-0.000" + std::string(100000, '3'), "x=-3.333", "digits left out]E-4"},
      {kHead + "x=(12" + std::string(100000, '5') + "E+7)", "x=(1.255",
       "digits left out]E+100008)"},
      // A long input before a short result keeps the result.
      {kHead + std::string(100000, '1') + "+1=2", "11111", "bytes left out]=2"},
      // A long input before a long result: both are cut, the input to half.
      {kHead + "0." + std::string(100000, '3') + "*3=" + std::string(100000, '9'), "0.333",
       "digits left out]E+99999"},
      // Neither a number nor an "=": its beginning.
      {kHead + std::string(100000, 'x'), "xxxx", "bytes left out]"},
  };
  for (const auto& c : cases) {
    std::string line = c.line;
    BoundLogLine(line);
    EXPECT_LE(line.size(), kMaxLogLineBytes);
    EXPECT_TRUE(line.starts_with(kHead + c.expectedStart)) << line.substr(0, 60);
    EXPECT_TRUE(line.ends_with(c.expectedEnd)) << line.substr(line.size() - 60);
  }
}

TEST(FileBoundsTest, AFileAtTheBoundsStaysUnder64MegabytesAndKeepsTheNewestLines) {
  const TestFolder folder("bounds_file");
  const std::string path = folder.Path("SysData.dat");
  CSysData seed;
  for (int i = 0; i < 1100; ++i)
    seed.logLines.push_back(kHead + std::to_string(i) + "=" + std::string(60000, '1'));
  ASSERT_TRUE(CSysDataManager(path).Save(seed));  // written as it stands: 66 MB
  CSysDataManager manager(path);
  EXPECT_TRUE(manager.Load());
  EXPECT_LT(manager.data.logLines.size(), 1100u);
  manager.data.logLines.push_back(kHead + "1+1=2");
  ASSERT_TRUE(manager.Save());
  EXPECT_LT(fs::file_size(path), std::uintmax_t{64} << 20);
  CSysDataManager reader(path);
  ASSERT_TRUE(reader.Load());
  EXPECT_EQ(reader.data.logLines.back(), kHead + "1+1=2");
  EXPECT_TRUE(reader.data.logLines[reader.data.logLines.size() - 2].starts_with(kHead + "1099="));
}

TEST(FileBoundsTest, EveryFieldKeepsItsByteBoundAndTheFileStaysUnderItsBound) {
  const TestFolder folder("bounds_fields");
  const std::string path = folder.Path("SysData.dat");
  const std::string at_bound(kMaxParameterBytes, '7');
  const std::string over_bound = at_bound + "7";
  const std::string long_text(kMaxConversionTextBytes + 1, 'x');
  // Every field at or over its bound, and a full log.
  CSysData record;
  record.paramF = over_bound;
  record.paramK = at_bound;
  record.paramM = at_bound;
  record.paramW = at_bound;
  record.paramPi = at_bound;
  record.savedExpression = std::string(kMaxSavedTextBytes + 1, '1');
  record.savedInputText = std::string(kMaxSavedTextBytes, '2');
  record.conversionItems = {{"a", long_text, "too long", 1}, {"b", "0.3048", "kept", 1}};
  for (int i = 0; i < 200; ++i)
    record.conversionItems.push_back({"c", std::string(60000, '5'), "bulk", 1});
  for (int i = 0; i < 1100; ++i)
    record.logLines.push_back(kHead + std::to_string(i) + "=" + std::string(60000, '1'));
  BoundLog(record.logLines);
  ASSERT_TRUE(CSysDataManager(path).Save(record));
  EXPECT_LE(fs::file_size(path), kMaxSettingsFileBytes);

  CSysDataManager manager(path);
  ASSERT_TRUE(manager.Load());
  const CSysData& loaded = manager.data;
  const struct {
    const char* field;
    bool kept;
  } cases[] = {
      {"F over its bound: written empty, read as its default", loaded.paramF == "1"},
      {"K at its bound", loaded.paramK == at_bound},
      {"Pi at its bound", loaded.paramPi == at_bound},
      {"saved expression over its bound: not saved", loaded.savedExpression.empty()},
      {"saved input at its bound", loaded.savedInputText == record.savedInputText},
      {"conversion item with a long text: not saved",
       loaded.conversionItems.front().description == "kept"},
      {"conversion items within their bytes",
       loaded.conversionItems.size() > 2 && loaded.conversionItems.size() < 200},
      {"the whole log", loaded.logLines == record.logLines},
  };
  for (const auto& c : cases) EXPECT_TRUE(c.kept) << c.field;

  // An assignment beyond the bound is refused and changes nothing.
  testing::RecordingSink sink;
  CalculatorModel session(path, sink);
  EXPECT_FALSE(session.Calculate("(w)=" + over_bound).ok);
  EXPECT_EQ(session.data().paramW, at_bound);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].text,
            "Sorry, the value has 2097153 characters, too many to keep as the parameter W: a "
            "parameter keeps at most 2097152 characters.");
}

TEST(FileBoundsTest, ADamagedFileIsNeverWrittenOverButCanBeRepaired) {
  const TestFolder folder("bounds_damaged");
  const std::string path = folder.Path("SysData.dat");
  CSysData record;
  for (int i = 0; i < 1000; ++i) record.logLines.push_back(kHead + std::to_string(i) + "+1");
  std::string bytes = EncodeSysData(record);
  // The length byte of Pi, after the header and the four parameters.
  const std::size_t pi_length = 1 + kSysDataHeader.size() + 4 * 2;
  ASSERT_EQ(static_cast<unsigned char>(bytes[pi_length]), record.paramPi.size());
  bytes[pi_length] = static_cast<char>(254);
  folder.Write("SysData.dat", bytes);

  CSysDataManager manager(path);
  EXPECT_FALSE(manager.Load());
  EXPECT_EQ(manager.fileState(), SettingsFileState::kDamaged);
  manager.data.logLines.push_back(kHead + "1+1=2");
  EXPECT_FALSE(manager.Save());
  EXPECT_NE(manager.saveError().find("log --repair"), std::string::npos);
  EXPECT_TRUE(ReadFile(path) == bytes);
  EXPECT_FALSE(CSysDataManager(path).Save(CSysData{}));

  CSysDataManager repairer(path);
  repairer.Load();
  ASSERT_TRUE(repairer.Repair());
  EXPECT_TRUE(ReadFile(repairer.repairedAside) == bytes);
  EXPECT_TRUE(repairer.repairedAside.starts_with(path + ".damaged-"));
  CSysDataManager reader(path);
  EXPECT_TRUE(reader.Load());
  EXPECT_EQ(reader.fileState(), SettingsFileState::kUsable);
  EXPECT_EQ(reader.data.paramPi, CSysData{}.paramPi);
}

TEST(FileBoundsTest, AnEmptyPiAndALoneSignGetTheirDefaultsWithAWarning) {
  const TestFolder folder("bounds_numbers");
  const std::string path = folder.Path("SysData.dat");
  CSysData record;
  record.paramPi = "";
  record.paramF = "-";
  ASSERT_TRUE(CSysDataManager(path).Save(record));
  CSysDataManager manager(path);
  ASSERT_TRUE(manager.Load());
  EXPECT_EQ(manager.data.paramPi, CSysData{}.paramPi);
  EXPECT_EQ(manager.data.paramF, "1");
  // A window shows each warning at its start.
  testing::RecordingSink sink;
  InitialiseShellRecord(manager, sink);
  ASSERT_EQ(sink.messages.size(), 2u);
  EXPECT_TRUE(sink.messages[0].text.starts_with("The parameter F in the settings file"));
  EXPECT_TRUE(sink.messages[1].text.starts_with("The Pi in the settings file is not a number"))
      << sink.messages[1].text;
}

TEST(FileBoundsTest, AHeldLockKeepsTheLinesForTheNextSave) {
  const TestFolder folder("bounds_lock");
  const std::string path = folder.Path("SysData.dat");
  ASSERT_TRUE(CSysDataManager(path).Save(CSysData{}));
  CSysDataManager batch(path);
  batch.Load();
  batch.data.logLines = {kHead + "1+1=2", kHead + "2+2=4"};
  batch.lockTimeout = std::chrono::milliseconds(50);
  std::string pending;
  {
    const FileLock holder(path, std::chrono::milliseconds(0));
    ASSERT_TRUE(holder.ok());
    EXPECT_FALSE(batch.Save());
    EXPECT_TRUE(batch.lockHeld());
    EXPECT_NE(batch.saveError().find(path + ".lock is held by process " + std::to_string(getpid())),
              std::string::npos)
        << batch.saveError();
    pending = batch.SavePending();
  }
  ASSERT_EQ(pending, path + ".pending-" + std::to_string(getpid()));
  struct stat info {};
  ASSERT_EQ(stat(pending.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);

  CSysDataManager next(path);
  next.Load();
  next.data.logLines.push_back(kHead + "3+3=6");
  ASSERT_TRUE(next.Save());
  EXPECT_FALSE(fs::exists(pending));
  CSysDataManager reader(path);
  reader.Load();
  EXPECT_EQ(reader.data.logLines,
            (std::vector<std::string>{kHead + "1+1=2", kHead + "2+2=4", kHead + "3+3=6"}));
}

TEST(FileBoundsTest, LinksAndFifosAsTheLockAreRefused) {
  const TestFolder folder("bounds_lock_kinds");
  const std::string path = folder.Path("SysData.dat");
  fs::create_symlink(folder.Write("elsewhere", ""), path + ".lock");
  EXPECT_EQ(FileLock(path, std::chrono::milliseconds(0)).problem(),
            "the lock file " + path + ".lock is a symbolic link");
  fs::remove(path + ".lock");
  ASSERT_EQ(mkfifo((path + ".lock").c_str(), 0600), 0);
  EXPECT_EQ(FileLock(path, std::chrono::milliseconds(0)).problem(),
            "the lock file " + path + ".lock is not a regular file");
}

TEST(FileBoundsTest, FoldersOfOthersOrOpenToOthersAreNotUsed) {
  const TestFolder folder("bounds_folder");
  const std::string base = folder.Path("config");
  setenv("CALVORO_TEST_BASE", base.c_str(), 1);
  // A new folder is made private.
  const std::string made = UserFolder("CALVORO_TEST_BASE", "");
  EXPECT_EQ(fs::status(made).permissions() & fs::perms::all, fs::perms::owner_all);
  EXPECT_EQ(UnsafeFolderProblem(made), "");
  // One that others may write to is not used.
  fs::permissions(made, fs::perms::all);
  const std::string open = UserFolder("CALVORO_TEST_BASE", "");
  EXPECT_EQ(UnsafeFolderProblem(open), "others may write to it");
  CSysDataManager manager(open + "SysData.dat");
  manager.Load();
  EXPECT_EQ(manager.fileState(), SettingsFileState::kUnsafeFolder);
  EXPECT_FALSE(manager.Save());
  EXPECT_FALSE(fs::exists(open + "SysData.dat"));
  EXPECT_FALSE(fs::exists(open + "SysData.dat.lock"));
  unsetenv("CALVORO_TEST_BASE");
}

TEST(FileBoundsTest, AChosenSettingsFileIsUsedOnlyWhereNoOneElseCanReplaceIt) {
  const bool root = geteuid() == 0;  // only root can make files of another user
  const uid_t other = 65534;
  const struct {
    const char* name;
    std::function<std::string(const TestFolder&)> place;  // the settings path
    std::string problem;
  } cases[] = {
      {"a file of the user", [](const TestFolder& f) { return f.Path("S.dat"); }, ""},
      {"a link of the user",
       [](const TestFolder& f) {
         fs::create_symlink(f.Path("real.dat"), f.Path("S.dat"));
         return f.Path("S.dat");
       },
       ""},
      {"in a folder open to all with the sticky bit",
       [](const TestFolder& f) {
         fs::create_directory(f.Path("sticky"));
         chmod(f.Path("sticky").c_str(), 01777);
         return f.Path("sticky/S.dat");
       },
       ""},
      {"in a folder open to all",
       [](const TestFolder& f) {
         fs::create_directory(f.Path("open"));
         chmod(f.Path("open").c_str(), 0777);
         return f.Path("open/S.dat");
       },
       "anyone may replace it in the folder "},
      {"a link of another user",
       [&](const TestFolder& f) {
         fs::create_symlink(f.Path("real.dat"), f.Path("S.dat"));
         if (root) lchown(f.Path("S.dat").c_str(), other, other);
         return f.Path("S.dat");
       },
       root ? "it is a symbolic link of another user" : ""},
      {"a file of another user",
       [&](const TestFolder& f) {
         CSysDataManager(f.Path("S.dat")).Save(CSysData{});
         if (root) chown(f.Path("S.dat").c_str(), other, other);
         return f.Path("S.dat");
       },
       root ? "it belongs to another user" : ""},
  };
  for (const auto& c : cases) {
    const TestFolder folder("bounds_chosen");
    const std::string path = c.place(folder);
    CSysDataManager manager(path);
    manager.Load();
    manager.data.paramW = "9";
    EXPECT_EQ(manager.Save(), c.problem.empty()) << c.name;
    EXPECT_EQ(manager.fileState() == SettingsFileState::kUnsafeFile, !c.problem.empty()) << c.name;
    EXPECT_TRUE(manager.fileProblem().starts_with(c.problem)) << c.name;
    if (c.problem.empty()) continue;
    EXPECT_EQ(UnwritableSettingsText(manager),
              "The settings file " + path + " is not safe to use (" + manager.fileProblem() + ").")
        << c.name;
  }
}

TEST(FileBoundsTest, TemporariesOfAnotherHostAreNeverRemoved) {
  const TestFolder folder("bounds_host");
  const std::string path = folder.Path("SysData.dat");
  // A pid that is no process here may be a live writer on another host.
  const std::string other = "SysData.dat.tmp999999.some-other-host.aB3dE9";
  folder.Write(other, "partial");
  ASSERT_TRUE(CSysDataManager(path).Save(CSysData{}));
  EXPECT_TRUE(fs::exists(folder.Path(other)));
}

TEST(FileBoundsTest, TheSchedulerSavesTheLastChangeAndRetriesAFailedSave) {
  for (const bool fail_first : {false, true}) {
    std::atomic<int> saves = 0;
    std::atomic<int> value = 0;
    std::atomic<int> saved = -1;
    SaveScheduler scheduler(std::chrono::milliseconds(1), [&] {
      if (saves++ == 0 && fail_first) return false;
      saved = value.load();
      return true;
    });
    for (int i = 1; i <= 1000; ++i) {
      value = i;
      scheduler.Changed();
    }
    // A failed save is tried again without a further change.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (fail_first && saves < 2 && std::chrono::steady_clock::now() < end)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    scheduler.Stop();
    EXPECT_EQ(saved, 1000) << fail_first;
  }
}

}  // namespace
}  // namespace calvoro
