#include "icon_file.h"

#include <utility>

#include "platform/little_endian.h"

namespace pax::sdl {

namespace {

constexpr std::size_t DIRECTORY_BYTES = 6;
constexpr std::size_t ENTRY_BYTES = 16;
constexpr std::uint32_t INFO_HEADER_BYTES = 40;

// One directory entry's picture: a bitmap info header, then the colour rows bottom-up (blue,
// green, red, alpha), then the 1-bit mask, which 32-bit pictures do not need.
bool DecodeEntry(std::span<const std::uint8_t> file, std::size_t entry, IconImage& out) {
  const int size = file[entry] == 0 ? 256 : file[entry];
  const std::uint32_t length = ReadLe32(file, entry + 8);
  const std::uint32_t offset = ReadLe32(file, entry + 12);
  if (offset > file.size() || length > file.size() - offset || length < INFO_HEADER_BYTES) {
    return false;
  }
  const std::span<const std::uint8_t> image = file.subspan(offset, length);
  const bool plain32 = ReadLe32(image, 0) == INFO_HEADER_BYTES &&
                       ReadLe32(image, 4) == static_cast<std::uint32_t>(size) &&
                       ReadLe32(image, 8) == 2 * static_cast<std::uint32_t>(size) &&
                       ReadLe16(image, 14) == 32 && ReadLe32(image, 16) == 0;
  const std::size_t rowBytes = 4 * static_cast<std::size_t>(size);
  if (!plain32 || image.size() - INFO_HEADER_BYTES < rowBytes * static_cast<std::size_t>(size)) {
    return false;
  }
  out.size = size;
  out.pixels.resize(static_cast<std::size_t>(size) * static_cast<std::size_t>(size));
  for (int y = 0; y < size; ++y) {
    const std::size_t row = INFO_HEADER_BYTES + rowBytes * static_cast<std::size_t>(size - 1 - y);
    for (int x = 0; x < size; ++x) {
      const std::size_t p = row + 4 * static_cast<std::size_t>(x);
      out.pixels[static_cast<std::size_t>(y * size + x)] = ReadLe32(image, p);
    }
  }
  return true;
}

}  // namespace

std::vector<IconImage> DecodeIconFile(std::span<const std::uint8_t> file) {
  std::vector<IconImage> images;
  if (file.size() < DIRECTORY_BYTES || ReadLe16(file, 0) != 0 || ReadLe16(file, 2) != 1)
    return images;
  const std::uint32_t count = ReadLe16(file, 4);
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::size_t entry = DIRECTORY_BYTES + ENTRY_BYTES * i;
    if (entry + ENTRY_BYTES > file.size()) break;
    IconImage image;
    if (DecodeEntry(file, entry, image)) images.push_back(std::move(image));
  }
  return images;
}

}  // namespace pax::sdl
