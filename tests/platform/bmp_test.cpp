#include "platform/bmp.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <vector>

namespace pax {
namespace {

void Put32(std::vector<std::uint8_t>& d, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i)
    d[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}
void Put16(std::vector<std::uint8_t>& d, std::size_t at, std::uint16_t v) {
  d[at] = static_cast<std::uint8_t>(v);
  d[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

// A 24-bit BMP file image of 5 x 3 pixels whose pixel (x, y) is (red x, green y, blue 9), rows
// stored bottom-up (or top-down), each padded with 0xFF fill bytes.
std::vector<std::uint8_t> SmallBmp(bool topDown = false) {
  const int w = 5, h = 3, row = 16;
  std::vector<std::uint8_t> d(54 + row * h, 0xFF);
  d[0] = 'B';
  d[1] = 'M';
  Put32(d, 2, static_cast<std::uint32_t>(d.size()));
  Put32(d, 6, 0);
  Put32(d, 10, 54);
  Put32(d, 14, 40);
  Put32(d, 18, w);
  Put32(d, 22, static_cast<std::uint32_t>(topDown ? -h : h));
  Put16(d, 26, 1);
  Put16(d, 28, 24);
  for (std::size_t at = 30; at < 54; at += 4) Put32(d, at, 0);
  for (int y = 0; y < h; ++y) {
    const int stored = topDown ? y : h - 1 - y;
    for (int x = 0; x < w; ++x) {
      std::uint8_t* p = &d[static_cast<std::size_t>(54 + stored * row + 3 * x)];
      p[0] = 9;
      p[1] = static_cast<std::uint8_t>(y);
      p[2] = static_cast<std::uint8_t>(x);
    }
  }
  return d;
}

TEST(DecodeBmp, RowsComeOutUprightWithTheStoredPixels) {
  for (bool topDown : {false, true}) {
    const std::vector<std::uint8_t> data = SmallBmp(topDown);
    const Image image = DecodeBmp(data);
    ASSERT_EQ(image.width(), 5);
    ASSERT_EQ(image.height(), 3);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(image.pixel(x, y),
                  (Rgb{static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), 9}))
            << x << "," << y << (topDown ? " top-down" : " bottom-up");
      }
    }
  }
}

TEST(DecodeBmp, FileSizeAndResolutionFieldsPlayNoPart) {
  std::vector<std::uint8_t> data = SmallBmp();
  Put32(data, 2, 1);       // bfSize
  Put32(data, 34, 12345);  // biSizeImage
  Put32(data, 38, 3776);   // resolution
  Put32(data, 42, 1);
  data.push_back(0);  // trailing bytes
  EXPECT_FALSE(DecodeBmp(data).empty());
}

TEST(DecodeBmp, RefusesWhatItCannotDecode) {
  using Mutation = std::function<void(std::vector<std::uint8_t>&)>;
  const std::pair<const char*, Mutation> cases[] = {
      {"empty", [](auto& d) { d.clear(); }},
      {"shorter than the headers", [](auto& d) { d.resize(53); }},
      {"last row cut short", [](auto& d) { d.pop_back(); }},
      {"wrong magic", [](auto& d) { d[1] = 'A'; }},
      {"core header", [](auto& d) { Put32(d, 14, 12); }},
      {"info header past the end", [](auto& d) { Put32(d, 14, 0xFFFFFFF0); }},
      {"pixels inside the header", [](auto& d) { Put32(d, 10, 20); }},
      {"pixels past the end", [](auto& d) { Put32(d, 10, 0xFFFFFFFF); }},
      {"width 0", [](auto& d) { Put32(d, 18, 0); }},
      {"negative width", [](auto& d) { Put32(d, 18, static_cast<std::uint32_t>(-5)); }},
      {"height 0", [](auto& d) { Put32(d, 22, 0); }},
      {"smallest height", [](auto& d) { Put32(d, 22, static_cast<std::uint32_t>(INT_MIN)); }},
      {"huge width", [](auto& d) { Put32(d, 18, 0x7FFFFFFF); }},
      {"huge height", [](auto& d) { Put32(d, 22, 100000); }},
      {"huge but square",
       [](auto& d) {
         Put32(d, 18, 16000);
         Put32(d, 22, 16000);
       }},
      {"two planes", [](auto& d) { Put16(d, 26, 2); }},
      {"32 bits", [](auto& d) { Put16(d, 28, 32); }},
      {"8 bits", [](auto& d) { Put16(d, 28, 8); }},
      {"run-length compressed", [](auto& d) { Put32(d, 30, 1); }},
      {"bit fields", [](auto& d) { Put32(d, 30, 3); }},
  };
  for (const auto& [what, mutate] : cases) {
    std::vector<std::uint8_t> data = SmallBmp();
    mutate(data);
    EXPECT_TRUE(DecodeBmp(data).empty()) << what;
  }
}

TEST(DecodeBmp, AFailedImageCreationGivesAnEmptyImage) {
  const std::vector<std::uint8_t> data = SmallBmp();
  EXPECT_TRUE(DecodeBmp(data, [](int, int) { return Image(); }).empty());
}

}  // namespace
}  // namespace pax
