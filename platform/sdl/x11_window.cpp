#include "x11_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace pax::sdl::x11 {

namespace {

Display* DisplayOf(Window w) {
  return static_cast<Display*>(w.display);
}

// The Motif window-manager hints, which window managers still read for the frame's buttons
// and the functions of the window menu.
constexpr long MWM_HINTS_FUNCTIONS = 1;
constexpr long MWM_HINTS_DECORATIONS = 2;
constexpr long MWM_FUNC_MOVE = 4;
constexpr long MWM_FUNC_CLOSE = 32;
constexpr long MWM_DECOR_BORDER = 2;
constexpr long MWM_DECOR_TITLE = 8;
constexpr long MWM_DECOR_MENU = 16;

void SetCardinals(Display* d, ::Window window, const char* name, Atom type,
                  const std::vector<long>& values) {
  // Xlib takes 32-bit property items as longs, whatever the size of long.
  XChangeProperty(d, window, XInternAtom(d, name, False), type, 32, PropModeReplace,
                  reinterpret_cast<const unsigned char*>(values.data()),
                  static_cast<int>(values.size()));
}

void SetAtoms(Display* d, ::Window window, const char* name,
              const std::vector<const char*>& values) {
  std::vector<long> atoms;
  for (const char* value : values) atoms.push_back(static_cast<long>(XInternAtom(d, value, False)));
  SetCardinals(d, window, name, XA_ATOM, atoms);
}

// A title bar with the window menu and a close button, a thin frame, and nothing to minimise,
// maximise or resize with.
void SetFrameHints(Display* d, ::Window window) {
  SetCardinals(d, window, "_MOTIF_WM_HINTS", XInternAtom(d, "_MOTIF_WM_HINTS", False),
               {MWM_HINTS_FUNCTIONS | MWM_HINTS_DECORATIONS, MWM_FUNC_MOVE | MWM_FUNC_CLOSE,
                MWM_DECOR_BORDER | MWM_DECOR_TITLE | MWM_DECOR_MENU, 0, 0});
}

// Xlib ends the process when its handler returns; this one ends it itself, without running
// exit handlers that could still talk to the dead connection.
int DisplayLost(Display*) {
  std::fputs("paxmorella: lost the connection to the display\n", stderr);
  std::_Exit(1);
}

}  // namespace

void ExitWhenTheDisplayIsLost() {
  XSetIOErrorHandler(DisplayLost);
}

bool WindowManagerRunning(Window w) {
  Display* d = DisplayOf(w);
  const Atom check = XInternAtom(d, "_NET_SUPPORTING_WM_CHECK", False);
  Atom type = 0;
  int format = 0;
  unsigned long items = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  const bool found = XGetWindowProperty(d, DefaultRootWindow(d), check, 0, 1, False, XA_WINDOW,
                                        &type, &format, &items, &after, &data) == Success &&
                     type == XA_WINDOW && items == 1;
  if (data) XFree(data);
  return found;
}

void PrepareMainWindow(Window w, std::span<const IconImage> icons) {
  Display* d = DisplayOf(w);
  const auto window = static_cast<::Window>(w.id);

  SetFrameHints(d, window);

  // Every size at once, so that the title bar, the task list and the window switcher each
  // pick the one that fits; SDL would set only one.
  std::vector<long> icon;
  for (const IconImage& image : icons) {
    icon.push_back(image.size);
    icon.push_back(image.size);
    for (const std::uint32_t pixel : image.pixels) icon.push_back(static_cast<long>(pixel));
  }
  if (!icon.empty()) SetCardinals(d, window, "_NET_WM_ICON", XA_CARDINAL, icon);

  XSetWindowAttributes attributes{};
  attributes.backing_store = WhenMapped;
  XChangeWindowAttributes(d, window, CWBackingStore, &attributes);
  XFlush(d);
}

void PrepareDialog(Window box, Window owner) {
  Display* d = DisplayOf(box);
  const auto window = static_cast<::Window>(box.id);
  XSetTransientForHint(d, window, static_cast<::Window>(owner.id));
  SetAtoms(d, window, "_NET_WM_WINDOW_TYPE", {"_NET_WM_WINDOW_TYPE_DIALOG"});
  // Window managers read the state as the window is mapped; after that it takes requests.
  SetAtoms(d, window, "_NET_WM_STATE", {"_NET_WM_STATE_MODAL"});
  SetFrameHints(d, window);
  XFlush(d);
}

std::optional<Point> PointerInWindow(Window w) {
  ::Window root = 0;
  ::Window child = 0;
  int rootX = 0;
  int rootY = 0;
  Point p;
  unsigned int buttons = 0;
  if (!XQueryPointer(DisplayOf(w), static_cast<::Window>(w.id), &root, &child, &rootX, &rootY, &p.x,
                     &p.y, &buttons)) {
    return std::nullopt;
  }
  return p;
}

}  // namespace pax::sdl::x11
