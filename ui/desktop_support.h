// What the desktop the windows run on can do, asked of the platform (the X
// server where Qt runs on X): the windows offer a command only where the
// desktop honours it, and move themselves only where the desktop lets them.
#pragma once

#include <QPoint>
#include <optional>

class QWidget;

namespace calvoro::ui {

// Qt runs on a Wayland compositor natively.
bool OnWayland();
// The desktop keeps a window above the others when asked: never on Wayland
// (no protocol for it); on X when the window manager names
// _NET_WM_STATE_ABOVE among what it supports (sway's XWayland does not), or
// when no window manager says what it supports.
bool DesktopKeepsWindowsAbove();

// The centre of a top-level window on the screen as the X server has it
// (none off X). Qt's own record of the window's place can lag behind the
// window manager's placing for a while.
std::optional<QPoint> ServerCentre(const QWidget* window);

// A move the desktop was asked for is watched on an X server with a window
// manager of its own (not XWayland, where the compositor follows its own
// pointer): the window manager may start it only after the button is up.
bool WatchDesktopMove();
// The left mouse button is down, as the X server has it.
bool LeftButtonDown();
// Ends a move the window manager may still be running for `window`
// (_NET_WM_MOVERESIZE_CANCEL).
void CancelDesktopMove(const QWidget* window);

}  // namespace calvoro::ui
