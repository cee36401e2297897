#pragma once

// Binary PPM pictures (P6, 8-bit samples, red first): the replay tool writes its frame dumps
// in it, the end-to-end checks read screenshots in it, and the tests keep reference pictures
// in it.

#include <cstdint>
#include <span>
#include <vector>

#include "image.h"

namespace pax {

std::vector<std::uint8_t> EncodePpm(const Image& image);
// An empty image for anything but a whole P6 file with a maximum sample value of 255.
Image DecodePpm(std::span<const std::uint8_t> data);

}  // namespace pax
