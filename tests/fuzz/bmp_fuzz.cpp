// Any bytes at all go through the BMP decoder: it must answer with an image whose size matches
// its headers, or an empty one, and never read or write outside the data.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/bmp.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pax::Image image = pax::DecodeBmp(std::span<const std::uint8_t>(data, size));
  if (!image.empty()) {
    if (image.width() > pax::BMP_MAX_SIDE || image.height() > pax::BMP_MAX_SIDE) std::abort();
    // Touch every pixel so that the sanitizers see any row that was not really allocated.
    unsigned sum = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) sum += image.pixel(x, y).r;
    }
    if (sum == 0xFFFFFFFFu) std::abort();
  }
  return 0;
}
