#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "platform/canvas.h"
#include "platform/win32/dib_image.h"
#include "platform/win32/gdi_text.h"

namespace pax::win32 {
namespace {

constexpr const char* kTexts[] = {"Score: 1234", "x10", "W", "|", "Game Over - Score: 0."};

int ScreenDpi() {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  return dpi;
}

// A memory DC with `font` selected, for asking GDI itself what the engine should have answered.
class FontDc {
 public:
  explicit FontDc(HFONT font) : dc_(CreateCompatibleDC(nullptr)), old_(SelectObject(dc_, font)) {}
  FontDc(const FontDc&) = delete;
  FontDc& operator=(const FontDc&) = delete;
  ~FontDc() {
    SelectObject(dc_, old_);
    DeleteDC(dc_);
  }
  HDC get() const { return dc_; }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

TEST(GdiText, AsksGdiForTheFaceAtItsPointSizeOnTheScreensResolution) {
  struct Case {
    const char* face;
    int points;
  } cases[] = {{"Verdana", 10}, {"Tahoma", 12}, {"Courier New", 8}, {"No Such Face", 10}};
  const int dpi = ScreenDpi();
  ASSERT_GT(dpi, 0);
  GdiTextEngine engine;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.face);
    const FontHandle font = engine.createFont(c.face, c.points);
    ASSERT_GT(font, 0);
    LOGFONTA asked{};
    ASSERT_EQ(GetObjectA(engine.nativeFont(font), sizeof asked, &asked), int{sizeof asked});
    EXPECT_STREQ(asked.lfFaceName, c.face);
    // Negative: the em height, without the internal leading; rounded to whole pixels.
    EXPECT_EQ(asked.lfHeight, -static_cast<LONG>(std::lround(c.points * dpi / 72.0)));
    EXPECT_EQ(asked.lfWeight, FW_NORMAL);
    EXPECT_FALSE(asked.lfItalic);
  }
}

TEST(GdiText, BoxIsTheAdvanceWidthByAscentPlusDescent) {
  GdiTextEngine engine;
  const FontHandle font = engine.createFont("Verdana", 10);
  FontDc dc(engine.nativeFont(font));
  TEXTMETRICA metrics{};
  ASSERT_TRUE(GetTextMetricsA(dc.get(), &metrics));
  TextMask mask;
  for (const std::string text : kTexts) {
    SCOPED_TRACE(text);
    SIZE extent{};
    ASSERT_TRUE(
        GetTextExtentPoint32A(dc.get(), text.data(), static_cast<int>(text.size()), &extent));
    EXPECT_EQ(engine.measureText(font, text), extent.cx);
    engine.rasterizeText(font, text, mask);
    EXPECT_EQ(mask.width, extent.cx);
    EXPECT_EQ(mask.height, metrics.tmAscent + metrics.tmDescent);
    EXPECT_EQ(mask.coverage.size(), static_cast<std::size_t>(mask.width * mask.height));
  }
  engine.rasterizeText(font, "", mask);
  EXPECT_EQ(mask.width, 0);
  EXPECT_EQ(mask.height, 0);
  EXPECT_TRUE(mask.coverage.empty());
  EXPECT_EQ(engine.measureText(font, ""), 0);
}

// GDI's own drawing of the text, white on black from the box's top-left corner, in a DIB section
// of the box's size: the mean of its three channels must be the engine's coverage, pixel for
// pixel. This pins the baseline (at the ascent), the clipping to the box and the order of the
// channels. (Wine smooths text in grey, so the channels agree there; the mean itself is the
// shared CoverageOfSubpixels, tested with the canvas.)
TEST(GdiText, CoverageIsTheChannelMeanOfGdisWhiteOnBlackDrawing) {
  GdiTextEngine engine;
  const FontHandle font = engine.createFont("Verdana", 10);
  FontDc dc(engine.nativeFont(font));
  TextMask mask;
  // The longest text first: the engine's scratch bitmap is then larger than the later boxes.
  for (const std::string& text :
       {std::string(kTexts[4]), std::string(kTexts[0]), std::string("W")}) {
    SCOPED_TRACE(text);
    engine.rasterizeText(font, text, mask);
    ASSERT_GT(mask.width, 0);
    Image drawn = CreateDibImage(mask.width, mask.height);
    ASSERT_FALSE(drawn.empty());
    HGDIOBJ old = SelectObject(dc.get(), static_cast<HBITMAP>(drawn.nativeHandle()));
    SetTextColor(dc.get(), RGB(255, 255, 255));
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextAlign(dc.get(), TA_TOP | TA_LEFT);
    TextOutA(dc.get(), 0, 0, text.data(), static_cast<int>(text.size()));
    GdiFlush();
    SelectObject(dc.get(), old);
    int inked = 0;
    for (int y = 0; y < mask.height; ++y) {
      for (int x = 0; x < mask.width; ++x) {
        const Rgb p = drawn.pixel(x, y);
        const std::uint8_t expected = static_cast<std::uint8_t>((p.r + p.g + p.b) / 3);
        const std::uint8_t got = mask.coverage[static_cast<std::size_t>(y * mask.width + x)];
        ASSERT_EQ(got, expected) << "at (" << x << ", " << y << ")";
        inked += got > 0;
      }
    }
    EXPECT_GT(inked, 0) << "no ink at all";
  }
}

// The shared drawing code mixes the coverage into the picture: every pixel of the box is the
// blend of the old colour and the text colour by its coverage, and nothing outside the box moves.
TEST(GdiText, CanvasBlendsTheCoverageIntoThePicture) {
  GdiTextEngine engine;
  const FontHandle font = engine.createFont("Verdana", 10);
  constexpr Rgb kBackground = RgbHex(0x2A4F7C);
  constexpr Rgb kInk = RgbHex(0xF0E0D0);
  Image picture = CreateDibImage(120, 30);
  ASSERT_FALSE(picture.empty());
  Canvas canvas(picture, engine);
  canvas.fillRect(0, 0, 120, 30, kBackground);
  canvas.selectTransparentText();
  canvas.selectFont(font);
  const std::string text = "Score: 1234";
  canvas.drawText(7, 4, text, kInk);

  TextMask mask;
  engine.rasterizeText(font, text, mask);
  ASSERT_GT(mask.width, 0);
  ASSERT_LE(7 + mask.width, 120);
  ASSERT_LE(4 + mask.height, 30);
  int strong = 0;
  for (int y = 0; y < 30; ++y) {
    for (int x = 0; x < 120; ++x) {
      const bool inBox = x >= 7 && x < 7 + mask.width && y >= 4 && y < 4 + mask.height;
      const std::uint8_t a =
          inBox ? mask.coverage[static_cast<std::size_t>((y - 4) * mask.width + (x - 7))] : 0;
      const Rgb expected{BlendCoverage(kBackground.r, kInk.r, a),
                         BlendCoverage(kBackground.g, kInk.g, a),
                         BlendCoverage(kBackground.b, kInk.b, a)};
      ASSERT_EQ(picture.pixel(x, y), expected) << "at (" << x << ", " << y << ")";
      strong += a > 128;
    }
  }
  EXPECT_GT(strong, 10) << "the text left hardly any ink";
}

TEST(GdiText, FreedAndUnknownHandlesAreRefusedQuietly) {
  GdiTextEngine engine;
  const FontHandle first = engine.createFont("Verdana", 10);
  const FontHandle second = engine.createFont("Verdana", 20);
  ASSERT_NE(first, second);
  TextMask mask;
  engine.rasterizeText(second, "W", mask);
  const int tall = mask.height;
  engine.rasterizeText(first, "W", mask);
  EXPECT_LT(mask.height, tall);

  engine.freeFont(first);
  engine.freeFont(first);  // twice: nothing happens
  engine.freeFont(0);
  engine.freeFont(99);
  EXPECT_EQ(engine.nativeFont(first), nullptr);
  EXPECT_EQ(engine.nativeFont(99), nullptr);
  // The other font is untouched, and the engine still draws with it.
  engine.rasterizeText(second, "W", mask);
  EXPECT_EQ(mask.height, tall);
}

}  // namespace
}  // namespace pax::win32
