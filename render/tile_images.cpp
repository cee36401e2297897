#include "tile_images.h"

#include "platform/bmp.h"

namespace pax {

namespace {

// Generated at build time from assets/tile0.bmp .. tile3.bmp.
constexpr std::uint8_t TileBitmaps[] = {
#include "tile_bitmaps.inc"
};
static_assert(sizeof TileBitmaps == TILE_KINDS * TILE_BITMAP_BYTES,
              "each tile bitmap is a 41 x 41 24-bit BMP file of 5138 bytes");

}  // namespace

std::span<const std::uint8_t> TileBitmap(TileKind kind) {
  return std::span<const std::uint8_t>(TileBitmaps)
      .subspan(static_cast<std::size_t>(kind) * TILE_BITMAP_BYTES, TILE_BITMAP_BYTES);
}

void LoadTileImages(Platform& platform, std::array<Image, TILE_KINDS>& tileImages) {
  const ImageMaker make = [&platform](int w, int h) { return platform.createImage(w, h); };
  for (TileKind kind = 0; kind < TILE_KINDS; ++kind) {
    tileImages[static_cast<std::size_t>(kind)] = DecodeBmp(TileBitmap(kind), make);
  }
}

}  // namespace pax
