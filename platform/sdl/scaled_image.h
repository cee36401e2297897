#pragma once

// The frame as the window shows it on a scaled desktop: every pixel repeated `scale` times
// across and down, never blended with its neighbours, so the picture stays as crisp as the
// frame itself.

#include "platform/image.h"

namespace pax::sdl {

// Fills `target` (made `scale` times the size of `source` when it is not already) with
// `source`'s pixels repeated.
void ReplicatePixels(const Image& source, int scale, Image& target);

}  // namespace pax::sdl
