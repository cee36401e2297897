#include "bmp.h"

#include <cstring>

#include "little_endian.h"

namespace pax {

namespace {

constexpr std::size_t FILE_HEADER_SIZE = 14;
constexpr std::uint32_t INFO_HEADER_MIN = 40;
constexpr std::uint32_t BI_RGB = 0;

std::int32_t I32(std::span<const std::uint8_t> d, std::size_t at) {
  return static_cast<std::int32_t>(ReadLe32(d, at));
}

}  // namespace

Image DecodeBmp(std::span<const std::uint8_t> data, const ImageMaker& make) {
  if (data.size() < FILE_HEADER_SIZE + INFO_HEADER_MIN) return {};
  if (data[0] != 'B' || data[1] != 'M') return {};
  const std::uint64_t pixelsAt = ReadLe32(data, 10);
  const std::uint64_t infoSize = ReadLe32(data, 14);
  if (infoSize < INFO_HEADER_MIN || FILE_HEADER_SIZE + infoSize > data.size()) return {};
  if (pixelsAt < FILE_HEADER_SIZE + infoSize) return {};

  const std::int32_t width = I32(data, 18);
  const std::int32_t storedHeight = I32(data, 22);
  if (ReadLe16(data, 26) != 1 || ReadLe16(data, 28) != 24 || ReadLe32(data, 30) != BI_RGB)
    return {};
  // A negative height stores the rows top-down. The smallest int has no positive counterpart.
  if (width <= 0 || storedHeight == 0 || storedHeight < -BMP_MAX_SIDE) return {};
  const std::int32_t height = storedHeight < 0 ? -storedHeight : storedHeight;
  if (width > BMP_MAX_SIDE || height > BMP_MAX_SIDE) return {};
  if (std::int64_t{width} * height > BMP_MAX_PIXELS) return {};

  const std::uint64_t rowBytes = (std::uint64_t{static_cast<std::uint32_t>(width)} * 3 + 3) & ~3ull;
  if (pixelsAt + rowBytes * static_cast<std::uint64_t>(height) > data.size()) return {};

  Image image = make(width, height);
  if (image.empty() || image.width() != width || image.height() != height) return {};
  const bool bottomUp = storedHeight > 0;
  for (int y = 0; y < height; ++y) {
    const int stored = bottomUp ? height - 1 - y : y;
    const std::uint8_t* source =
        data.data() + pixelsAt + rowBytes * static_cast<std::uint64_t>(stored);
    std::memcpy(image.row(y), source, static_cast<std::size_t>(width) * 3);
  }
  return image;
}

Image DecodeBmp(std::span<const std::uint8_t> data) {
  return DecodeBmp(data, [](int w, int h) { return Image(w, h); });
}

}  // namespace pax
