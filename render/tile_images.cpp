#include "tile_images.h"

namespace pax {

void LoadTileImages(Platform& platform, std::array<Image, TILE_KINDS>& tileImages) {
  (void)platform;
  for (Image& image : tileImages) image = Image();
}

}  // namespace pax
