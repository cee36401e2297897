#include "platform/fonts/freetype_text_engine.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace pax {
namespace {

// The face the Debian build machines answer with when the game asks for "Verdana"; the tests
// that pin sizes only hold for it.
constexpr const char* kDejaVu = "DejaVu Sans Book";

// Sets an environment variable for the life of the object and restores it afterwards, so that one
// test's font configuration does not leak into the next.
class ScopedEnv {
 public:
  ScopedEnv(const char* name, const char* value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~ScopedEnv() {
    if (old_) {
      setenv(name_, old_->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  ScopedEnv(const ScopedEnv&) = delete;
  ScopedEnv& operator=(const ScopedEnv&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// The rows and columns that hold any ink, inclusive; `any` is false for a blank mask.
struct Ink {
  bool any = false;
  int top = 0, bottom = -1, left = 0, right = -1;
  int height() const { return bottom - top + 1; }
};

Ink InkOf(const TextMask& mask) {
  Ink ink;
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) {
      if (mask.coverage[static_cast<std::size_t>(y * mask.width + x)] == 0) continue;
      if (!ink.any) {
        ink = {true, y, y, x, x};
      } else {
        ink.bottom = y;
        ink.left = std::min(ink.left, x);
        ink.right = std::max(ink.right, x);
      }
    }
  }
  return ink;
}

TextMask Rasterize(TextEngine& engine, FontHandle font, std::string_view text) {
  // Starts dirty so that a mask the engine forgets to reset shows up.
  TextMask mask{3, 3, std::vector<std::uint8_t>(9, 255)};
  engine.rasterizeText(font, text, mask);
  return mask;
}

class FreeTypeStatusFont : public testing::Test {
 protected:
  void SkipUnlessDejaVu() {
    if (engine_.faceName(font_) != kDejaVu) {
      GTEST_SKIP() << "\"Verdana\" is " << engine_.faceName(font_) << " here";
    }
  }

  FreeTypeTextEngine engine_{96};
  FontHandle font_ = engine_.createFont("Verdana", 10);
};

TEST_F(FreeTypeStatusFont, FindsAFaceEvenWhereVerdanaIsMissing) {
  EXPECT_GT(font_, 0);
  EXPECT_FALSE(engine_.faceName(font_).empty());
}

TEST_F(FreeTypeStatusFont, BoxIsAsWideAsTheMeasureAndHoldsTheInk) {
  // Glyphs that reach left of their origin, right of their advance or below the baseline, so
  // that clipping to the box is exercised.
  for (std::string_view text :
       {"Score: 0", "x1", "Time left", "Score: -2147483648", "jjj", "W", "f", "Wg|_", "x10"}) {
    SCOPED_TRACE(std::string(text));
    const int width = engine_.measureText(font_, text);
    const TextMask mask = Rasterize(engine_, font_, text);
    EXPECT_GT(width, 0);
    EXPECT_EQ(mask.width, width);
    EXPECT_EQ(engine_.measureText(font_, text), width) << "a second measure differs";
    ASSERT_EQ(mask.coverage.size(), static_cast<std::size_t>(mask.width * mask.height));
    EXPECT_TRUE(InkOf(mask).any);
    EXPECT_EQ(Rasterize(engine_, font_, text).coverage, mask.coverage) << "not repeatable";
  }
}

TEST_F(FreeTypeStatusFont, WidthsAddUpWithoutKerning) {
  struct Case {
    std::string_view whole, head, tail;
  } cases[] = {{"Score: 0", "Score: ", "0"},
               {"x10", "x", "10"},
               {"AV", "A", "V"},
               {"To", "T", "o"},
               {"Time left", "Time", " left"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.whole));
    const int whole = engine_.measureText(font_, c.whole);
    const int parts = engine_.measureText(font_, c.head) + engine_.measureText(font_, c.tail);
    // Rounding happens once for the whole text, so the parts may differ from it by one pixel.
    EXPECT_NEAR(whole, parts, 1);
  }
}

TEST_F(FreeTypeStatusFont, EmptyTextIsAnEmptyBox) {
  EXPECT_EQ(engine_.measureText(font_, ""), 0);
  const TextMask mask = Rasterize(engine_, font_, "");
  EXPECT_EQ(mask.width, 0);
  EXPECT_TRUE(mask.coverage.empty());
}

TEST_F(FreeTypeStatusFont, SpacesTakeRoomButLeaveNoInk) {
  const int one = engine_.measureText(font_, " ");
  EXPECT_GT(one, 0);
  EXPECT_EQ(engine_.measureText(font_, "   "), 3 * one);
  const TextMask mask = Rasterize(engine_, font_, "   ");
  EXPECT_EQ(mask.width, 3 * one);
  EXPECT_GT(mask.height, 0);
  EXPECT_FALSE(InkOf(mask).any);
}

TEST_F(FreeTypeStatusFont, InkStaysWithinItsGlyphs) {
  // A space on either side of a letter keeps those columns blank: no glyph smears into the room
  // of its neighbour.
  const int space = engine_.measureText(font_, " ");
  const TextMask mask = Rasterize(engine_, font_, " H ");
  const Ink ink = InkOf(mask);
  ASSERT_TRUE(ink.any);
  EXPECT_GE(ink.left, space);
  EXPECT_LT(ink.right, mask.width - space);
  // "H" is symmetric, so a glyph put at its origin plus its left bearing has as much room on
  // either side; hinting may move it by one pixel.
  const int leftGap = ink.left;
  const int rightGap = mask.width - 1 - ink.right;
  EXPECT_NEAR(leftGap, rightGap, 1);
}

TEST_F(FreeTypeStatusFont, DejaVuLineIsFifteenPixelsWithTheBaselineAtTwelve) {
  SkipUnlessDejaVu();
  const TextMask capital = Rasterize(engine_, font_, "H");
  EXPECT_EQ(capital.height, 15);
  // "H" sits on the baseline; "g" hangs below it but stays inside the box.
  EXPECT_EQ(InkOf(capital).bottom, 11);
  const Ink descender = InkOf(Rasterize(engine_, font_, "g"));
  EXPECT_GT(descender.bottom, 11);
  EXPECT_LT(descender.bottom, 15);
}

TEST_F(FreeTypeStatusFont, LatinOneBytesAreTheirOwnCharacters) {
  SkipUnlessDejaVu();
  // 0xE9 is e-acute: as wide as "e", with ink above the "e" for the accent.
  const Ink plain = InkOf(Rasterize(engine_, font_, "e"));
  const Ink accented = InkOf(Rasterize(engine_, font_, "\xE9"));
  EXPECT_EQ(engine_.measureText(font_, "\xE9"), engine_.measureText(font_, "e"));
  ASSERT_TRUE(accented.any);
  EXPECT_LT(accented.top, plain.top);
  EXPECT_EQ(accented.bottom, plain.bottom);
}

TEST_F(FreeTypeStatusFont, AnyByteIsSafeToDraw) {
  std::string everyByte;
  for (int c = 1; c < 256; ++c) everyByte += static_cast<char>(c);
  for (const std::string& text : {everyByte,
                                  std::string("Gr\xC3\xB6\xC3\x9F"
                                              "e"),
                                  std::string("a\0b", 3), std::string("\t\n\r")}) {
    const TextMask mask = Rasterize(engine_, font_, text);
    EXPECT_EQ(mask.width, engine_.measureText(font_, text));
    EXPECT_EQ(mask.coverage.size(), static_cast<std::size_t>(mask.width * mask.height));
  }
}

TEST(FreeTypeTextEngine, EmHeightFollowsTheDisplayResolution) {
  struct Case {
    int dpi, pixels, dejaVuBox;
  } cases[] = {{96, 13, 15}, {120, 17, 20}, {144, 20, 24}};
  int previousCap = 0, previousWidth = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dpi);
    FreeTypeTextEngine engine(c.dpi);
    const FontHandle font = engine.createFont("Verdana", 10);
    const TextMask mask = Rasterize(engine, font, "H");
    const int cap = InkOf(mask).height();
    // A capital of a sans face is about 0.7 em; this tells an em of `pixels` from an em of 10
    // (points taken as pixels) or of the neighbouring sizes.
    EXPECT_GE(cap, c.pixels * 6 / 10);
    EXPECT_LE(cap, c.pixels * 8 / 10);
    EXPECT_GT(cap, previousCap);
    const int width = engine.measureText(font, "Time left");
    EXPECT_GT(width, previousWidth);
    previousCap = cap;
    previousWidth = width;
    if (engine.faceName(font) == kDejaVu) {
      EXPECT_EQ(mask.height, c.dejaVuBox);
    }
  }
}

TEST(FreeTypeTextEngine, HandlesNameTheirOwnFontsUntilFreed) {
  FreeTypeTextEngine engine;
  const FontHandle small = engine.createFont("Verdana", 10);
  const FontHandle large = engine.createFont("Verdana", 20);
  ASSERT_GT(small, 0);
  ASSERT_GT(large, 0);
  EXPECT_NE(small, large);
  const int smallWidth = engine.measureText(small, "Time left");
  EXPECT_GT(engine.measureText(large, "Time left"), smallWidth);
  // Handle 0 is the default font, which is the game's own font and size.
  EXPECT_EQ(engine.measureText(0, "Time left"), smallWidth);
  EXPECT_EQ(Rasterize(engine, 0, "x1").coverage, Rasterize(engine, small, "x1").coverage);

  engine.freeFont(large);
  EXPECT_EQ(engine.measureText(large, "Time left"), 0);
  const TextMask freed = Rasterize(engine, large, "Time left");
  EXPECT_EQ(freed.width, 0);
  EXPECT_TRUE(freed.coverage.empty());
  EXPECT_EQ(engine.measureText(small, "Time left"), smallWidth);
  engine.freeFont(large);
  engine.freeFont(12345);
  EXPECT_EQ(engine.measureText(12345, "x1"), 0);
}

TEST(FreeTypeTextEngine, WithoutAnyFontTextsAreEmptyAndThatIsSaidOnce) {
  const std::string config = testing::TempDir() + "pax_no_fonts.conf";
  std::ofstream(config) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
  ScopedEnv noFonts("FONTCONFIG_FILE", config.c_str());
  ScopedEnv quiet("PAX_DEBUG_FONTS", nullptr);

  testing::internal::CaptureStderr();
  {
    FreeTypeTextEngine engine;
    EXPECT_EQ(engine.createFont("Verdana", 10), 0);
    EXPECT_EQ(engine.createFont("Verdana", 12), 0);
    for (FontHandle font : {0, 1}) {
      EXPECT_EQ(engine.measureText(font, "Score: 0"), 0);
      const TextMask mask = Rasterize(engine, font, "Score: 0");
      EXPECT_EQ(mask.width, 0);
      EXPECT_EQ(mask.height, 0);
      EXPECT_TRUE(mask.coverage.empty());
    }
    EXPECT_EQ(engine.faceName(0), "");
  }
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said, "paxmorella: no font found; texts are not drawn\n");
  std::remove(config.c_str());
}

TEST(FreeTypeTextEngine, NamesTheFaceFileOnlyWhenAskedTo) {
  struct Case {
    const char* debug;
    bool speaks;
  } cases[] = {{nullptr, false}, {"1", true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.debug ? c.debug : "unset");
    ScopedEnv debug("PAX_DEBUG_FONTS", c.debug);
    testing::internal::CaptureStderr();
    std::string face;
    {
      FreeTypeTextEngine engine;
      face = engine.faceName(engine.createFont("Verdana", 10));
    }
    const std::string said = testing::internal::GetCapturedStderr();
    if (!c.speaks) {
      EXPECT_EQ(said, "");
      continue;
    }
    EXPECT_NE(said.find(face), std::string::npos) << said;
    EXPECT_NE(said.find('/'), std::string::npos) << "no file named: " << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << "not one line: " << said;
  }
}

}  // namespace
}  // namespace pax
