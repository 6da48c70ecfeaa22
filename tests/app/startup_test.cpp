// Start-up and window styles.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_folder.h"

namespace calvoro {
namespace {

TEST(StartupTest, WindowForStoredStyle) {
  const std::pair<std::int32_t, StartWindow> cases[] = {
      {1, StartWindow::Standard},  {0, StartWindow::Standard}, {6, StartWindow::Standard},
      {-1, StartWindow::Standard}, {2, StartWindow::Mini},     {3, StartWindow::Unit},
      {5, StartWindow::Complex},   {4, StartWindow::None},     {2147483647, StartWindow::Standard},
  };
  for (const auto& [style, window] : cases) EXPECT_EQ(WindowForStyle(style), window) << style;
}

// The start-up reads the style from the file that the style command wrote.
TEST(StartupTest, StyleChosenInOneRunOpensTheNextRun) {
  const testing::TestFolder folder("startup");
  const std::string path = folder.Path("SysData.dat");

  EXPECT_EQ(ChooseStartWindow(path), StartWindow::Standard);  // no file yet

  CSysDataManager window(path);
  window.Load();
  SelectStyle(window.data, kStyleMini, [&] { window.Save(); });
  EXPECT_EQ(ChooseStartWindow(path), StartWindow::Mini);
  SelectStyle(window.data, kStyleNone, [&] { window.Save(); });
  EXPECT_EQ(ChooseStartWindow(path), StartWindow::None);
}

TEST(StartupTest, StyleMenus) {
  using Menu = std::array<StyleMenuItem, 3>;
  const StyleMenuItem standard{"  Standard Expression Calculator", 1};
  const StyleMenuItem mini{"  Calvoro", 2};
  const StyleMenuItem unit{"  Conversion Expression Calculator", 3};
  const StyleMenuItem complex{"  Complex Expression Calculator", 5};
  EXPECT_EQ(StyleMenuOf(1), (Menu{mini, unit, complex}));
  EXPECT_EQ(StyleMenuOf(2), (Menu{standard, unit, complex}));
  EXPECT_EQ(StyleMenuOf(3), (Menu{standard, mini, complex}));
  EXPECT_EQ(StyleMenuOf(5), (Menu{standard, mini, unit}));
  EXPECT_EQ(StyleMenuOf(4), (Menu{mini, unit, complex}));
  EXPECT_EQ(StyleMenuOf(-7), (Menu{mini, unit, complex}));
  EXPECT_EQ(StyleMenuText(4), "");
}

TEST(StartupTest, SelectStyleStoresAndSaves) {
  CSysData record;
  CSysData saved;
  const auto save = [&] { saved = record; };
  const std::pair<std::int32_t, std::string> notices[] = {
      {1, "standard"}, {2, "mini"}, {3, "unit"}, {5, "complex"}};
  for (const auto& [value, name] : notices) {
    EXPECT_EQ(SelectStyle(record, value, save),
              "You have select the " + name +
                  " style.Please exit the calculator and restart it, then you could use the " +
                  name + " style.Thank you.\r\n");
    EXPECT_EQ(saved.windowStyle, value);
  }
  EXPECT_EQ(SelectStyle(record, kStyleNone, save), "");
  EXPECT_EQ(saved.windowStyle, 4);
}

}  // namespace
}  // namespace calvoro
