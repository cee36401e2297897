#pragma once

#include <array>

#include "game/board.h"
#include "platform/platform.h"

namespace pax {

// Called once at start-up: decodes the four embedded tile bitmaps, kinds 0 to 3 in order.
void LoadTileImages(Platform& platform, std::array<Image, TILE_KINDS>& tileImages);

}  // namespace pax
