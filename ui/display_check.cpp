#include "ui/display_check.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <QDir>
#include <QLibraryInfo>
#include <QStringList>
#include <cstdlib>
#include <cstring>

namespace calvoro::ui {
namespace {

constexpr const char* kTerminalHint = "; calvoro-cli calculates in a terminal";

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

std::string Variable(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Whether the compositor's socket takes a connection (what the Wayland
// client library would connect to).
bool WaylandAnswers(const std::string& display) {
  std::string path = display;
  if (path.empty()) return false;
  if (path.front() != '/') {
    const std::string runtime = Variable("XDG_RUNTIME_DIR");
    if (runtime.empty()) return false;
    path = runtime + "/" + path;
  }
  sockaddr_un address{};
  if (path.size() >= sizeof(address.sun_path)) return false;
  address.sun_family = AF_UNIX;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) return false;
  const bool connected =
      connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)) == 0;
  close(fd);
  return connected;
}

bool XAnswers(const std::string& display) {
  if (display.empty()) return false;
  xcb_connection_t* connection = xcb_connect(display.c_str(), nullptr);
  const bool answers = connection && xcb_connection_has_error(connection) == 0;
  if (connection) xcb_disconnect(connection);
  return answers;
}

// Qt's Wayland platform plugin in any folder Qt looks in for plugins.
bool WaylandPluginInstalled() {
  QStringList folders =
      QString::fromLocal8Bit(qgetenv("QT_PLUGIN_PATH")).split(QLatin1Char(':'), Qt::SkipEmptyParts);
  folders << QLibraryInfo::path(QLibraryInfo::PluginsPath);
  for (const QString& folder : folders) {
    const QDir platforms(folder + QStringLiteral("/platforms"));
    if (!platforms.entryList({QStringLiteral("libqwayland-*.so")}, QDir::Files).isEmpty())
      return true;
  }
  return false;
}

// A Wayland session, unless a platform is asked for by name: the session
// says so, or it leaves the type open and a compositor is named.
bool WaylandSession(const DisplayEnvironment& environment) {
  return environment.platformOverride.empty() && !environment.waylandDisplay.empty() &&
         environment.sessionType != "x11";
}

bool UsableWayland(const DisplayEnvironment& environment) {
  return !environment.waylandDisplay.empty() && environment.waylandAnswers &&
         environment.waylandPlugin;
}

bool UsableX(const DisplayEnvironment& environment) {
  return !environment.xDisplay.empty() && environment.xAnswers;
}

// Why the Wayland display cannot be used, as part of the one line.
std::string WaylandReason(const DisplayEnvironment& environment) {
  if (environment.waylandDisplay.empty()) return "WAYLAND_DISPLAY is unset";
  if (!environment.waylandAnswers)
    return "WAYLAND_DISPLAY=" + environment.waylandDisplay + " does not answer";
  return "WAYLAND_DISPLAY=" + environment.waylandDisplay +
         " needs Qt's Wayland platform (Debian package qt6-wayland)";
}

std::string XReason(const DisplayEnvironment& environment) {
  if (environment.xDisplay.empty()) return "DISPLAY is unset";
  return "DISPLAY=" + environment.xDisplay + " does not answer";
}

DisplayChoice NoDisplay(const std::string& reasons) {
  return {{}, "calvoro: no usable graphical display (" + reasons + ")" + kTerminalHint, {}};
}

}  // namespace

DisplayChoice ChooseDisplay(const DisplayEnvironment& environment) {
  const std::string& forced = environment.platformOverride;
  // Another platform asked for by name (offscreen, vnc, ...) is Qt's affair.
  if (!forced.empty() && !StartsWith(forced, "xcb") && !StartsWith(forced, "wayland"))
    return {forced, {}, {}};
  if (StartsWith(forced, "xcb")) {
    if (UsableX(environment)) return {"xcb", {}, {}};
    return NoDisplay(XReason(environment));
  }
  if (StartsWith(forced, "wayland")) {
    if (UsableWayland(environment)) return {forced, {}, {}};
    return NoDisplay(WaylandReason(environment));
  }
  if (environment.waylandDisplay.empty() && environment.xDisplay.empty()) {
    return {{},
            std::string("calvoro: no graphical display found (DISPLAY and WAYLAND_DISPLAY are "
                        "unset)") +
                kTerminalHint,
            {}};
  }
  // A Wayland session is shown natively; XWayland stands in where the
  // native platform cannot start.
  if (WaylandSession(environment)) {
    if (UsableWayland(environment)) return {"wayland", {}, {}};
    if (UsableX(environment))
      return {"xcb", {}, "calvoro: " + WaylandReason(environment) + "; using XWayland"};
  } else {
    if (UsableX(environment)) return {"xcb", {}, {}};
    if (UsableWayland(environment)) return {"wayland", {}, {}};
  }
  return NoDisplay(WaylandReason(environment) + "; " + XReason(environment));
}

DisplayEnvironment ProbeDisplayEnvironment() {
  DisplayEnvironment environment;
  environment.platformOverride = Variable("QT_QPA_PLATFORM");
  // A list of platforms to try in turn is this choice's own business.
  if (environment.platformOverride.find(';') != std::string::npos)
    environment.platformOverride.clear();
  environment.sessionType = Variable("XDG_SESSION_TYPE");
  environment.waylandDisplay = Variable("WAYLAND_DISPLAY");
  environment.xDisplay = Variable("DISPLAY");
  const std::string& forced = environment.platformOverride;
  if (forced.empty() || StartsWith(forced, "wayland")) {
    environment.waylandAnswers = WaylandAnswers(environment.waylandDisplay);
    environment.waylandPlugin = environment.waylandAnswers && WaylandPluginInstalled();
  }
  // The X server is asked only when it may be needed: a connection can start
  // XWayland on a desktop that starts it on demand.
  if ((forced.empty() && !(WaylandSession(environment) && UsableWayland(environment))) ||
      StartsWith(forced, "xcb"))
    environment.xAnswers = XAnswers(environment.xDisplay);
  return environment;
}

}  // namespace calvoro::ui
