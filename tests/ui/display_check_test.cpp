// Where the window goes before Qt starts: native Wayland, X (XWayland too),
// a platform named by the user, or one line instead of an abort. And the
// skin's picture: transparent where the outline is cut.
#include "ui/display_check.h"

#include <gtest/gtest.h>

#include <QRegion>

#include "ui/skin.h"

namespace calvoro::ui {
namespace {

TEST(DisplayCheckTest, ChoosesAPlatformThatCanStartOrSaysWhyNone) {
  // W: WAYLAND_DISPLAY=wayland-1, X: DISPLAY=:1; "answers" and "plugin" as probed.
  struct Case {
    const char* name;
    DisplayEnvironment environment;
    const char* platform;
    const char* says;  // in the message, or in the notice when a platform is chosen
  } cases[] = {
      {"nothing", {}, "", "(DISPLAY and WAYLAND_DISPLAY are unset)"},
      {"X session", {"", "x11", "", ":1", false, false, true}, "xcb", ""},
      {"X that does not answer",
       {"", "x11", "", ":1", false, false, false},
       "",
       "DISPLAY=:1 does not answer"},
      {"Wayland session", {"", "wayland", "wayland-1", ":1", true, true, true}, "wayland", ""},
      {"Wayland without a session type",
       {"", "", "wayland-1", "", true, true, false},
       "wayland",
       ""},
      {"Wayland without Qt's plugin: XWayland",
       {"", "wayland", "wayland-1", ":1", true, false, true},
       "xcb",
       "qt6-wayland"},
      {"Wayland without the plugin nor X",
       {"", "wayland", "wayland-1", "", true, false, false},
       "",
       "qt6-wayland"},
      {"a dead compositor: XWayland",
       {"", "", "wayland-9", ":1", false, false, true},
       "xcb",
       "WAYLAND_DISPLAY=wayland-9 does not answer"},
      {"a dead compositor alone",
       {"", "", "wayland-9", "", false, false, false},
       "",
       "WAYLAND_DISPLAY=wayland-9 does not answer; DISPLAY is unset"},
      {"X session with a stray compositor",
       {"", "x11", "wayland-1", ":1", true, true, true},
       "xcb",
       ""},
      {"X session whose X is gone",
       {"", "x11", "wayland-1", ":1", true, true, false},
       "wayland",
       ""},
      {"asked for xcb", {"xcb", "wayland", "wayland-1", ":1", true, true, true}, "xcb", ""},
      {"asked for xcb, no X",
       {"xcb", "wayland", "wayland-1", "", true, true, false},
       "",
       "DISPLAY is unset"},
      {"asked for wayland, no plugin",
       {"wayland", "", "wayland-1", ":1", true, false, true},
       "",
       "qt6-wayland"},
      {"asked for offscreen", {"offscreen", "", "", "", false, false, false}, "offscreen", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const DisplayChoice choice = ChooseDisplay(c.environment);
    EXPECT_EQ(choice.platform, c.platform);
    const std::string& text = choice.platform.empty() ? choice.message : choice.notice;
    EXPECT_NE(text.find(c.says), std::string::npos) << text;
    if (choice.platform.empty()) {
      EXPECT_EQ(choice.message.rfind("calvoro: ", 0), 0u);
      EXPECT_EQ(choice.message.find('\n'), std::string::npos);
      EXPECT_NE(choice.message.find("calvoro-cli"), std::string::npos);
    }
  }
}

TEST(DisplayCheckTest, TheSkinIsTransparentWhereTheOutlineIsCut) {
  const QImage picture = WindowPicture(QSize(200, 100), QStringLiteral("Title"));
  const QRegion kept(OutlineMask(picture));
  for (const QPoint p : {QPoint(0, 0), QPoint(199, 0), QPoint(0, 99), QPoint(199, 99)}) {
    EXPECT_EQ(qAlpha(picture.pixel(p)), 0);
    EXPECT_FALSE(kept.contains(p));
  }
  for (const QPoint p : {QPoint(100, 50), QPoint(100, 0), QPoint(0, 50)}) {
    EXPECT_EQ(qAlpha(picture.pixel(p)), 255);
    EXPECT_TRUE(kept.contains(p));
  }
}

}  // namespace
}  // namespace calvoro::ui
