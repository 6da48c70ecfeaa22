// Start-up and window styles.
#include "app/startup.h"

#include <algorithm>

namespace calvoro {

WindowStyle ChooseStartWindow(const std::string& settings_path) {
  CSysDataManager stored(settings_path);
  stored.Load();
  return stored.data.windowStyle;
}

void MarkFreshStart(CSysData& window_record) { window_record.freshStart = true; }

std::string_view StyleMenuText(WindowStyle style) {
  switch (style) {
    case WindowStyle::Standard:
      return "  Standard Expression Calculator";
    case WindowStyle::Mini:
      return "  Calvoro";
    case WindowStyle::Conversion:
      return "  Conversion Expression Calculator";
    case WindowStyle::Complex:
      return "  Complex Expression Calculator";
    case WindowStyle::None:
      break;
  }
  return {};
}

std::array<StyleMenuItem, 3> StyleMenuOf(WindowStyle style) {
  constexpr std::array<WindowStyle, 4> kStyles = {WindowStyle::Standard, WindowStyle::Mini,
                                                  WindowStyle::Conversion, WindowStyle::Complex};
  if (style == WindowStyle::None) style = WindowStyle::Standard;
  std::array<StyleMenuItem, 3> menu{};
  std::size_t n = 0;
  for (WindowStyle other : kStyles) {
    if (other != style) menu[n++] = {StyleMenuText(other), other};
  }
  return menu;
}

std::string_view StyleNoticeText(WindowStyle value) {
  switch (value) {
    case WindowStyle::Standard:
      return "You have select the standard style.Please exit the calculator and restart it, then "
             "you could use the standard style.Thank you.\r\n";
    case WindowStyle::Mini:
      return "You have select the mini style.Please exit the calculator and restart it, then you "
             "could use the mini style.Thank you.\r\n";
    case WindowStyle::Conversion:
      return "You have select the unit style.Please exit the calculator and restart it, then you "
             "could use the unit style.Thank you.\r\n";
    case WindowStyle::Complex:
      return "You have select the complex style.Please exit the calculator and restart it, then "
             "you could use the complex style.Thank you.\r\n";
    case WindowStyle::None:
      break;
  }
  return {};
}

std::string_view SelectStyle(CSysData& record, WindowStyle value,
                             const std::function<void()>& save) {
  record.windowStyle = value;
  if (save) save();
  return StyleNoticeText(value);
}

}  // namespace calvoro
