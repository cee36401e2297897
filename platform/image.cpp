#include "image.h"

#include <utility>

namespace pax {

Image::Image(int width, int height) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  stride_ = StrideFor(width);
  heap_.assign(static_cast<std::size_t>(stride_) * static_cast<std::size_t>(height), 0);
  bits_ = heap_.data();
}

Image::Image(int width, int height, int stride, std::uint8_t* bits,
             std::unique_ptr<ImageMemory> owner)
    : owner_(std::move(owner)) {
  if (width <= 0 || height <= 0 || bits == nullptr || stride < width * 3) return;
  width_ = width;
  height_ = height;
  stride_ = stride;
  bits_ = bits;
}

}  // namespace pax
