// Start-up and window styles.
#include "app/startup.h"

#include <gtest/gtest.h>

#include <string>

#include "tests/support/test_folder.h"

namespace calvoro {
namespace {

TEST(StartupTest, WindowForStoredStyle) {
  const std::pair<std::int32_t, WindowStyle> cases[] = {
      {1, WindowStyle::Standard},  {0, WindowStyle::Standard}, {6, WindowStyle::Standard},
      {-1, WindowStyle::Standard}, {2, WindowStyle::Mini},     {3, WindowStyle::Conversion},
      {5, WindowStyle::Complex},   {4, WindowStyle::None},     {2147483647, WindowStyle::Standard},
  };
  for (const auto& [code, style] : cases) EXPECT_EQ(WindowStyleOfCode(code), style) << code;
}

// The start-up reads the style from the file that the style command wrote.
TEST(StartupTest, StyleChosenInOneRunOpensTheNextRun) {
  const testing::TestFolder folder("startup");
  const std::string path = folder.Path("SysData.dat");

  EXPECT_EQ(ChooseStartWindow(path), WindowStyle::Standard);  // no file yet

  CSysDataManager window(path);
  window.Load();
  SelectStyle(window.data, WindowStyle::Mini, [&] { window.Save(); });
  EXPECT_EQ(ChooseStartWindow(path), WindowStyle::Mini);
  SelectStyle(window.data, WindowStyle::None, [&] { window.Save(); });
  EXPECT_EQ(ChooseStartWindow(path), WindowStyle::None);
}

TEST(StartupTest, StyleMenus) {
  using Menu = std::array<StyleMenuItem, 3>;
  const StyleMenuItem standard{"  Standard Expression Calculator", WindowStyle::Standard};
  const StyleMenuItem mini{"  Calvoro", WindowStyle::Mini};
  const StyleMenuItem unit{"  Conversion Expression Calculator", WindowStyle::Conversion};
  const StyleMenuItem complex{"  Complex Expression Calculator", WindowStyle::Complex};
  EXPECT_EQ(StyleMenuOf(WindowStyle::Standard), (Menu{mini, unit, complex}));
  EXPECT_EQ(StyleMenuOf(WindowStyle::Mini), (Menu{standard, unit, complex}));
  EXPECT_EQ(StyleMenuOf(WindowStyle::Conversion), (Menu{standard, mini, complex}));
  EXPECT_EQ(StyleMenuOf(WindowStyle::Complex), (Menu{standard, mini, unit}));
  EXPECT_EQ(StyleMenuOf(WindowStyle::None), (Menu{mini, unit, complex}));
  EXPECT_EQ(StyleMenuText(WindowStyle::None), "");
}

TEST(StartupTest, SelectStyleStoresAndSaves) {
  CSysData record;
  CSysData saved;
  const auto save = [&] { saved = record; };
  const std::pair<WindowStyle, std::string> notices[] = {{WindowStyle::Standard, "standard"},
                                                         {WindowStyle::Mini, "mini"},
                                                         {WindowStyle::Conversion, "unit"},
                                                         {WindowStyle::Complex, "complex"}};
  for (const auto& [value, name] : notices) {
    EXPECT_EQ(SelectStyle(record, value, save),
              "You have select the " + name +
                  " style.Please exit the calculator and restart it, then you could use the " +
                  name + " style.Thank you.\r\n");
    EXPECT_EQ(saved.windowStyle, value);
  }
  EXPECT_EQ(SelectStyle(record, WindowStyle::None, save), "");
  EXPECT_EQ(saved.windowStyle, WindowStyle::None);
}

}  // namespace
}  // namespace calvoro
