#include "x11_window.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <thread>
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

XErrorHandler previousErrorHandler = nullptr;

int ForgivingErrorHandler(Display* d, XErrorEvent* error) {
  if (error->error_code == BadWindow && error->request_code == X_SendEvent) return 0;
  return previousErrorHandler ? previousErrorHandler(d, error) : 0;
}

}  // namespace

void ForgiveEventsToGoneWindows() {
  const XErrorHandler previous = XSetErrorHandler(ForgivingErrorHandler);
  if (previous != ForgivingErrorHandler) previousErrorHandler = previous;
}

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

const char* Resources(Window w) {
  return XResourceManagerString(DisplayOf(w));
}

namespace {

// Whether the window manager lists `name` among the hints it supports.
bool Supported(Display* d, const char* name) {
  const Atom wanted = XInternAtom(d, name, False);
  Atom type = 0;
  int format = 0;
  unsigned long items = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  bool found = false;
  if (XGetWindowProperty(d, DefaultRootWindow(d), XInternAtom(d, "_NET_SUPPORTED", False), 0, 4096,
                         False, XA_ATOM, &type, &format, &items, &after, &data) == Success &&
      type == XA_ATOM && format == 32) {
    const auto* atoms = reinterpret_cast<const unsigned long*>(data);
    for (unsigned long i = 0; i < items && !found; ++i) found = atoms[i] == wanted;
  }
  if (data) XFree(data);
  return found;
}

std::optional<FrameExtents> ReadFrameExtents(Display* d, ::Window window) {
  Atom type = 0;
  int format = 0;
  unsigned long items = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  std::optional<FrameExtents> extents;
  if (XGetWindowProperty(d, window, XInternAtom(d, "_NET_FRAME_EXTENTS", False), 0, 4, False,
                         XA_CARDINAL, &type, &format, &items, &after, &data) == Success &&
      type == XA_CARDINAL && format == 32 && items == 4) {
    // Xlib hands out 32-bit items as longs.
    const auto* values = reinterpret_cast<const long*>(data);
    extents = FrameExtents{static_cast<int>(values[0]), static_cast<int>(values[1]),
                           static_cast<int>(values[2]), static_cast<int>(values[3])};
  }
  if (data) XFree(data);
  return extents;
}

}  // namespace

std::optional<FrameExtents> FrameExtentsBeforeShowing(Window w, int milliseconds) {
  Display* d = DisplayOf(w);
  const auto window = static_cast<::Window>(w.id);
  if (!WindowManagerRunning(w) || !Supported(d, "_NET_REQUEST_FRAME_EXTENTS")) return std::nullopt;
  XEvent request{};
  request.xclient.type = ClientMessage;
  request.xclient.window = window;
  request.xclient.message_type = XInternAtom(d, "_NET_REQUEST_FRAME_EXTENTS", False);
  request.xclient.format = 32;
  XSendEvent(d, DefaultRootWindow(d), False, SubstructureRedirectMask | SubstructureNotifyMask,
             &request);
  XFlush(d);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  do {
    if (const std::optional<FrameExtents> extents = ReadFrameExtents(d, window)) return extents;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  } while (std::chrono::steady_clock::now() < deadline);
  return std::nullopt;
}

void PlaceBeforeShowing(Window w, Point frame) {
  Display* d = DisplayOf(w);
  const auto window = static_cast<::Window>(w.id);
  XSizeHints* hints = XAllocSizeHints();
  if (!hints) return;
  long supplied = 0;
  XGetWMNormalHints(d, window, hints, &supplied);
  hints->flags |= USPosition;
  hints->x = frame.x;
  hints->y = frame.y;
  XSetWMNormalHints(d, window, hints);
  XFree(hints);
  XMoveWindow(d, window, frame.x, frame.y);
  XFlush(d);
}

bool Viewable(Window w) {
  XWindowAttributes attributes{};
  return XGetWindowAttributes(DisplayOf(w), static_cast<::Window>(w.id), &attributes) &&
         attributes.map_state == IsViewable;
}

void ShowsPicture(Window w, const Image* picture) {
  Display* d = DisplayOf(w);
  const auto window = static_cast<::Window>(w.id);
  if (!picture) {
    XSetWindowBackgroundPixmap(d, window, None);
    XFlush(d);
    return;
  }
  XWindowAttributes attributes{};
  // SDL takes a DirectColor visual where there is one, with ramps that map each channel onto
  // itself; either way the visual's masks say where the channels go.
  if (!XGetWindowAttributes(d, window, &attributes) ||
      (attributes.visual->c_class != TrueColor && attributes.visual->c_class != DirectColor)) {
    return;
  }
  XImage* image = XCreateImage(d, attributes.visual, static_cast<unsigned>(attributes.depth),
                               ZPixmap, 0, nullptr, static_cast<unsigned>(picture->width()),
                               static_cast<unsigned>(picture->height()), 32, 0);
  if (!image) return;
  std::vector<char> bits(static_cast<std::size_t>(image->bytes_per_line) *
                         static_cast<std::size_t>(picture->height()));
  image->data = bits.data();
  // Each channel's 8 bits placed at the top of the visual's mask for it.
  auto place = [](unsigned value, unsigned long mask) {
    if (!mask) return 0ul;
    int top = 0;
    while ((mask >> top) > 1) ++top;
    const unsigned long v = value;
    return (top >= 7 ? v << (top - 7) : v >> (7 - top)) & mask;
  };
  for (int y = 0; y < picture->height(); ++y) {
    for (int x = 0; x < picture->width(); ++x) {
      const Rgb c = picture->pixel(x, y);
      XPutPixel(image, x, y,
                place(c.r, attributes.visual->red_mask) |
                    place(c.g, attributes.visual->green_mask) |
                    place(c.b, attributes.visual->blue_mask));
    }
  }
  const Pixmap pixmap = XCreatePixmap(d, window, static_cast<unsigned>(picture->width()),
                                      static_cast<unsigned>(picture->height()),
                                      static_cast<unsigned>(attributes.depth));
  const GC gc = XCreateGC(d, pixmap, 0, nullptr);
  XPutImage(d, pixmap, gc, image, 0, 0, 0, 0, static_cast<unsigned>(picture->width()),
            static_cast<unsigned>(picture->height()));
  XFreeGC(d, gc);
  image->data = nullptr;  // the vector's, not Xlib's to free
  XDestroyImage(image);
  XSetWindowBackgroundPixmap(d, window, pixmap);
  // The window holds the pixmap as long as it is its background.
  XFreePixmap(d, pixmap);
  XFlush(d);
}

}  // namespace pax::sdl::x11
