// What the window can be shown on, decided before QApplication exists: Qt
// aborts when its platform cannot start, so calvoro looks first and either
// names the platform Qt is to load or says in one line why there is none.
#pragma once

#include <string>

namespace calvoro::ui {

// What the environment offers, as probed (or as a test states it).
struct DisplayEnvironment {
  std::string platformOverride;  // QT_QPA_PLATFORM
  std::string sessionType;       // XDG_SESSION_TYPE
  std::string waylandDisplay;    // WAYLAND_DISPLAY
  std::string xDisplay;          // DISPLAY
  bool waylandAnswers = false;   // the compositor's socket accepts a connection
  bool waylandPlugin = false;    // Qt's Wayland platform plugin is installed
  bool xAnswers = false;         // the X server accepts a connection
};

struct DisplayChoice {
  // The platform to load ("wayland", "xcb", or the override as given); empty
  // when there is none, and `message` says why.
  std::string platform;
  std::string message;
  // A remark for standard error when a fallback was taken (else empty).
  std::string notice;
};

DisplayChoice ChooseDisplay(const DisplayEnvironment& environment);

// The environment of this process, with its sockets and plugins probed.
DisplayEnvironment ProbeDisplayEnvironment();

}  // namespace calvoro::ui
