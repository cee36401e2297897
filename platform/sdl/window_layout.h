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

// The vertical resolution the font is made for: what the display reports, unless it reports
// nothing or something no screen has (a wrong physical size in the monitor's data gives such
// figures), in which case the common 96.
inline constexpr int DEFAULT_DPI = 96;
constexpr int UsableDpi(bool known, float reported) {
  if (!known || !(reported >= 48.0f && reported <= 480.0f)) return DEFAULT_DPI;
  return static_cast<int>(reported + 0.5f);
}

}  // namespace pax::sdl
