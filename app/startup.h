// Start-up and window styles: which calculator window a run opens, the
// fresh-start marker, and the style menu with its notice.
//
// The chosen style is stored at once and used from the next start on; the
// running window stays as it is.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "app/sys_data.h"

namespace calvoro {

// The window a run opens, from the settings file at `settings_path` (read
// once by a short-lived manager). A missing or unreadable file means the
// defaults: the standard window.
WindowStyle ChooseStartWindow(const std::string& settings_path);

// Before the window opens: the window's own record is marked as a fresh start
// (in memory only; the window's initialisation clears it).
void MarkFreshStart(CSysData& window_record);

// The style menu's text of a style: "  Standard Expression Calculator",
// "  Calvoro" (mini), "  Conversion Expression Calculator",
// "  Complex Expression Calculator"; "" for None.
std::string_view StyleMenuText(WindowStyle style);

struct StyleMenuItem {
  std::string_view text;
  WindowStyle value;
  bool operator==(const StyleMenuItem&) const = default;
};
// The three other styles, in menu order, offered by a window of `style`
// (None offers what the standard window does).
std::array<StyleMenuItem, 3> StyleMenuOf(WindowStyle style);

// The notice after choosing `value` (each ends with "\r\n"); "" for None.
std::string_view StyleNoticeText(WindowStyle value);

// The style command: stores `value` as `windowStyle`, saves at once (so that
// quitting in any way afterwards still starts the new style), and returns the
// notice to show.
std::string_view SelectStyle(CSysData& record, WindowStyle value,
                             const std::function<void()>& save);

}  // namespace calvoro
