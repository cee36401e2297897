// pax-e2e-ping WINDOW [MILLISECONDS]: sends the window manager's _NET_WM_PING to WINDOW (an id
// as xwininfo prints it) the way window managers do, and waits up to MILLISECONDS (default
// 1000) for the answer a responsive client sends back to the root window. Prints the time the
// answer took in milliseconds. Exit status 0 when it came in time, 1 when not, 2 on a usage
// error or without a display.

#include <X11/Xlib.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

int Usage() {
  std::fputs("usage: pax-e2e-ping WINDOW [MILLISECONDS]\n", stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || argc > 3) return Usage();
  char* end = nullptr;
  const unsigned long window = std::strtoul(argv[1], &end, 0);
  if (*end != '\0' || window == 0) return Usage();
  const long limitMs = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 1000;
  if (limitMs <= 0) return Usage();

  Display* display = XOpenDisplay(nullptr);
  if (!display) {
    std::fputs("pax-e2e-ping: cannot open the display\n", stderr);
    return 2;
  }
  const ::Window root = DefaultRootWindow(display);
  const Atom protocols = XInternAtom(display, "WM_PROTOCOLS", False);
  const Atom ping = XInternAtom(display, "_NET_WM_PING", False);
  // Answers go to the root window for the window manager, which redirects its structure; a
  // second client may still listen for structure notifications there.
  XSelectInput(display, root, SubstructureNotifyMask);

  // A timestamp of our own, so that the answer to this ping is told from any other.
  const long stamp = 0x7A11 + static_cast<long>(window & 0xFFFF);
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = static_cast<::Window>(window);
  event.xclient.message_type = protocols;
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(ping);
  event.xclient.data.l[1] = stamp;
  event.xclient.data.l[2] = static_cast<long>(window);
  XSendEvent(display, static_cast<::Window>(window), False, NoEventMask, &event);
  XFlush(display);

  const auto start = std::chrono::steady_clock::now();
  const auto deadline = start + std::chrono::milliseconds(limitMs);
  for (;;) {
    while (XPending(display) > 0) {
      XEvent answer;
      XNextEvent(display, &answer);
      if (answer.type == ClientMessage && answer.xclient.message_type == protocols &&
          static_cast<Atom>(answer.xclient.data.l[0]) == ping &&
          answer.xclient.data.l[1] == stamp &&
          static_cast<unsigned long>(answer.xclient.data.l[2]) == window) {
        const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        std::printf("%lld\n", static_cast<long long>(took.count()));
        XCloseDisplay(display);
        return 0;
      }
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(left.count()));
  }
  std::fprintf(stderr, "pax-e2e-ping: no answer from 0x%lx within %ld ms\n", window, limitMs);
  XCloseDisplay(display);
  return 1;
}
