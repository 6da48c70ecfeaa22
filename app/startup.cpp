// Start-up and window styles.
#include "app/startup.h"

#include <algorithm>

namespace calvoro {

StartWindow WindowForStyle(std::int32_t window_style) {
  switch (window_style) {
    case kStyleMini:
      return StartWindow::Mini;
    case kStyleUnit:
      return StartWindow::Unit;
    case kStyleComplex:
      return StartWindow::Complex;
    case kStyleNone:
      return StartWindow::None;
    default:
      return StartWindow::Standard;
  }
}

StartWindow ChooseStartWindow(const std::string& settings_path) {
  CSysDataManager stored(settings_path);
  stored.Load();
  return WindowForStyle(stored.data.windowStyle);
}

void MarkFreshStart(CSysData& window_record) { window_record.freshStart = 1; }

std::string_view StyleMenuText(std::int32_t style) {
  switch (style) {
    case kStyleStandard:
      return "  Standard Expression Calculator";
    case kStyleMini:
      return "  Calvoro";
    case kStyleUnit:
      return "  Conversion Expression Calculator";
    case kStyleComplex:
      return "  Complex Expression Calculator";
    default:
      return {};
  }
}

std::array<StyleMenuItem, 3> StyleMenuOf(std::int32_t style) {
  constexpr std::array<std::int32_t, 4> kStyles = {kStyleStandard, kStyleMini, kStyleUnit,
                                                   kStyleComplex};
  if (std::find(kStyles.begin(), kStyles.end(), style) == kStyles.end()) style = kStyleStandard;
  std::array<StyleMenuItem, 3> menu{};
  std::size_t n = 0;
  for (std::int32_t other : kStyles) {
    if (other != style) menu[n++] = {StyleMenuText(other), other};
  }
  return menu;
}

std::string_view StyleNoticeText(std::int32_t value) {
  switch (value) {
    case kStyleStandard:
      return "You have select the standard style.Please exit the calculator and restart it, then "
             "you could use the standard style.Thank you.\r\n";
    case kStyleMini:
      return "You have select the mini style.Please exit the calculator and restart it, then you "
             "could use the mini style.Thank you.\r\n";
    case kStyleUnit:
      return "You have select the unit style.Please exit the calculator and restart it, then you "
             "could use the unit style.Thank you.\r\n";
    case kStyleComplex:
      return "You have select the complex style.Please exit the calculator and restart it, then "
             "you could use the complex style.Thank you.\r\n";
    default:
      return {};
  }
}

std::string_view SelectStyle(CSysData& record, std::int32_t value,
                             const std::function<void()>& save) {
  record.windowStyle = value;
  if (save) save();
  return StyleNoticeText(value);
}

}  // namespace calvoro
