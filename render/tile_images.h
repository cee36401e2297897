#pragma once

#include <array>
#include <cstdint>
#include <span>

#include "game/board.h"
#include "platform/platform.h"
#include "render/frame_layout.h"

namespace pax {

inline constexpr std::size_t TILE_BITMAP_BYTES = 5138;

// The four tile pictures as complete BMP files, one after another in TileKind order.
std::span<const std::uint8_t> TileBitmap(TileKind kind);

// Called once at start-up: decodes the four tile bitmaps, kinds 0 to 3 in order, into images
// the platform can present. A bitmap that does not decode leaves an empty image, and cells of
// that kind then show the background.
void LoadTileImages(Platform& platform, std::array<Image, TILE_KINDS>& tileImages);

}  // namespace pax
