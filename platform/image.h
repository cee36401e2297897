#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace pax {

// One 24-bit colour. Constants are written 0xRRGGBB through RgbHex.
struct Rgb {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  friend constexpr bool operator==(Rgb, Rgb) = default;
};

constexpr Rgb RgbHex(std::uint32_t hex) {
  return Rgb{static_cast<std::uint8_t>(hex >> 16), static_cast<std::uint8_t>(hex >> 8),
             static_cast<std::uint8_t>(hex)};
}

constexpr std::uint32_t HexOf(Rgb c) {
  return (std::uint32_t{c.r} << 16) | (std::uint32_t{c.g} << 8) | std::uint32_t{c.b};
}

// Memory that a platform allocated for an image (a DIB section on Windows). The image keeps it
// alive and releases it when the image goes.
class ImageMemory {
 public:
  virtual ~ImageMemory() = default;
  // The platform's own handle for the pixels, or nullptr where there is none.
  virtual void* nativeHandle() const { return nullptr; }
};

// A 24-bit image: rows top to bottom, each pixel blue, green, red, each row padded to a multiple
// of 4 bytes. That is the layout of a top-down Windows DIB and of SDL's BGR24 surfaces, so every
// platform can present the pixels without converting them. An empty image (width 0) is what a
// failed creation or decode gives; drawing it draws nothing.
class Image {
 public:
  Image() = default;
  // Pixels on the heap, all black. A width or height of 0 or less gives an empty image.
  Image(int width, int height);
  // Pixels in memory that `owner` keeps alive; `bits` holds `height` rows of `stride` bytes.
  Image(int width, int height, int stride, std::uint8_t* bits, std::unique_ptr<ImageMemory> owner);

  Image(Image&&) noexcept = default;
  Image& operator=(Image&&) noexcept = default;
  Image(const Image&) = delete;
  Image& operator=(const Image&) = delete;

  static int StrideFor(int width) { return (width * 3 + 3) & ~3; }

  bool empty() const { return width_ <= 0 || height_ <= 0; }
  int width() const { return width_; }
  int height() const { return height_; }
  int stride() const { return stride_; }
  std::uint8_t* row(int y) { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }
  const std::uint8_t* row(int y) const { return bits_ + static_cast<std::ptrdiff_t>(y) * stride_; }
  void* nativeHandle() const { return owner_ ? owner_->nativeHandle() : nullptr; }

  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  // Unchecked: the position must lie inside the image.
  Rgb pixel(int x, int y) const {
    const std::uint8_t* p = row(y) + 3 * x;
    return Rgb{p[2], p[1], p[0]};
  }
  void setPixel(int x, int y, Rgb c) {
    std::uint8_t* p = row(y) + 3 * x;
    p[0] = c.b;
    p[1] = c.g;
    p[2] = c.r;
  }

 private:
  int width_ = 0;
  int height_ = 0;
  int stride_ = 0;
  std::uint8_t* bits_ = nullptr;
  std::vector<std::uint8_t> heap_;
  std::unique_ptr<ImageMemory> owner_;
};

}  // namespace pax
