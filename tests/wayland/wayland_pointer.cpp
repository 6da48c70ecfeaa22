// A helper of the Wayland tests: a mouse for a headless compositor, which
// has no input devices of its own. It adds a virtual pointer to the seat
// (the wlroots virtual-pointer protocol) and runs its words in order:
//   wayland_pointer [WIDTH HEIGHT] WORD...
//     at X Y     moves the pointer to X, Y of the output (WIDTH x HEIGHT,
//                default 1280 x 1024)
//     down, up   presses or releases the left button
//     wait MS    waits MS milliseconds (the client answers a press meanwhile)
// Exits 1 when the compositor offers no virtual pointer, 2 on a usage error.
#include <linux/input-event-codes.h>
#include <wayland-client.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

namespace {

// The protocol's interfaces, as its XML description defines them (only the
// requests used here need correct signatures; their order must match).
extern const wl_interface kPointerInterface;
const wl_interface* kCreateTypes[] = {&wl_seat_interface, &kPointerInterface};
const wl_message kManagerRequests[] = {
    {"create_virtual_pointer", "?on", kCreateTypes},
    {"destroy", "", nullptr},
};
const wl_interface kManagerInterface = {
    "zwlr_virtual_pointer_manager_v1", 1, 2, kManagerRequests, 0, nullptr};
const wl_interface* kNoTypes[] = {nullptr, nullptr, nullptr, nullptr, nullptr};
const wl_message kPointerRequests[] = {
    {"motion", "uff", kNoTypes},   {"motion_absolute", "uuuuu", kNoTypes},
    {"button", "uuu", kNoTypes},   {"axis", "uuf", kNoTypes},
    {"frame", "", nullptr},        {"axis_source", "u", kNoTypes},
    {"axis_stop", "uu", kNoTypes}, {"axis_discrete", "uufi", kNoTypes},
    {"destroy", "", nullptr},
};
const wl_interface kPointerInterface = {"zwlr_virtual_pointer_v1", 1, 9,
                                        kPointerRequests,          0, nullptr};

enum PointerRequest : std::uint32_t { kMotionAbsolute = 1, kButton = 2, kFrame = 4, kDestroy = 8 };

struct Globals {
  wl_seat* seat = nullptr;
  wl_proxy* manager = nullptr;
};

void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
            std::uint32_t) {
  auto* globals = static_cast<Globals*>(data);
  if (!std::strcmp(interface, wl_seat_interface.name) && !globals->seat) {
    globals->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  } else if (!std::strcmp(interface, kManagerInterface.name)) {
    globals->manager =
        static_cast<wl_proxy*>(wl_registry_bind(registry, name, &kManagerInterface, 1));
  }
}
void GlobalRemove(void*, wl_registry*, std::uint32_t) {}
const wl_registry_listener kRegistryListener = {Global, GlobalRemove};

std::uint32_t Now() {
  using namespace std::chrono;
  return static_cast<std::uint32_t>(
      duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  std::uint32_t width = 1280, height = 1024;
  if (argc > 3 && std::atoi(argv[1]) > 0 && std::atoi(argv[2]) > 0) {
    width = static_cast<std::uint32_t>(std::atoi(argv[1]));
    height = static_cast<std::uint32_t>(std::atoi(argv[2]));
    first = 3;
  }
  wl_display* display = wl_display_connect(nullptr);
  if (!display) {
    std::fprintf(stderr, "wayland_pointer: no Wayland display\n");
    return 1;
  }
  Globals globals;
  wl_registry* registry = wl_display_get_registry(display);
  wl_registry_add_listener(registry, &kRegistryListener, &globals);
  wl_display_roundtrip(display);
  if (!globals.manager) {
    std::fprintf(stderr, "wayland_pointer: the compositor offers no virtual pointer\n");
    return 1;
  }
  auto* pointer =
      wl_proxy_marshal_constructor(globals.manager, 0, &kPointerInterface, globals.seat, nullptr);
  wl_display_roundtrip(display);
  int status = 0;
  for (int i = first; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "at" && i + 2 < argc) {
      const auto x = static_cast<std::uint32_t>(std::atoi(argv[i + 1]));
      const auto y = static_cast<std::uint32_t>(std::atoi(argv[i + 2]));
      wl_proxy_marshal(pointer, kMotionAbsolute, Now(), x, y, width, height);
      i += 2;
    } else if (word == "down" || word == "up") {
      wl_proxy_marshal(pointer, kButton, Now(), static_cast<std::uint32_t>(BTN_LEFT),
                       word == "down" ? 1u : 0u);
    } else if (word == "wait" && i + 1 < argc) {
      wl_display_roundtrip(display);
      std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(argv[++i])));
      continue;
    } else {
      std::fprintf(stderr, "wayland_pointer: unknown word '%s'\n", word.c_str());
      status = 2;
      break;
    }
    wl_proxy_marshal(pointer, kFrame);
    wl_display_roundtrip(display);
  }
  wl_proxy_marshal(pointer, kDestroy);
  wl_proxy_destroy(pointer);
  wl_display_roundtrip(display);
  wl_display_disconnect(display);
  return status;
}
