// pax-e2e-virtual-pointer: gives the Wayland compositor's seat a pointer device, for a headless
// compositor that has none, and keeps it until the process is ended or the compositor goes.
// The compositor's own commands then move and click it (swaymsg seat seat0 cursor ...). Prints
// "ready" once the device exists. Exit status 0 when it ran, 1 when the compositor offers no
// virtual pointers or cannot be reached.
//
// The one request used, create_virtual_pointer of zwlr_virtual_pointer_manager_v1 (the first
// request of that interface: an optional wl_seat and the new object), is declared here by hand:
// the protocol's description does not come with Debian's packages.

#include <wayland-client.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

namespace {

const wl_interface POINTER = {"zwlr_virtual_pointer_v1", 1, 0, nullptr, 0, nullptr};
const wl_interface* CREATE_TYPES[] = {&wl_seat_interface, &POINTER};
const wl_message MANAGER_REQUESTS[] = {{"create_virtual_pointer", "?on", CREATE_TYPES}};
const wl_interface MANAGER = {
    "zwlr_virtual_pointer_manager_v1", 1, 1, MANAGER_REQUESTS, 0, nullptr};

struct Globals {
  wl_seat* seat = nullptr;
  wl_proxy* manager = nullptr;
};

void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
            std::uint32_t) {
  auto* g = static_cast<Globals*>(data);
  if (std::strcmp(interface, wl_seat_interface.name) == 0 && !g->seat) {
    g->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
  } else if (std::strcmp(interface, MANAGER.name) == 0 && !g->manager) {
    g->manager = static_cast<wl_proxy*>(wl_registry_bind(registry, name, &MANAGER, 1));
  }
}

void GlobalRemoved(void*, wl_registry*, std::uint32_t) {}

}  // namespace

int main() {
  wl_display* display = wl_display_connect(nullptr);
  if (!display) {
    std::fputs("pax-e2e-virtual-pointer: cannot reach the Wayland compositor\n", stderr);
    return 1;
  }
  Globals globals;
  wl_registry* registry = wl_display_get_registry(display);
  static const wl_registry_listener listener = {Global, GlobalRemoved};
  wl_registry_add_listener(registry, &listener, &globals);
  wl_display_roundtrip(display);
  if (!globals.manager || !globals.seat) {
    std::fputs("pax-e2e-virtual-pointer: the compositor offers no virtual pointers\n", stderr);
    wl_display_disconnect(display);
    return 1;
  }
  wl_proxy* pointer =
      wl_proxy_marshal_flags(globals.manager, 0, &POINTER, 1, 0, globals.seat, nullptr);
  wl_display_roundtrip(display);
  std::puts("ready");
  std::fflush(stdout);
  // The device lives as long as the connection: until the process is ended or the compositor
  // goes away.
  while (wl_display_dispatch(display) >= 0) {
  }
  wl_proxy_destroy(pointer);
  wl_display_disconnect(display);
  return 0;
}
