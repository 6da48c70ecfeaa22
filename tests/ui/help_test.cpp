// The Help buttons' file: calvoro.chm first, else our page beside the
// program, else our page where it is installed, else a message.
#include <QDir>
#include <QFile>
#include <QTest>
#include <vector>

#include "tests/support/recording_sink.h"
#include "tests/ui/ui_test_support.h"
#include "ui/help.h"
#include "ui/qt_text.h"

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
  QObject context;
  OpenHelp(sink, &context);
  ASSERT_EQ(sink.messages.size(), 1u);
  EXPECT_EQ(sink.messages[0].caption, "Calvoro Message");
  // It names the files looked for, where they were looked for.
  for (const QString& file : HelpCandidates(QCoreApplication::applicationDirPath()))
    EXPECT_NE(sink.messages[0].text.find(FromQt(file)), std::string::npos) << FromQt(file);
}

TEST(HelpTest, AHelpFileTheDesktopCannotOpenIsReported) {
  // xdg-open without a browser ends with status 3, one that fails otherwise
  // with 4; one that opens succeeds.
  struct Case {
    int status;
    const char* message;  // before the path, and after it
    const char* after;
  };
  for (const Case& c : {Case{3, "Sorry, no program to open the help file ", " was found."},
                        Case{4, "The help file ", " could not be opened."}, Case{0, "", ""}}) {
    const int status = c.status;
    calvoro::testing::TempSettings folder;
    const QString dir = QString::fromStdString(folder.path()).section('/', 0, -2);
    QFile opener(dir + "/xdg-open");
    ASSERT_TRUE(opener.open(QIODevice::WriteOnly));
    opener.write(QByteArray("#!/bin/sh\nexit ") + QByteArray::number(status) + "\n");
    opener.close();
    opener.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", dir.toLocal8Bit() + ":" + path);
    calvoro::testing::RecordingSink sink;
    QObject context;
    OpenHelpFile(dir + "/calvoro-help.html", sink, &context);
    qputenv("PATH", path);
    if (status == 0) {
      QTest::qWait(300);
      EXPECT_TRUE(sink.empty());
      continue;
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !sink.empty(); }, 5000));
    EXPECT_EQ(sink.messages[0].text, c.message + FromQt(dir) + "/calvoro-help.html" + c.after);
  }
}

}  // namespace
}  // namespace calvoro::ui
