// The Help buttons' file: calvoro.chm first, else our page beside the
// program, else our page where it is installed, else a message.
#include <QDir>
#include <QFile>
#include <vector>

#include "tests/support/recording_sink.h"
#include "tests/ui/ui_test_support.h"
#include "ui/help.h"

namespace calvoro::ui {
namespace {

TEST(HelpTest, PrefersTheChmThenThePageBesideTheProgramThenTheInstalledPage) {
  // The program is in bin/; the files of each case are made below the folder.
  struct Case {
    std::vector<const char*> files;
    const char* expected;
  } cases[] = {
      {{}, ""},
      {{"bin/calvoro-help.html"}, "bin/calvoro-help.html"},
      {{"bin/calvoro.chm"}, "bin/calvoro.chm"},
      {{"bin/calvoro.chm", "bin/calvoro-help.html"}, "bin/calvoro.chm"},
      {{"share/calvoro/calvoro-help.html"}, "share/calvoro/calvoro-help.html"},
      {{"bin/calvoro-help.html", "share/calvoro/calvoro-help.html"}, "bin/calvoro-help.html"},
      {{"share/calvoro-help.html", "calvoro/calvoro-help.html"}, ""},
  };
  for (const Case& c : cases) {
    calvoro::testing::TempSettings folder;
    const QDir dir(QString::fromStdString(folder.path()).section('/', 0, -2));
    dir.mkpath(QStringLiteral("bin"));
    for (const char* file : c.files) {
      dir.mkpath(QString::fromLatin1(file).section('/', 0, -2));
      QFile(dir.filePath(QString::fromLatin1(file))).open(QIODevice::WriteOnly);
    }
    const QString found = HelpFile(dir.filePath(QStringLiteral("bin")));
    EXPECT_EQ(found.isEmpty() ? QString() : dir.relativeFilePath(found), QString::fromLatin1(c.expected))
        << c.files.size() << " files, expected " << c.expected;
  }
}

TEST(HelpTest, AMissingHelpFileIsReported) {
  // The tests run beside no help file.
  calvoro::testing::RecordingSink sink;
  OpenHelp(sink);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].caption, "Calvoro Message");
  EXPECT_NE(sink.messages[0].text.find("calvoro.chm"), std::string::npos);
}

}  // namespace
}  // namespace calvoro::ui
