// Checks the committed tile bitmaps and icon files in assets/ against the colours and layout the
// game's pictures are meant to have. It reads the files themselves, not the generator.

#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes ReadAsset(const std::string& name) {
  std::ifstream f(std::string(PAX_ASSETS_DIR) + "/" + name, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
}

std::uint32_t Le(const Bytes& b, std::size_t offset, std::size_t size) {
  std::uint32_t v = 0;
  for (std::size_t i = size; i-- > 0;) v = (v << 8) | b.at(offset + i);
  return v;
}

struct Rgb {
  int r = 0;
  int g = 0;
  int b = 0;
};

Rgb FromHex(std::uint32_t hex) {
  return Rgb{static_cast<int>(hex >> 16 & 0xFF), static_cast<int>(hex >> 8 & 0xFF),
             static_cast<int>(hex & 0xFF)};
}

int Distance(Rgb a, Rgb b) {
  return std::max({std::abs(a.r - b.r), std::abs(a.g - b.g), std::abs(a.b - b.b)});
}

std::string Hex(Rgb c) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%02X%02X%02X", c.r, c.g, c.b);
  return text;
}

// ---------------------------------------------------------------------------------------------
// Tiles

constexpr int kTileSize = 41;
constexpr std::size_t kTileFileSize = 5138;
constexpr std::size_t kPixelOffset = 54;
constexpr std::size_t kRowBytes = 124;

class Tiles : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    for (int kind = 0; kind < 4; ++kind) {
      files_[static_cast<std::size_t>(kind)] = ReadAsset("tile" + std::to_string(kind) + ".bmp");
    }
  }
  void SetUp() override {
    for (const Bytes& f : files_) ASSERT_EQ(f.size(), kTileFileSize);
  }

  static const Bytes& File(int kind) { return files_.at(static_cast<std::size_t>(kind)); }
  // (x, y) counted from the top left; rows are stored bottom-up, blue first.
  static Rgb Pixel(int kind, int x, int y) {
    const Bytes& f = File(kind);
    const std::size_t at = kPixelOffset + static_cast<std::size_t>(kTileSize - 1 - y) * kRowBytes +
                           3 * static_cast<std::size_t>(x);
    return Rgb{f[at + 2], f[at + 1], f[at]};
  }

  static inline std::array<Bytes, 4> files_;
};

TEST_F(Tiles, HeadersHoldTheStoredValues) {
  struct Field {
    std::size_t offset;
    std::size_t size;
    std::uint32_t value;  // for the resolution fields: the value of the coloured tiles
    const char* name;
  };
  constexpr Field kFields[] = {
      {0, 2, 'B' | 'M' << 8, "bfType"}, {2, 4, 5138, "bfSize"},
      {6, 2, 0, "bfReserved1"},         {8, 2, 0, "bfReserved2"},
      {10, 4, 54, "bfOffBits"},         {14, 4, 40, "biSize"},
      {18, 4, 41, "biWidth"},           {22, 4, 41, "biHeight (bottom-up)"},
      {26, 2, 1, "biPlanes"},           {28, 2, 24, "biBitCount"},
      {30, 4, 0, "biCompression"},      {34, 4, 0, "biSizeImage"},
      {38, 4, 3777, "biXPelsPerMeter"}, {42, 4, 3777, "biYPelsPerMeter"},
      {46, 4, 0, "biClrUsed"},          {50, 4, 0, "biClrImportant"},
  };
  for (int kind = 0; kind < 4; ++kind) {
    for (const Field& f : kFields) {
      std::uint32_t expected = f.value;
      if (kind == 0 && (f.offset == 38 || f.offset == 42)) expected = 3776;
      EXPECT_EQ(Le(File(kind), f.offset, f.size), expected) << "tile " << kind << ' ' << f.name;
    }
  }
}

TEST_F(Tiles, EveryRowEndsInAnFFFillByte) {
  for (int kind = 0; kind < 4; ++kind) {
    for (std::size_t row = 0; row < kTileSize; ++row) {
      EXPECT_EQ(File(kind)[kPixelOffset + row * kRowBytes + 123], 0xFF)
          << "tile " << kind << " stored row " << row;
    }
  }
}

// Tabulated colours, each to be met within 3 levels per channel.
struct Expected {
  int x;
  int y;
  std::array<std::uint32_t, 4> byKind;
};

void ExpectColours(const char* table, const std::vector<Expected>& cases,
                   Rgb (*pixel)(int, int, int)) {
  for (const Expected& e : cases) {
    for (int kind = 0; kind < 4; ++kind) {
      const std::uint32_t hex = e.byKind[static_cast<std::size_t>(kind)];
      const Rgb got = pixel(kind, e.x, e.y);
      EXPECT_LE(Distance(got, FromHex(hex)), 3)
          << table << ": tile " << kind << " (" << e.x << ", " << e.y << ") is " << Hex(got)
          << ", expected " << Hex(FromHex(hex));
    }
  }
}

TEST_F(Tiles, SamplePixels) {
  ExpectColours("samples",
                {
                    {0, 0, {0x929292, 0xAB9DE6, 0xE89E9F, 0xE7DF9E}},
                    {20, 0, {0x9D9D9D, 0xBFB3EF, 0xF1B5B5, 0xF0E9B4}},
                    {40, 0, {0x949494, 0xAD9EEA, 0xECA0A0, 0xEAE39F}},
                    {0, 20, {0x303030, 0x3A09EF, 0xF00909, 0xF0DB09}},
                    {20, 20, {0x373737, 0x3E09FF, 0xFF0909, 0xFFE909}},
                    {40, 20, {0x313131, 0x3A09EF, 0xF1090A, 0xF0DB09}},
                    {0, 40, {0x969696, 0xB2A5E5, 0xE8A7A7, 0xE6DFA6}},
                    {20, 40, {0x949494, 0xB4A5EF, 0xF1A6A6, 0xF0E7A5}},
                    {40, 40, {0x939393, 0xAFA3E4, 0xE6A4A5, 0xE5DEA3}},
                },
                Pixel);
}

TEST_F(Tiles, VerticalCourseOfCentreAndLeftEdge) {
  struct Row {
    int y;
    std::array<std::uint32_t, 4> centre;
    std::array<std::uint32_t, 4> edge;
  };
  constexpr Row kRows[] = {
      {0, {0x9D9D9D, 0xBFB3EF, 0xF1B5B5, 0xF0E9B4}, {0x929292, 0xAB9DE6, 0xE89E9F, 0xE7DF9E}},
      {4, {0x8E8E8E, 0xAB98F8, 0xF99899, 0xF8EE98}, {0x7B7B7B, 0x927CEA, 0xEC7C7D, 0xEBDF7C}},
      {8, {0x737373, 0x886AFC, 0xFD6B6B, 0xFDEE6B}, {0x606060, 0x7253EC, 0xEE5353, 0xEDDF53}},
      {12, {0x525252, 0x5F35FF, 0xFF3535, 0xFFEC35}, {0x434343, 0x5126EE, 0xF02727, 0xEFDC27}},
      {16, {0x3B3B3B, 0x4411FF, 0xFF1111, 0xFFEA11}, {0x333333, 0x3D0DEF, 0xF00D0D, 0xEFDB0D}},
      {19, {0x363636, 0x3D09FF, 0xFF0909, 0xFFE909}, {0x2F2F2F, 0x3908EF, 0xF00808, 0xF0DB08}},
      {24, {0x424242, 0x4B1BFF, 0xFF1B1B, 0xFFE91B}, {0x3B3B3B, 0x461AEF, 0xF01A1B, 0xEFDB1A}},
      {28, {0x595959, 0x6740FF, 0xFF4040, 0xFFEC40}, {0x515151, 0x603CEF, 0xF03C3D, 0xEFDD3C}},
      {32, {0x747474, 0x886CFC, 0xFD6C6D, 0xFDED6C}, {0x6E6E6E, 0x8267ED, 0xEE6869, 0xEDE068}},
      {36, {0x898989, 0xA490F8, 0xF99091, 0xF8ED90}, {0x868686, 0x9F8CEA, 0xED8D8E, 0xEBE18D}},
      {40, {0x949494, 0xB4A5EF, 0xF1A6A6, 0xF0E7A5}, {0x969696, 0xB2A5E5, 0xE8A7A7, 0xE6DFA6}},
  };
  std::vector<Expected> cases;
  for (const Row& r : kRows) {
    cases.push_back({20, r.y, r.centre});
    cases.push_back({0, r.y, r.edge});
  }
  ExpectColours("vertical course", cases, Pixel);
}

TEST_F(Tiles, HorizontalCourseFromLeftEdgeToMiddle) {
  struct Course {
    int kind;
    int y;
    std::array<std::uint32_t, 7> colours;
  };
  constexpr std::array<int, 7> kColumns = {0, 1, 2, 5, 10, 14, 20};
  constexpr Course kCourses[] = {
      {2, 19, {0xF00808, 0xF30808, 0xF50809, 0xFA0808, 0xFE0808, 0xFF0909, 0xFF0909}},
      {2, 8, {0xEE5353, 0xF05656, 0xF3595A, 0xF76060, 0xFC6768, 0xFD6B6B, 0xFD6B6B}},
      {0, 8, {0x606060, 0x626262, 0x656565, 0x6B6B6B, 0x707070, 0x737373, 0x737373}},
      {0, 30, {0x606060, 0x616161, 0x636363, 0x656565, 0x676767, 0x686868, 0x686868}},
  };
  for (const Course& c : kCourses) {
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
      const Rgb got = Pixel(c.kind, kColumns[i], c.y);
      EXPECT_LE(Distance(got, FromHex(c.colours[i])), 3)
          << "tile " << c.kind << " (" << kColumns[i] << ", " << c.y << ") is " << Hex(got);
    }
  }
  // Through the deep middle rows the red tile's red falls off the same way in every row, and the
  // strong channels of the other two coloured tiles stay close to it.
  constexpr std::array<std::pair<int, int>, 6> kRedRun = {
      {{20, 0xFF}, {10, 0xFE}, {5, 0xFA}, {2, 0xF5}, {1, 0xF3}, {0, 0xF0}}};
  for (int y = 12; y <= 28; ++y) {
    for (auto [x, red] : kRedRun) {
      EXPECT_LE(std::abs(Pixel(2, x, y).r - red), 1) << "red tile (" << x << ", " << y << ")";
      EXPECT_LE(std::abs(Pixel(3, x, y).r - red), 2) << "yellow tile (" << x << ", " << y << ")";
      EXPECT_LE(std::abs(Pixel(1, x, y).b - red), 2) << "violet tile (" << x << ", " << y << ")";
    }
  }
}

TEST_F(Tiles, RowCentresAndMeans) {
  struct Summary {
    std::uint32_t row19;
    std::uint32_t row0;
    std::uint32_t row40;
    std::uint32_t mean;
  };
  constexpr Summary kSummaries[] = {
      {0x363636, 0x9D9D9D, 0x949494, 0x646464},
      {0x3D09FF, 0xBFB3EF, 0xB4A5EF, 0x7655F8},
      {0xFF0909, 0xF1B5B5, 0xF1A6A6, 0xF95555},
      {0xFFE909, 0xF0E9B4, 0xF0E7A5, 0xF8E855},
  };
  for (int kind = 0; kind < 4; ++kind) {
    const Summary& s = kSummaries[kind];
    EXPECT_LE(Distance(Pixel(kind, 20, 19), FromHex(s.row19)), 3) << "tile " << kind;
    EXPECT_LE(Distance(Pixel(kind, 20, 0), FromHex(s.row0)), 3) << "tile " << kind;
    EXPECT_LE(Distance(Pixel(kind, 20, 40), FromHex(s.row40)), 3) << "tile " << kind;

    double r = 0, g = 0, b = 0;
    for (int y = 0; y < kTileSize; ++y) {
      for (int x = 0; x < kTileSize; ++x) {
        const Rgb p = Pixel(kind, x, y);
        r += p.r;
        g += p.g;
        b += p.b;
      }
    }
    constexpr double kCount = kTileSize * kTileSize;
    const Rgb mean = FromHex(s.mean);
    EXPECT_NEAR(r / kCount, mean.r, 3) << "tile " << kind << " mean red";
    EXPECT_NEAR(g / kCount, mean.g, 3) << "tile " << kind << " mean green";
    EXPECT_NEAR(b / kCount, mean.b, 3) << "tile " << kind << " mean blue";
  }
}

int Brightness(Rgb c) {
  return c.r + c.g + c.b;
}

TEST_F(Tiles, ShadedLikeATubeDarkestOnRow19) {
  for (int kind = 0; kind < 4; ++kind) {
    const int deepest = Brightness(Pixel(kind, 20, 19));
    for (int y = 0; y < kTileSize; ++y) {
      const int here = Brightness(Pixel(kind, 20, y));
      if (y >= 18 && y <= 20) {
        EXPECT_GE(here, deepest) << "tile " << kind << " row " << y;
      } else {
        EXPECT_GT(here, deepest) << "tile " << kind << " row " << y;
      }
      // Lighter step by step away from row 19, both upward and downward.
      if (y != 19) {
        const int towardRow19 = Brightness(Pixel(kind, 20, y < 19 ? y + 1 : y - 1));
        EXPECT_GE(here, towardRow19) << "tile " << kind << " row " << y;
      }
    }
    EXPECT_GT(Brightness(Pixel(kind, 20, 0)), Brightness(Pixel(kind, 20, 40))) << "tile " << kind;
  }
}

TEST_F(Tiles, MiddleIsFlatAndHalvesMirror) {
  for (int kind = 0; kind < 4; ++kind) {
    for (int y = 0; y < kTileSize; ++y) {
      for (int x = 0; x < kTileSize; ++x) {
        EXPECT_LE(Distance(Pixel(kind, x, y), Pixel(kind, kTileSize - 1 - x, y)), 4)
            << "tile " << kind << " (" << x << ", " << y << ")";
        if (x >= 13 && x <= 27) {
          EXPECT_LE(Distance(Pixel(kind, x, y), Pixel(kind, 20, y)), 1)
              << "tile " << kind << " (" << x << ", " << y << ")";
        }
      }
    }
  }
}

TEST_F(Tiles, ColouredTilesShareOneShading) {
  for (int y = 0; y < kTileSize; ++y) {
    for (int x = 0; x < kTileSize; ++x) {
      const Rgb violet = Pixel(1, x, y);
      const Rgb red = Pixel(2, x, y);
      const Rgb yellow = Pixel(3, x, y);
      const auto strong = {violet.b, red.r, yellow.r};
      const auto weak = {violet.g, red.g, red.b, yellow.b};
      EXPECT_LE(std::max(strong) - std::min(strong), 3) << "strong at (" << x << ", " << y << ")";
      EXPECT_LE(std::max(weak) - std::min(weak), 2) << "weak at (" << x << ", " << y << ")";
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Icon

struct Rgba {
  int r = 0;
  int g = 0;
  int b = 0;
  int a = 0;
};

struct IconImage {
  int size = 0;
  std::vector<Rgba> pixels;               // top-down
  std::set<std::pair<int, int>> andMask;  // (x, y) of the pixels the AND mask marks see-through
  const Rgba& at(int x, int y) const { return pixels.at(static_cast<std::size_t>(y * size + x)); }
};

struct IconLayout {
  int size;
  std::uint32_t bytes;
  std::uint32_t offset;
  std::vector<int> edgeAlpha;  // along each edge, starting at the corner pixel
  int maskedPerCorner;         // 3: the corner and its two edge neighbours; 1: the corner only
};

const std::vector<IconLayout>& Layouts() {
  static const std::vector<IconLayout> layouts = {
      {48, 9640, 54, {0, 13, 104, 170, 173}, 3},
      {32, 4264, 9694, {0, 13, 107, 175, 179}, 3},
      {16, 1128, 13958, {10, 125, 188}, 1},
  };
  return layouts;
}

class Icon : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { file_ = ReadAsset("paxmorella.ico"); }
  void SetUp() override { ASSERT_EQ(file_.size(), 6u + 3 * 16 + 9640 + 4264 + 1128); }

  // Decodes one image at its offset: 32-bit BGRA rows bottom-up, then the AND mask.
  static IconImage Image(const IconLayout& l) {
    IconImage img{l.size, std::vector<Rgba>(static_cast<std::size_t>(l.size * l.size)), {}};
    const std::size_t n = static_cast<std::size_t>(l.size);
    const std::size_t pixels = l.offset + 40;
    const std::size_t mask = pixels + n * n * 4;
    const std::size_t maskRow = (n + 31) / 32 * 4;
    for (std::size_t row = 0; row < n; ++row) {
      const int y = l.size - 1 - static_cast<int>(row);
      for (std::size_t x = 0; x < n; ++x) {
        const std::size_t p = pixels + (row * n + x) * 4;
        img.pixels[static_cast<std::size_t>(y) * n + x] =
            Rgba{file_.at(p + 2), file_.at(p + 1), file_.at(p), file_.at(p + 3)};
        if (file_.at(mask + row * maskRow + x / 8) & (0x80 >> (x % 8))) {
          img.andMask.insert({static_cast<int>(x), y});
        }
      }
    }
    return img;
  }

  static inline Bytes file_;
};

TEST_F(Icon, DirectoryAndImageHeaders) {
  EXPECT_EQ(Le(file_, 0, 2), 0u);
  EXPECT_EQ(Le(file_, 2, 2), 1u) << "type: icon";
  EXPECT_EQ(Le(file_, 4, 2), 3u) << "image count";
  for (std::size_t i = 0; i < Layouts().size(); ++i) {
    const IconLayout& l = Layouts()[i];
    const std::size_t e = 6 + 16 * i;
    const auto n = static_cast<std::uint32_t>(l.size);
    SCOPED_TRACE("image of " + std::to_string(l.size) + " pixels");
    EXPECT_EQ(Le(file_, e, 1), n) << "width";
    EXPECT_EQ(Le(file_, e + 1, 1), n) << "height";
    EXPECT_EQ(Le(file_, e + 2, 1), 0u) << "colour count";
    EXPECT_EQ(Le(file_, e + 3, 1), 0u);
    EXPECT_EQ(Le(file_, e + 4, 2), 1u) << "planes";
    EXPECT_EQ(Le(file_, e + 6, 2), 32u) << "bits per pixel";
    EXPECT_EQ(Le(file_, e + 8, 4), l.bytes);
    EXPECT_EQ(Le(file_, e + 12, 4), l.offset);

    const std::size_t h = l.offset;
    EXPECT_EQ(Le(file_, h, 4), 40u) << "info header size";
    EXPECT_EQ(Le(file_, h + 4, 4), n) << "width";
    EXPECT_EQ(Le(file_, h + 8, 4), 2 * n) << "doubled height";
    EXPECT_EQ(Le(file_, h + 12, 2), 1u) << "planes";
    EXPECT_EQ(Le(file_, h + 14, 2), 32u) << "bits per pixel";
    EXPECT_EQ(Le(file_, h + 16, 4), 0u) << "compression";
    EXPECT_EQ(40 + n * n * 4 + (n + 31) / 32 * 4 * n, l.bytes) << "pixels and mask fill the entry";
  }
}

// The icon's design: a tile in each quadrant, and the colour at the middle of each.
struct Quadrant {
  int column;  // 0 left, 1 right
  int row;     // 0 top, 1 bottom
  std::uint32_t centre;
  const char* name;
};
constexpr Quadrant kQuadrants[] = {
    {0, 0, 0xFFE90A, "yellow, top left"},
    {1, 0, 0x373737, "grey, top right"},
    {0, 1, 0x3E0AFF, "blue-violet, bottom left"},
    {1, 1, 0xFF0A0A, "red, bottom right"},
};

TEST_F(Icon, QuadrantsAreTheFourTilesAtFullStrength) {
  const IconImage img = Image(Layouts()[0]);  // 48 pixels: quadrant middles at 12 and 36
  for (const Quadrant& q : kQuadrants) {
    const Rgba& p = img.at(12 + 24 * q.column, 12 + 24 * q.row);
    EXPECT_LE(Distance(Rgb{p.r, p.g, p.b}, FromHex(q.centre)), 3) << q.name;
    EXPECT_EQ(p.a, 255) << q.name;
  }
}

TEST_F(Icon, CornersAreRoundedThroughAlphaAndMask) {
  for (const IconLayout& l : Layouts()) {
    SCOPED_TRACE("image of " + std::to_string(l.size) + " pixels");
    const IconImage img = Image(l);
    const int last = l.size - 1;
    std::set<std::pair<int, int>> masked;
    int nearOpaque = 0;
    int outside = 0;
    for (auto [cx, dx] : {std::pair{0, 1}, std::pair{last, -1}}) {
      for (auto [cy, dy] : {std::pair{0, 1}, std::pair{last, -1}}) {
        const int run = static_cast<int>(l.edgeAlpha.size());
        for (int k = 0; k <= run; ++k) {
          // Both edges from this corner: the given run, then near-opaque.
          for (const Rgba& p : {img.at(cx + dx * k, cy), img.at(cx, cy + dy * k)}) {
            if (k < run) {
              EXPECT_EQ(p.a, l.edgeAlpha[static_cast<std::size_t>(k)])
                  << "corner (" << cx << ", " << cy << ") step " << k;
            } else {
              EXPECT_GE(p.a, 214) << "corner (" << cx << ", " << cy << ") step " << k;
            }
          }
        }
        // Straight alpha: the nearly see-through corner pixel keeps the pale colour of its tile
        // instead of being darkened toward black by its alpha.
        const Rgba& corner = img.at(cx, cy);
        EXPECT_GE(std::max({corner.r, corner.g, corner.b}), 0x60)
            << "corner (" << cx << ", " << cy << ")";
        masked.insert({cx, cy});
        if (l.maskedPerCorner == 3) {
          masked.insert({cx + dx, cy});
          masked.insert({cx, cy + dy});
        }
      }
    }
    EXPECT_EQ(img.andMask, masked);

    for (int y = 0; y < l.size; ++y) {
      for (int x = 0; x < l.size; ++x) {
        const bool inCornerSquare = std::min(x, last - x) < 5 && std::min(y, last - y) < 5;
        if (inCornerSquare) continue;
        ++outside;
        EXPECT_GE(img.at(x, y).a, 214) << "(" << x << ", " << y << ")";
        if (img.at(x, y).a >= 240) ++nearOpaque;
      }
    }
    EXPECT_GT(2 * nearOpaque, outside) << "most pixels outside the corners are 240 or more";
  }
}

// A committed PNG decoded to straight RGBA, top-down.
IconImage ReadPng(const std::string& name) {
  const Bytes png = ReadAsset(name);
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_memory(&image, png.data(), png.size())) {
    ADD_FAILURE() << name << ": not a PNG file";
    return {};
  }
  image.format = PNG_FORMAT_RGBA;
  std::vector<png_byte> rgba(PNG_IMAGE_SIZE(image));
  if (image.width != image.height ||
      !png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
    ADD_FAILURE() << name << ": not a square RGBA image";
    return {};
  }
  IconImage img{static_cast<int>(image.width), {}, {}};
  for (std::size_t i = 0; i + 3 < rgba.size(); i += 4) {
    img.pixels.push_back(Rgba{rgba[i], rgba[i + 1], rgba[i + 2], rgba[i + 3]});
  }
  return img;
}

std::string PngName(int size) {
  return "icons/paxmorella-" + std::to_string(size) + ".png";
}

TEST_F(Icon, PngExportsHoldTheIconImages) {
  for (const IconLayout& l : Layouts()) {
    SCOPED_TRACE(PngName(l.size));
    const IconImage png = ReadPng(PngName(l.size));
    ASSERT_EQ(png.size, l.size);

    const IconImage img = Image(l);
    int differing = 0;
    for (std::size_t i = 0; i < img.pixels.size(); ++i) {
      const Rgba& p = img.pixels[i];
      const Rgba& q = png.pixels[i];
      if (q.r != p.r || q.g != p.g || q.b != p.b || q.a != p.a) ++differing;
    }
    EXPECT_EQ(differing, 0) << "pixels that differ from the icon's image";
  }
}

// The PNG icons made only for software centres, which want 64 pixels and more: the same design as
// the program's icon, drawn at each size rather than enlarged.
constexpr std::array<int, 3> kLargeIconSizes = {64, 128, 256};

TEST(LargeIcons, QuadrantsAreTheFourTilesWithOpaqueInsidesAndRoundedCorners) {
  for (int size : kLargeIconSizes) {
    SCOPED_TRACE(PngName(size));
    const IconImage img = ReadPng(PngName(size));
    ASSERT_EQ(img.size, size);
    const int q = size / 2;
    const int last = size - 1;
    for (const Quadrant& k : kQuadrants) {
      // The middle of the quadrant is the deep middle of its tile, paler toward the tile's top.
      const Rgba& mid = img.at(k.column * q + q / 2, k.row * q + q / 2);
      const Rgba& top = img.at(k.column * q + q / 2, k.row * q + q / 8);
      EXPECT_LE(Distance(Rgb{mid.r, mid.g, mid.b}, FromHex(k.centre)), 3) << k.name;
      EXPECT_GT(top.r + top.g + top.b, mid.r + mid.g + mid.b + 60) << k.name;
      EXPECT_EQ(mid.a, 255) << k.name;
    }
    // Inside the two outer rings every pixel is opaque; those rings are slightly see-through.
    int wrong = 0;
    std::string first;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const bool inCornerSquare =
            std::min(x, last - x) < size / 8 && std::min(y, last - y) < size / 8;
        if (inCornerSquare) continue;
        const int a = img.at(x, y).a;
        const bool outerRing = std::min({x, y, last - x, last - y}) < 2;
        if (outerRing ? (a < 214 || a == 255) : a != 255) {
          if (wrong++ == 0) {
            // Appended piece by piece: GCC 12 at -O3 takes "(" + ... for an overlapping copy.
            first = "(";
            first += std::to_string(x);
            first += ", ";
            first += std::to_string(y);
            first += ") has alpha ";
            first += std::to_string(a);
          }
        }
      }
    }
    EXPECT_EQ(wrong, 0) << "pixels of the wrong alpha outside the corners, the first " << first;
    // Along each edge from a corner the outline fades in: clear at the corner, rising steadily.
    for (auto [cx, dx] : {std::pair{0, 1}, std::pair{last, -1}}) {
      for (auto [cy, dy] : {std::pair{0, 1}, std::pair{last, -1}}) {
        EXPECT_EQ(img.at(cx, cy).a, 0) << "corner (" << cx << ", " << cy << ")";
        EXPECT_EQ(img.at(cx + dx, cy + dy).a, 0) << "corner (" << cx << ", " << cy << ")";
        for (int k = 1; k < size / 8; ++k) {
          EXPECT_GE(img.at(cx + dx * k, cy).a, img.at(cx + dx * (k - 1), cy).a)
              << "corner (" << cx << ", " << cy << ") step " << k;
        }
      }
    }
  }
}

// Each icon, halved by averaging 2 x 2 pixels, looks like the icon of half its size: the same
// tiles in the same places with the same shading. The outline is left out, where the rounding of
// each size is its own.
TEST(LargeIcons, HalvedEachIsTheNextSmallerOne) {
  for (int size : kLargeIconSizes) {
    SCOPED_TRACE(PngName(size));
    const IconImage big = ReadPng(PngName(size));
    const IconImage small = ReadPng(PngName(size / 2));
    ASSERT_EQ(big.size, size);
    ASSERT_EQ(small.size, size / 2);
    int worst = 0;
    for (int y = 0; y < small.size; ++y) {
      for (int x = 0; x < small.size; ++x) {
        const int last = small.size - 1;
        if (std::min(x, last - x) < small.size / 8 && std::min(y, last - y) < small.size / 8) {
          continue;
        }
        if (std::min({x, y, last - x, last - y}) < 2) continue;
        Rgb sum;
        for (int k = 0; k < 4; ++k) {
          const Rgba& p = big.at(2 * x + k % 2, 2 * y + k / 2);
          sum.r += p.r;
          sum.g += p.g;
          sum.b += p.b;
        }
        const Rgba& s = small.at(x, y);
        const int d =
            Distance(Rgb{(sum.r + 2) / 4, (sum.g + 2) / 4, (sum.b + 2) / 4}, Rgb{s.r, s.g, s.b});
        worst = std::max(worst, d);
      }
    }
    EXPECT_LE(worst, 4) << "the largest difference of a channel";
  }
}

// The steepest change of the shading between neighbouring rows, down the middle of each quadrant.
int SteepestRowStep(const IconImage& img) {
  const int q = img.size / 2;
  int steepest = 0;
  for (int column : {q / 2, q + q / 2}) {
    for (int top : {0, q}) {
      for (int y = top + 2; y + 1 < top + q - 2; ++y) {
        const Rgba& a = img.at(column, y);
        const Rgba& b = img.at(column, y + 1);
        steepest = std::max(steepest, Distance(Rgb{a.r, a.g, a.b}, Rgb{b.r, b.g, b.b}));
      }
    }
  }
  return steepest;
}

// The quadrants of the two largest icons are larger than a tile: they are drawn at their size,
// so the shading changes about half as fast per pixel at each doubling. An enlarged tile would
// keep the full steps of its 41 rows, only further apart.
TEST(LargeIcons, DrawnAtTheirSizeNotEnlarged) {
  int previous = SteepestRowStep(ReadPng(PngName(64)));
  for (int size : {128, 256}) {
    const int steepest = SteepestRowStep(ReadPng(PngName(size)));
    EXPECT_LE(steepest, previous / 2 + 1) << PngName(size);
    previous = steepest;
  }
}

}  // namespace
