#include "platform/canvas.h"

#include <gtest/gtest.h>

#include <climits>

#include "tests/support/block_text_engine.h"

namespace pax {
namespace {

using test::BlockTextEngine;

constexpr Rgb kGrey = RgbHex(0x222222);
constexpr Rgb kPaint = RgbHex(0x12AB34);

Image Filled(int w, int h, Rgb c) {
  Image image(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) image.setPixel(x, y, c);
  }
  return image;
}

// The painted pixels as a bounding box and a count, for comparing against a rectangle.
struct Painted {
  int count = 0, left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
};
Painted PaintedPixels(const Image& image, Rgb background) {
  Painted p;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) == background) continue;
      ++p.count;
      p.left = std::min(p.left, x);
      p.top = std::min(p.top, y);
      p.right = std::max(p.right, x);
      p.bottom = std::max(p.bottom, y);
    }
  }
  return p;
}

TEST(Canvas, RectanglesAreClippedToTheImage) {
  struct Case {
    int x, y, w, h;
    int count, left, top, right, bottom;
  } cases[] = {
      {2, 3, 4, 2, 8, 2, 3, 5, 4},                // inside
      {-3, -3, 5, 5, 4, 0, 0, 1, 1},              // over the top-left corner
      {8, 6, 10, 10, 4, 8, 6, 9, 7},              // over the bottom-right corner
      {0, 0, INT_MAX, INT_MAX, 80, 0, 0, 9, 7},   // widened, not wrapped
      {3, 3, 0, 4, 0, INT_MAX, INT_MAX, -1, -1},  // empty
      {3, 3, -2, 4, 0, INT_MAX, INT_MAX, -1, -1},
      {10, 0, 3, 3, 0, INT_MAX, INT_MAX, -1, -1},  // wholly outside
      {INT_MIN, 2, INT_MAX, 1, 0, INT_MAX, INT_MAX, -1, -1},
  };
  // A grey (three equal bytes) is written like plain memory, other colours pixel by pixel.
  for (const Rgb paint : {kPaint, RgbHex(0x999999)}) {
    for (const Case& c : cases) {
      Image image = Filled(10, 8, kGrey);  // rows of 30 bytes padded to 32
      BlockTextEngine text;
      Canvas(image, text).fillRect(c.x, c.y, c.w, c.h, paint);
      const Painted p = PaintedPixels(image, kGrey);
      EXPECT_EQ(p.count, c.count) << c.x << "," << c.y << " " << c.w << "x" << c.h << " #"
                                  << HexOf(paint);
      EXPECT_EQ(p.left, c.left);
      EXPECT_EQ(p.top, c.top);
      EXPECT_EQ(p.right, c.right);
      EXPECT_EQ(p.bottom, c.bottom);
      if (p.count > 0) {
        EXPECT_EQ(image.pixel(p.left, p.top), paint);
      }
    }
  }
}

TEST(Canvas, LinesIncludeBothEndsAndClip) {
  BlockTextEngine text;
  Image image = Filled(10, 8, kGrey);
  Canvas canvas(image, text);
  canvas.drawLine(0, 5, 10, 5, kPaint);  // the end point lies one past the last column
  Painted p = PaintedPixels(image, kGrey);
  EXPECT_EQ(p.count, 10);
  EXPECT_EQ(p.top, 5);
  EXPECT_EQ(p.bottom, 5);

  image = Filled(10, 8, kGrey);
  Canvas diagonal(image, text);
  diagonal.drawLine(1, 1, 4, 4, kPaint);
  p = PaintedPixels(image, kGrey);
  EXPECT_EQ(p.count, 4);
  for (int i = 1; i <= 4; ++i) EXPECT_EQ(image.pixel(i, i), kPaint);

  image = Filled(10, 8, kGrey);
  Canvas outside(image, text);
  outside.drawLine(-5, -5, 20, 20, kPaint);
  EXPECT_EQ(PaintedPixels(image, kGrey).count, 8) << "the diagonal through the image";
}

TEST(Canvas, PixelsOutsideTheImageAreIgnored) {
  BlockTextEngine text;
  Image image = Filled(4, 4, kGrey);
  Canvas canvas(image, text);
  for (auto [x, y] : {std::pair{-1, 0}, {0, -1}, {4, 0}, {0, 4}, {INT_MIN, INT_MAX}}) {
    canvas.setPixel(x, y, kPaint);
  }
  EXPECT_EQ(PaintedPixels(image, kGrey).count, 0);
  canvas.setPixel(3, 3, kPaint);
  EXPECT_EQ(image.pixel(3, 3), kPaint);
}

TEST(Canvas, ImageCopiesAreExactAndClipped) {
  Image tile(3, 2);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 3; ++x) {
      tile.setPixel(x, y, Rgb{static_cast<std::uint8_t>(10 * x + y), 200, 7});
    }
  }
  struct Case {
    int x, y, count;
  } cases[] = {{1, 1, 6}, {-1, 0, 4}, {0, -1, 3}, {4, 3, 2},
               {5, 0, 2}, {6, 0, 0},  {-3, 0, 0}, {INT_MAX, 0, 0}};
  for (const Case& c : cases) {
    BlockTextEngine text;
    Image image = Filled(6, 4, kGrey);
    Canvas canvas(image, text);
    canvas.selectTransparentText();  // has no effect on copies
    canvas.copyImage(tile, c.x, c.y);
    EXPECT_EQ(PaintedPixels(image, kGrey).count, c.count) << c.x << "," << c.y;
    for (int y = 0; y < 2; ++y) {
      for (int x = 0; x < 3; ++x) {
        const long long tx = static_cast<long long>(c.x) + x, ty = static_cast<long long>(c.y) + y;
        if (tx >= 0 && ty >= 0 && tx < image.width() && ty < image.height()) {
          EXPECT_EQ(image.pixel(static_cast<int>(tx), static_cast<int>(ty)), tile.pixel(x, y));
        }
      }
    }
  }
  BlockTextEngine text;
  Image image = Filled(6, 4, kGrey);
  Canvas(image, text).copyImage(Image(), 0, 0);
  EXPECT_EQ(PaintedPixels(image, kGrey).count, 0) << "an empty image draws nothing";
}

TEST(Canvas, CoverageBlendsWithTheIntegerQuotient) {
  struct Case {
    std::uint8_t old, text, a, expected;
  } cases[] = {
      {34, 187, 0, 34}, {34, 187, 255, 187}, {34, 187, 128, 110}, {255, 0, 1, 254},
      {0, 255, 1, 1},   {200, 200, 77, 200}, {1, 0, 254, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BlendCoverage(c.old, c.text, c.a), c.expected)
        << int{c.old} << " " << int{c.text} << " " << int{c.a};
  }
  EXPECT_EQ(CoverageOfSubpixels(255, 255, 0), 170);
  EXPECT_EQ(CoverageOfSubpixels(1, 1, 0), 0);
}

TEST(Canvas, TextPaintsItsBoxUntilTransparentTextIsSelected) {
  BlockTextEngine text;
  Image image = Filled(40, 20, kGrey);
  Canvas canvas(image, text);
  canvas.drawText(2, 3, "a b", kPaint);
  // Opaque: the whole 21 x 15 box changes, black behind the glyphs.
  Painted p = PaintedPixels(image, kGrey);
  EXPECT_EQ(p.count, 21 * 15);
  EXPECT_EQ(image.pixel(2, 3), Rgb{});
  EXPECT_EQ(image.pixel(2, 3 + BlockTextEngine::INK_TOP), kPaint);

  image = Filled(40, 20, kGrey);
  Canvas transparent(image, text);
  transparent.selectTransparentText();
  transparent.drawText(2, 3, "a b", kPaint);
  p = PaintedPixels(image, kGrey);
  EXPECT_EQ(p.count, 2 * 5 * 9) << "only the two glyphs' ink";
  EXPECT_EQ(p.left, 2);
  EXPECT_EQ(p.top, 3 + BlockTextEngine::INK_TOP);

  image = Filled(40, 20, kGrey);
  Canvas clipped(image, text);
  clipped.selectTransparentText();
  clipped.drawText(-3, 15, "ab", kPaint);
  EXPECT_EQ(PaintedPixels(image, kGrey).count, (2 + 5) * 2) << "clipped at the left and bottom";

  image = Filled(40, 20, kGrey);
  Canvas spaces(image, text);
  spaces.selectTransparentText();
  spaces.drawText(0, 0, "   ", kPaint);
  EXPECT_EQ(PaintedPixels(image, kGrey).count, 0);
}

// Coverage that runs through every value from 0 to 255 and back across its box.
class GradientTextEngine : public TextEngine {
 public:
  FontHandle createFont(std::string_view, int) override { return 1; }
  void freeFont(FontHandle) override {}
  int measureText(FontHandle, std::string_view text) override {
    return 16 * static_cast<int>(text.size());
  }
  void rasterizeText(FontHandle font, std::string_view text, TextMask& mask) override {
    mask.width = measureText(font, text);
    mask.height = 16;
    mask.coverage.resize(static_cast<std::size_t>(mask.width * mask.height));
    for (int y = 0; y < mask.height; ++y) {
      for (int x = 0; x < mask.width; ++x) mask.coverage[Index(x, y, mask.width)] = Coverage(x, y);
    }
  }
  static std::uint8_t Coverage(int x, int y) { return static_cast<std::uint8_t>(y * 16 + x % 16); }

 private:
  static std::size_t Index(int x, int y, int width) {
    return static_cast<std::size_t>(y * width + x);
  }
};

TEST(Canvas, TransparentTextMixesEveryCoverageByTheFormula) {
  // A background that differs per pixel and channel, so that no term of the formula can hide.
  auto old = [](int x, int y) {
    return Rgb{static_cast<std::uint8_t>(x * 5 + y), static_cast<std::uint8_t>(255 - 3 * y),
               static_cast<std::uint8_t>(x * y)};
  };
  Image image(40, 24);
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 40; ++x) image.setPixel(x, y, old(x, y));
  }
  GradientTextEngine text;
  Canvas canvas(image, text);
  canvas.selectTransparentText();
  canvas.drawText(3, 5, "ab", kPaint);  // a box of 32 x 16 at (3, 5)
  for (int y = 0; y < 24; ++y) {
    for (int x = 0; x < 40; ++x) {
      const Rgb was = old(x, y);
      Rgb expected = was;
      if (x >= 3 && x < 35 && y >= 5 && y < 21) {
        const std::uint8_t a = GradientTextEngine::Coverage(x - 3, y - 5);
        expected = {static_cast<std::uint8_t>((was.r * (255 - a) + kPaint.r * a) / 255),
                    static_cast<std::uint8_t>((was.g * (255 - a) + kPaint.g * a) / 255),
                    static_cast<std::uint8_t>((was.b * (255 - a) + kPaint.b * a) / 255)};
      }
      ASSERT_EQ(image.pixel(x, y), expected) << x << "," << y;
    }
  }
}

}  // namespace
}  // namespace pax
