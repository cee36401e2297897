#include "canvas.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace pax {

namespace {

// The part [begin, end) of start .. start + length - 1 that lies in 0 .. limit - 1. Widened so
// that a span reaching past the largest int clips instead of wrapping.
struct Span {
  int begin;
  int end;
  bool empty() const { return begin >= end; }
};

Span Clip(int start, int length, int limit) {
  const long long end = std::min<long long>(static_cast<long long>(start) + length, limit);
  return Span{std::max(start, 0), static_cast<int>(std::max<long long>(end, 0))};
}

}  // namespace

void Canvas::fillRect(int x, int y, int width, int height, Rgb colour) {
  const Span columns = Clip(x, width, target_.width());
  const Span rows = Clip(y, height, target_.height());
  if (columns.empty() || rows.empty()) return;
  const int left = columns.begin, right = columns.end, top = rows.begin, bottom = rows.end;
  const auto bytes = static_cast<std::size_t>(3 * (right - left));
  // A grey has three equal bytes: the rows are set like plain memory, and where the rectangle is
  // as wide as the image (the background of every frame) in one go, padding included.
  if (colour.r == colour.g && colour.g == colour.b) {
    if (left == 0 && right == target_.width()) {
      const auto stride = static_cast<std::size_t>(target_.stride());
      std::memset(target_.row(top), colour.r,
                  stride * static_cast<std::size_t>(bottom - top - 1) + bytes);
    } else {
      for (int row = top; row < bottom; ++row)
        std::memset(target_.row(row) + 3 * left, colour.r, bytes);
    }
    return;
  }
  std::uint8_t* first = target_.row(top) + 3 * left;
  for (int i = 0; i < right - left; ++i) {
    first[3 * i] = colour.b;
    first[3 * i + 1] = colour.g;
    first[3 * i + 2] = colour.r;
  }
  for (int row = top + 1; row < bottom; ++row)
    std::memcpy(target_.row(row) + 3 * left, first, bytes);
}

// Bresenham's line, so that every platform sets the same pixels.
void Canvas::drawLine(int x1, int y1, int x2, int y2, Rgb colour) {
  if (y1 == y2) {
    fillRect(std::min(x1, x2), y1, std::abs(x2 - x1) + 1, 1, colour);
    return;
  }
  const int dx = std::abs(x2 - x1);
  const int dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1;
  const int sy = y1 < y2 ? 1 : -1;
  int error = dx + dy;
  for (int x = x1, y = y1;;) {
    setPixel(x, y, colour);
    if (x == x2 && y == y2) break;
    const int twice = 2 * error;
    if (twice >= dy) {
      error += dy;
      x += sx;
    }
    if (twice <= dx) {
      error += dx;
      y += sy;
    }
  }
}

void Canvas::setPixel(int x, int y, Rgb colour) {
  if (target_.contains(x, y)) target_.setPixel(x, y, colour);
}

void Canvas::copyImage(const Image& image, int x, int y) {
  const Span columns = Clip(x, image.width(), target_.width());
  const Span rows = Clip(y, image.height(), target_.height());
  if (image.empty() || columns.empty() || rows.empty()) return;
  const int left = columns.begin, right = columns.end, top = rows.begin, bottom = rows.end;
  const auto bytes = static_cast<std::size_t>(3 * (right - left));
  std::uint8_t* to = target_.row(top) + 3 * left;
  const std::uint8_t* from = image.row(top - y) + 3 * (left - x);
  for (int remaining = bottom - top; remaining > 0; --remaining) {
    std::memcpy(to, from, bytes);
    to += target_.stride();
    from += image.stride();
  }
}

void Canvas::drawText(int x, int y, std::string_view text, Rgb colour) {
  text_.rasterizeText(font_, text, mask_);
  const auto cells = static_cast<std::size_t>(std::max(mask_.width, 0)) *
                     static_cast<std::size_t>(std::max(mask_.height, 0));
  if (mask_.coverage.size() < cells) return;
  if (!transparentText_) fillRect(x, y, mask_.width, mask_.height, Rgb{});
  // Only the part of the box that lies in the image is mixed.
  const Span columns = Clip(x, mask_.width, target_.width());
  const Span rows = Clip(y, mask_.height, target_.height());
  if (columns.empty() || rows.empty()) return;
  for (int row = rows.begin; row < rows.end; ++row) {
    const std::uint8_t* coverage =
        mask_.coverage.data() +
        static_cast<std::size_t>(row - y) * static_cast<std::size_t>(mask_.width) +
        (columns.begin - x);
    std::uint8_t* p = target_.row(row) + 3 * columns.begin;
    for (int column = columns.begin; column < columns.end; ++column, ++coverage, p += 3) {
      const std::uint8_t a = *coverage;
      if (a == 0) continue;
      p[0] = BlendCoverage(p[0], colour.b, a);
      p[1] = BlendCoverage(p[1], colour.g, a);
      p[2] = BlendCoverage(p[2], colour.r, a);
    }
  }
}

}  // namespace pax
