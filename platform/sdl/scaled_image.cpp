#include "scaled_image.h"

#include <cstring>

namespace pax::sdl {

void ReplicatePixels(const Image& source, int scale, Image& target) {
  const int width = source.width() * scale;
  const int height = source.height() * scale;
  if (target.width() != width || target.height() != height) target = Image(width, height);
  if (target.empty()) return;
  const auto rowBytes = static_cast<std::size_t>(width) * 3;
  for (int y = 0; y < source.height(); ++y) {
    const std::uint8_t* from = source.row(y);
    std::uint8_t* first = target.row(y * scale);
    for (int x = 0; x < source.width(); ++x, from += 3) {
      for (int k = 0; k < scale; ++k, first += 3) std::memcpy(first, from, 3);
    }
    // The other rows of the band are copies of its first.
    for (int k = 1; k < scale; ++k)
      std::memcpy(target.row(y * scale + k), target.row(y * scale), rowBytes);
  }
}

}  // namespace pax::sdl
