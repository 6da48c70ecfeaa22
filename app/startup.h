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

// The stored style that opens no window: the process ends at once.
inline constexpr std::int32_t kStyleNone = 4;

enum class StartWindow { None, Standard, Mini, Unit, Complex };

// 2 mini, 3 unit, 5 complex, 4 none; every other value (1, 0, negative,
// above 5) the standard window.
StartWindow WindowForStyle(std::int32_t window_style);

// The window a run opens, from the settings file at `settings_path` (read
// once by a short-lived manager). A missing or unreadable file means the
// defaults: the standard window.
StartWindow ChooseStartWindow(const std::string& settings_path);

// Before the window opens: the window's own record is marked as a fresh start
// (in memory only; the window's initialisation clears it).
void MarkFreshStart(CSysData& window_record);

// The style menu's text of a style: "  Standard Expression Calculator",
// "  Calvoro" (mini), "  Conversion Expression Calculator",
// "  Complex Expression Calculator"; "" for other values.
std::string_view StyleMenuText(std::int32_t style);

struct StyleMenuItem {
  std::string_view text;
  std::int32_t value;
  bool operator==(const StyleMenuItem&) const = default;
};
// The three other styles, in menu order, offered by a window of `style`
// (values that are no window style offer what the standard window does).
std::array<StyleMenuItem, 3> StyleMenuOf(std::int32_t style);

// The notice after choosing `value` (1, 2, 3, 5; each ends with "\r\n");
// "" for other values.
std::string_view StyleNoticeText(std::int32_t value);

// The style command: stores `value` as `windowStyle`, saves at once (so that
// quitting in any way afterwards still starts the new style), and returns the
// notice to show.
std::string_view SelectStyle(CSysData& record, std::int32_t value,
                             const std::function<void()>& save);

}  // namespace calvoro
