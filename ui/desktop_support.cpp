#include "ui/desktop_support.h"

#include <QGuiApplication>
#include <QWidget>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#if QT_CONFIG(xcb)
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

namespace calvoro::ui {

bool OnWayland() { return QGuiApplication::platformName().startsWith(QLatin1String("wayland")); }

#if QT_CONFIG(xcb)
namespace {

using Reply = std::unique_ptr<void, decltype(&std::free)>;

xcb_connection_t* Connection() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  return x11 ? x11->connection() : nullptr;
}

xcb_window_t Root(xcb_connection_t* connection) {
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  return screen ? screen->root : xcb_window_t{XCB_WINDOW_NONE};
}

xcb_atom_t Atom(xcb_connection_t* connection, const char* name) {
  const auto cookie =
      xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name);
  const Reply reply(xcb_intern_atom_reply(connection, cookie, nullptr), &std::free);
  if (!reply) return XCB_ATOM_NONE;
  return static_cast<xcb_intern_atom_reply_t*>(reply.get())->atom;
}

// XWayland's X server announces an extension of that name.
bool OnXWayland(xcb_connection_t* connection) {
  constexpr char kName[] = "XWAYLAND";
  const auto cookie = xcb_query_extension(connection, sizeof(kName) - 1, kName);
  const Reply reply(xcb_query_extension_reply(connection, cookie, nullptr), &std::free);
  return reply && static_cast<xcb_query_extension_reply_t*>(reply.get())->present;
}

}  // namespace
#endif

bool DesktopKeepsWindowsAbove() {
  if (OnWayland()) return false;
#if QT_CONFIG(xcb)
  xcb_connection_t* connection = Connection();
  if (!connection) return true;
  const xcb_window_t root = Root(connection);
  const xcb_atom_t supported = Atom(connection, "_NET_SUPPORTED");
  const xcb_atom_t above = Atom(connection, "_NET_WM_STATE_ABOVE");
  if (root == XCB_WINDOW_NONE || supported == XCB_ATOM_NONE || above == XCB_ATOM_NONE) return true;
  const auto cookie = xcb_get_property(connection, 0, root, supported, XCB_ATOM_ATOM, 0, 4096);
  const Reply reply(xcb_get_property_reply(connection, cookie, nullptr), &std::free);
  auto* property = static_cast<xcb_get_property_reply_t*>(reply.get());
  if (!property || property->type != XCB_ATOM_ATOM) return true;
  const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(property));
  const int count = xcb_get_property_value_length(property) / static_cast<int>(sizeof(xcb_atom_t));
  for (int i = 0; i < count; ++i)
    if (atoms[i] == above) return true;
  return false;
#else
  return true;
#endif
}

std::optional<QPoint> ServerCentre(const QWidget* window) {
#if QT_CONFIG(xcb)
  xcb_connection_t* connection = Connection();
  const xcb_window_t root = connection ? Root(connection) : xcb_window_t{XCB_WINDOW_NONE};
  if (root == XCB_WINDOW_NONE || !window->windowHandle()) return std::nullopt;
  const qreal ratio = window->devicePixelRatioF();
  const auto cookie =
      xcb_translate_coordinates(connection, static_cast<xcb_window_t>(window->winId()), root,
                                static_cast<std::int16_t>(window->width() * ratio / 2),
                                static_cast<std::int16_t>(window->height() * ratio / 2));
  const Reply reply(xcb_translate_coordinates_reply(connection, cookie, nullptr), &std::free);
  if (!reply) return std::nullopt;
  const auto* place = static_cast<xcb_translate_coordinates_reply_t*>(reply.get());
  return QPoint(qRound(place->dst_x / ratio), qRound(place->dst_y / ratio));
#else
  (void)window;
  return std::nullopt;
#endif
}

bool WatchDesktopMove() {
#if QT_CONFIG(xcb)
  xcb_connection_t* connection = Connection();
  return connection && !OnXWayland(connection);
#else
  return false;
#endif
}

bool LeftButtonDown() {
#if QT_CONFIG(xcb)
  xcb_connection_t* connection = Connection();
  const xcb_window_t root = connection ? Root(connection) : xcb_window_t{XCB_WINDOW_NONE};
  if (root == XCB_WINDOW_NONE) return false;
  const Reply reply(
      xcb_query_pointer_reply(connection, xcb_query_pointer(connection, root), nullptr),
      &std::free);
  return reply &&
         (static_cast<xcb_query_pointer_reply_t*>(reply.get())->mask & XCB_KEY_BUT_MASK_BUTTON_1);
#else
  return false;
#endif
}

void CancelDesktopMove(const QWidget* window) {
#if QT_CONFIG(xcb)
  xcb_connection_t* connection = Connection();
  const xcb_window_t root = connection ? Root(connection) : xcb_window_t{XCB_WINDOW_NONE};
  if (root == XCB_WINDOW_NONE) return;
  constexpr std::uint32_t kCancel = 11, kFromApplication = 1;
  xcb_client_message_event_t message{};
  message.response_type = XCB_CLIENT_MESSAGE;
  message.format = 32;
  message.window = static_cast<xcb_window_t>(window->winId());
  message.type = Atom(connection, "_NET_WM_MOVERESIZE");
  message.data.data32[2] = kCancel;
  message.data.data32[3] = 1;  // the left button
  message.data.data32[4] = kFromApplication;
  xcb_send_event(connection, 0, root,
                 XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                 reinterpret_cast<const char*>(&message));
  xcb_flush(connection);
#else
  (void)window;
#endif
}

}  // namespace calvoro::ui
