#include "platform/ppm.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pax {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

TEST(Ppm, RoundTripKeepsEveryPixel) {
  Image image(3, 2);
  image.setPixel(0, 0, RgbHex(0x102030));
  image.setPixel(2, 1, RgbHex(0xFFFE01));
  const std::vector<std::uint8_t> file = EncodePpm(image);
  EXPECT_EQ(std::string(file.begin(), file.begin() + 11), "P6\n3 2\n255\n");
  EXPECT_EQ(file.size(), 11u + 18u);
  const Image back = DecodePpm(file);
  ASSERT_EQ(back.width(), 3);
  ASSERT_EQ(back.height(), 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) EXPECT_EQ(back.pixel(x, y), image.pixel(x, y)) << x << "," << y;
  }
}

TEST(Ppm, ReadsHeaderCommentsAndRejectsWhatItCannotRead) {
  const std::string pixel = "\x01\x02\x03";
  EXPECT_EQ(DecodePpm(Bytes("P6 # made by hand\n1 1\n255\n" + pixel)).pixel(0, 0), (Rgb{1, 2, 3}));
  for (const std::string& bad :
       std::vector<std::string>{"", "P3\n1 1\n255\n" + pixel, "P6\n1 1\n65535\n" + pixel,
                                "P6\n2 1\n255\n" + pixel, "P6\n0 1\n255\n", "P6\n-1 1\n255\n",
                                "P6\n9999999 9999999\n255\n" + pixel, "P6\n1 1\n255"}) {
    EXPECT_TRUE(DecodePpm(Bytes(bad)).empty()) << bad;
  }
}

}  // namespace
}  // namespace pax
