#include "platform/sdl/icon_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace pax::sdl {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}
void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

// One picture of an icon file: a 32-bit bitmap, rows bottom-up, and its mask.
std::vector<std::uint8_t> Bitmap32(int size, const std::vector<std::uint32_t>& topDownArgb) {
  std::vector<std::uint8_t> out;
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(size));
  Put32(out, static_cast<std::uint32_t>(2 * size));
  Put16(out, 1);
  Put16(out, 32);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) Put32(out, topDownArgb[static_cast<std::size_t>(y * size + x)]);
  }
  out.insert(out.end(), static_cast<std::size_t>(4 * size), 0);  // mask rows, 4 bytes each
  return out;
}

struct Entry {
  int size;
  std::vector<std::uint8_t> data;
};

// An icon file of the entries; `cut` bytes are taken off its end.
std::vector<std::uint8_t> IconFile(const std::vector<Entry>& entries, std::size_t cut = 0) {
  std::vector<std::uint8_t> out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(entries.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * entries.size());
  for (const Entry& e : entries) {
    out.push_back(static_cast<std::uint8_t>(e.size));
    out.push_back(static_cast<std::uint8_t>(e.size));
    out.push_back(0);
    out.push_back(0);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<std::uint32_t>(e.data.size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(e.data.size());
  }
  for (const Entry& e : entries) out.insert(out.end(), e.data.begin(), e.data.end());
  out.resize(out.size() - cut);
  return out;
}

const std::vector<std::uint32_t> CORNERS = {0xFF112233, 0x80445566, 0x00778899, 0xFFAABBCC};

TEST(IconFile, DecodesRowsTopDownWithAlpha) {
  const std::vector<IconImage> images = DecodeIconFile(IconFile({{2, Bitmap32(2, CORNERS)}}));
  ASSERT_EQ(images.size(), 1u);
  EXPECT_EQ(images[0].size, 2);
  EXPECT_EQ(images[0].pixels, CORNERS);
}

TEST(IconFile, SkipsWhatItCannotRead) {
  const std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', 13, 10, 26, 10};
  const std::vector<std::uint8_t> good = Bitmap32(2, CORNERS);
  struct Case {
    std::string name;
    std::vector<std::uint8_t> file;
    std::size_t decoded;
  };
  const Case cases[] = {
      {"empty", {}, 0},
      {"not an icon file", std::vector<std::uint8_t>(64, 0x42), 0},
      {"a PNG entry and a bitmap", IconFile({{2, png}, {2, good}}), 1},
      {"the directory names another size", IconFile({{3, good}}), 0},
      {"the last picture cut short", IconFile({{2, good}, {2, good}}, 1), 1},
      {"the directory cut short", IconFile({{2, good}}, good.size() + 1), 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DecodeIconFile(c.file).size(), c.decoded) << c.name;
  }
}

// The icon the game carries: the three sizes of its window icon, each with visible pixels.
TEST(IconFile, TheGameIcon) {
  std::ifstream in(PAX_ICON_FILE, std::ios::binary);
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in),
                                       std::istreambuf_iterator<char>()};
  const std::vector<IconImage> images = DecodeIconFile(file);
  ASSERT_EQ(images.size(), 3u);
  const int sizes[] = {48, 32, 16};
  for (std::size_t i = 0; i < images.size(); ++i) {
    EXPECT_EQ(images[i].size, sizes[i]);
    std::size_t opaque = 0;
    for (const std::uint32_t p : images[i].pixels) opaque += (p >> 24) == 0xFF;
    EXPECT_GT(opaque, images[i].pixels.size() / 2) << "size " << sizes[i];
  }
}

}  // namespace
}  // namespace pax::sdl
