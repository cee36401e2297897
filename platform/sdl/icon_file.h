#pragma once

// The window icon comes from the same icon file that the Windows build carries as a resource.

#include <cstdint>
#include <span>
#include <vector>

namespace pax::sdl {

// One square picture of the icon, rows top to bottom, each pixel 0xAARRGGBB: the layout of the
// X11 icon property and of SDL's ARGB8888 surfaces.
struct IconImage {
  int size = 0;
  std::vector<std::uint32_t> pixels;
};

// The uncompressed 32-bit pictures of an icon file, in the file's order. Entries stored in
// another form (PNG, palettes) and entries whose data does not fit the file are skipped, so a
// damaged file gives what is left of it, which may be nothing.
std::vector<IconImage> DecodeIconFile(std::span<const std::uint8_t> file);

}  // namespace pax::sdl
