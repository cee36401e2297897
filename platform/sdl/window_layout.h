#pragma once

// Placement and screen figures of the main window, apart from SDL so that the tests can check
// them against made-up screens.

namespace pax::sdl {

struct Rect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  friend bool operator==(Rect, Rect) = default;
};

// The window manager's frame around the client area, in pixels.
struct FrameExtents {
  int left = 0;
  int right = 0;
  int top = 0;
  int bottom = 0;
};

struct Point {
  int x = 0;
  int y = 0;
  friend bool operator==(Point, Point) = default;
};

// Where the client area goes so that the whole window, frame included, sits in the middle of
// `screen`. An outer size larger than the screen counts as the screen's size, which puts the
// frame at the screen's edge on that axis.
constexpr Point CentredClientPosition(Rect screen, int clientWidth, int clientHeight,
                                      FrameExtents frame) {
  auto place = [](int origin, int screenSize, int outer, int before) {
    const int fitted = outer < screenSize ? outer : screenSize;
    return origin + (screenSize - fitted) / 2 + before;
  };
  return Point{place(screen.x, screen.width, clientWidth + frame.left + frame.right, frame.left),
               place(screen.y, screen.height, clientHeight + frame.top + frame.bottom, frame.top)};
}

// The integer factor by which the window shows the frame on a desktop scaled for a dense
// screen: GDK_SCALE when it is set to a whole number, otherwise the X resources' Xft.dpi over
// 96, rounded down; 1 when neither says anything usable. The font is always made for 96 dpi in
// the frame's own pixels, so the status strip keeps its layout and the desktop's scale reaches
// the player only as whole pixels repeated.
inline constexpr int BASE_DPI = 96;
inline constexpr int MAX_SCALE = 8;
int DesktopScale(const char* gdkScale, const char* xResources);

// The largest factor up to `wanted` at which a `width` x `height` client still fits on a screen
// of `screenWidth` x `screenHeight` (at least 1): a window larger than its screen cannot be
// played.
constexpr int FittingScale(int wanted, int width, int height, int screenWidth, int screenHeight) {
  int scale = wanted < 1 ? 1 : wanted;
  while (scale > 1 && (width * scale > screenWidth || height * scale > screenHeight)) --scale;
  return scale;
}

// A position in the window's device pixels as a position in the frame's pixels (rounded toward
// minus infinity, so that -1 stays outside).
constexpr int ToFrame(int device, int scale) {
  return device >= 0 ? device / scale : -((-device + scale - 1) / scale);
}

}  // namespace pax::sdl
