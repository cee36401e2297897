#include "platform/sdl/scaled_image.h"

#include <gtest/gtest.h>

namespace pax::sdl {
namespace {

// A frame of odd width (its rows padded) with a different colour in every pixel.
Image Pattern(int width, int height) {
  Image image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.setPixel(x, y,
                     Rgb{static_cast<std::uint8_t>(x * 40), static_cast<std::uint8_t>(y * 50),
                         static_cast<std::uint8_t>(x + 10 * y)});
    }
  }
  return image;
}

TEST(ReplicatePixels, EveryBlockIsOneSourcePixel) {
  const Image source = Pattern(5, 3);
  for (const int scale : {1, 2, 3}) {
    Image target;
    ReplicatePixels(source, scale, target);
    ASSERT_EQ(target.width(), 5 * scale);
    ASSERT_EQ(target.height(), 3 * scale);
    for (int y = 0; y < target.height(); ++y) {
      for (int x = 0; x < target.width(); ++x) {
        ASSERT_EQ(target.pixel(x, y), source.pixel(x / scale, y / scale))
            << "(" << x << ", " << y << ") at " << scale;
      }
    }
  }
}

TEST(ReplicatePixels, ReusesATargetOfTheRightSize) {
  const Image source = Pattern(4, 4);
  Image target(8, 8);
  const std::uint8_t* bits = target.row(0);
  ReplicatePixels(source, 2, target);
  EXPECT_EQ(target.row(0), bits);
  EXPECT_EQ(target.pixel(7, 7), source.pixel(3, 3));
  // A target of another size is made anew.
  ReplicatePixels(source, 3, target);
  EXPECT_EQ(target.width(), 12);
  EXPECT_EQ(target.pixel(11, 11), source.pixel(3, 3));
}

}  // namespace
}  // namespace pax::sdl
