#pragma once

#include <cstdint>
#include <functional>
#include <span>

#include "image.h"

namespace pax {

// Makes the image that a decode fills: the platform's createImage in the game.
using ImageMaker = std::function<Image(int width, int height)>;

// Decodes an uncompressed 24-bit BMP file image (rows bottom-up or top-down) into an upright
// image with the stored pixels. All sizes come from the headers and are checked against the
// data: anything it cannot decode (wrong magic, truncated data, odd sizes, other bit counts or
// compressions, a picture too large to be a sensible image) gives an empty image.
Image DecodeBmp(std::span<const std::uint8_t> data, const ImageMaker& make);
Image DecodeBmp(std::span<const std::uint8_t> data);

// The largest picture DecodeBmp accepts, per side and in pixels.
inline constexpr int BMP_MAX_SIDE = 16384;
inline constexpr std::int64_t BMP_MAX_PIXELS = std::int64_t{4096} * 4096;

}  // namespace pax
