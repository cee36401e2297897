#include "dib_image.h"

#include <climits>
#include <cstring>
#include <memory>

namespace pax::win32 {

namespace {

class DibSection final : public ImageMemory {
 public:
  explicit DibSection(HBITMAP bitmap) : bitmap_(bitmap) {}
  DibSection(const DibSection&) = delete;
  DibSection& operator=(const DibSection&) = delete;
  ~DibSection() override { DeleteObject(bitmap_); }
  void* nativeHandle() const override { return bitmap_; }

 private:
  HBITMAP bitmap_;
};

}  // namespace

Image CreateDibImage(int width, int height) {
  // Beyond this a row's byte count no longer fits an int, and no system would make it anyway.
  if (width <= 0 || height <= 0 || width > (INT_MAX - 3) / 3) return Image();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;  // negative: rows top-down, as Image stores them
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap) return Image();
  if (!bits) {
    DeleteObject(bitmap);
    return Image();
  }
  // Rows of a 24-bit DIB are padded to 4 bytes, which is Image's stride too.
  const int stride = Image::StrideFor(width);
  std::memset(bits, 0, static_cast<std::size_t>(stride) * static_cast<std::size_t>(height));
  return Image(width, height, stride, static_cast<std::uint8_t*>(bits),
               std::make_unique<DibSection>(bitmap));
}

}  // namespace pax::win32
