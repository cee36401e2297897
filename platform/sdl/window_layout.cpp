#include "window_layout.h"

#include <cmath>
#include <cstdlib>
#include <string>
#include <string_view>

namespace pax::sdl {

namespace {

// A whole number of at least 1 and nothing after it, or 0.
int WholeScale(std::string_view text) {
  if (text.empty() || text.size() > 3) return 0;
  int value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return 0;
    value = value * 10 + (c - '0');
  }
  return value;
}

// The value of Xft.dpi in the resource database's text (lines of "name:<tabs>value"), or 0.
double XftDpi(std::string_view resources) {
  constexpr std::string_view NAME = "Xft.dpi:";
  std::size_t at = 0;
  while (at < resources.size()) {
    std::size_t end = resources.find('\n', at);
    if (end == std::string_view::npos) end = resources.size();
    const std::string_view line = resources.substr(at, end - at);
    if (line.starts_with(NAME)) {
      const std::string value(line.substr(NAME.size()));
      char* rest = nullptr;
      const double dpi = std::strtod(value.c_str(), &rest);
      return rest != value.c_str() && std::isfinite(dpi) ? dpi : 0.0;
    }
    at = end + 1;
  }
  return 0.0;
}

}  // namespace

int DesktopScale(const char* gdkScale, const char* xResources) {
  int scale = gdkScale ? WholeScale(gdkScale) : 0;
  if (scale < 1 && xResources) {
    const double dpi = XftDpi(xResources);
    if (dpi >= BASE_DPI && dpi < BASE_DPI * (MAX_SCALE + 1))
      scale = static_cast<int>(dpi / BASE_DPI);
  }
  if (scale < 1) return 1;
  return scale > MAX_SCALE ? MAX_SCALE : scale;
}

}  // namespace pax::sdl
