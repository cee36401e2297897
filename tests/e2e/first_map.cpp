// pax-e2e-first-map NAME SHOT.ppm WATCH_MS: watches the screen for the first top-level window
// called NAME and reads what the window shows the moment it first becomes viewable, with the
// server grabbed so that its program cannot draw in between (a moment when the window manager
// still covers it does not count); then follows where the window is
// for WATCH_MS milliseconds. Prints "ready" once it watches (start the program after that),
// then "shown X Y" (the client area's position on the screen when it became viewable) and
// "moved X Y" for every other position it took later. Exit status 0 when the window was seen,
// 1 when it did not appear within 20 s, 2 on a usage error or without a display.

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/image.h"
#include "platform/ppm.h"

namespace {

using Clock = std::chrono::steady_clock;

int Usage() {
  std::fputs("usage: pax-e2e-first-map NAME SHOT.ppm WATCH_MS\n", stderr);
  return 2;
}

// Windows come and go under the watcher; a request on one that has gone is no fault.
int IgnoreErrors(Display*, XErrorEvent*) {
  return 0;
}

bool Named(Display* d, ::Window w, const std::string& name) {
  char* title = nullptr;
  const bool same = XFetchName(d, w, &title) && title && name == title;
  if (title) XFree(title);
  return same;
}

struct Position {
  int x = -1;
  int y = -1;
  friend bool operator==(Position, Position) = default;
};

Position OnScreen(Display* d, ::Window w) {
  Position p;
  ::Window child = 0;
  XTranslateCoordinates(d, w, DefaultRootWindow(d), 0, 0, &p.x, &p.y, &child);
  return p;
}

// The window's contents as a 24-bit image; empty when they cannot be read.
pax::Image Contents(Display* d, ::Window w) {
  XWindowAttributes attributes{};
  if (!XGetWindowAttributes(d, w, &attributes)) return {};
  XImage* shot = XGetImage(d, w, 0, 0, static_cast<unsigned>(attributes.width),
                           static_cast<unsigned>(attributes.height), AllPlanes, ZPixmap);
  if (!shot) return {};
  pax::Image image(attributes.width, attributes.height);
  auto channel = [](unsigned long pixel, unsigned long mask) {
    int shift = 0;
    while (shift < 32 && ((mask >> shift) & 1) == 0) ++shift;
    return static_cast<std::uint8_t>((pixel & mask) >> shift);
  };
  for (int y = 0; y < attributes.height; ++y) {
    for (int x = 0; x < attributes.width; ++x) {
      const unsigned long pixel = XGetPixel(shot, x, y);
      image.setPixel(x, y,
                     pax::Rgb{channel(pixel, shot->red_mask), channel(pixel, shot->green_mask),
                              channel(pixel, shot->blue_mask)});
    }
  }
  XDestroyImage(shot);
  return image;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) return Usage();
  const std::string name = argv[1];
  const std::string out = argv[2];
  const long watchMs = std::strtol(argv[3], nullptr, 10);
  if (watchMs < 0) return Usage();
  Display* d = XOpenDisplay(nullptr);
  if (!d) {
    std::fputs("pax-e2e-first-map: cannot open the display\n", stderr);
    return 2;
  }
  XSetErrorHandler(IgnoreErrors);
  XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
  XSync(d, False);
  std::printf("ready\n");
  std::fflush(stdout);

  ::Window window = 0;
  Position last;
  auto deadline = Clock::now() + std::chrono::seconds(20);
  for (;;) {
    while (XPending(d) > 0) {
      XEvent e;
      XNextEvent(d, &e);
      if (e.type == CreateNotify && e.xcreatewindow.parent == DefaultRootWindow(d) && !window) {
        // Every new top-level window is followed until one of them turns out to be the one.
        XSelectInput(d, e.xcreatewindow.window, StructureNotifyMask | VisibilityChangeMask);
      } else if (e.type == VisibilityNotify && !window && Named(d, e.xvisibility.window, name)) {
        // The window manager may keep a new window covered for a moment; what counts is what
        // the window shows once nothing covers it.
        if (e.xvisibility.state != VisibilityUnobscured) {
          std::printf("covered\n");
          continue;
        }
        window = e.xvisibility.window;
        XGrabServer(d);
        const pax::Image contents = Contents(d, window);
        last = OnScreen(d, window);
        XUngrabServer(d);
        XFlush(d);
        const std::vector<std::uint8_t> ppm = pax::EncodePpm(contents);
        std::ofstream(out, std::ios::binary)
            .write(reinterpret_cast<const char*>(ppm.data()),
                   static_cast<std::streamsize>(ppm.size()));
        std::printf("shown %d %d\n", last.x, last.y);
        std::fflush(stdout);
        deadline = Clock::now() + std::chrono::milliseconds(watchMs);
      } else if (e.type == ConfigureNotify && window && e.xconfigure.window == window) {
        const Position now = OnScreen(d, window);
        if (!(now == last)) std::printf("moved %d %d\n", now.x, now.y);
        last = now;
      }
    }
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    if (left <= 0) break;
    pollfd fd{ConnectionNumber(d), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(left));
  }
  if (window) {
    // A move whose notification never came to this client shows here.
    const Position now = OnScreen(d, window);
    if (!(now == last)) std::printf("moved %d %d\n", now.x, now.y);
  }
  XCloseDisplay(d);
  if (!window) std::fprintf(stderr, "pax-e2e-first-map: no window \"%s\" appeared\n", name.c_str());
  return window ? 0 : 1;
}
