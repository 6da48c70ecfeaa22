// The Help buttons' file: calvoro.chm first, else our page, else a message.
#include <QFile>

#include "tests/support/recording_sink.h"
#include "tests/ui/ui_test_support.h"
#include "ui/help.h"

namespace calvoro::ui {
namespace {

TEST(HelpTest, PrefersTheChmThenOurPage) {
  struct Case {
    bool chm, page;
    const char* expected;
  } cases[] = {
      {false, false, ""},
      {false, true, "calvoro-help.html"},
      {true, false, "calvoro.chm"},
      {true, true, "calvoro.chm"},
  };
  for (const Case& c : cases) {
    calvoro::testing::TempSettings folder;
    const QString dir = QString::fromStdString(folder.path()).section('/', 0, -2);
    if (c.chm) QFile(dir + "/calvoro.chm").open(QIODevice::WriteOnly);
    if (c.page) QFile(dir + "/calvoro-help.html").open(QIODevice::WriteOnly);
    const QString found = HelpFile(dir);
    EXPECT_EQ(found.section('/', -1), QString::fromLatin1(c.expected)) << c.chm << c.page;
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
