#include "render/render_frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/bmp.h"
#include "render/tile_images.h"
#include "tests/support/block_text_engine.h"
#include "tests/support/scripted_game.h"

namespace pax {
namespace {

using test::BlockTextEngine;

constexpr Rgb kBackground = RgbHex(0x222222);

// A game state with a full board of every kind and resources as start-up makes them.
struct Frame {
  Frame() {
    for (int i = 0; i < 100; ++i) state.board.cells[static_cast<std::size_t>(i)] = (i * 7 / 3) % 4;
    ScriptedPlatform platform;
    LoadTileImages(platform, resources.tileImages);
    resources.frameImage = Image(FRAME_WIDTH, FRAME_HEIGHT);
    resources.statusFont = text.createFont(STATUS_FONT_FACE, STATUS_FONT_POINTS);
  }
  const Image& render() {
    RenderFrame(state, resources, text);
    return resources.frameImage;
  }
  GameState state;
  RenderResources resources;
  BlockTextEngine text;
};

TEST(LoadTileImages, DecodesTheFourEmbeddedBitmapsPixelForPixel) {
  ScriptedPlatform platform;
  std::array<Image, TILE_KINDS> tiles;
  LoadTileImages(platform, tiles);
  for (int kind = 0; kind < TILE_KINDS; ++kind) {
    const Image& tile = tiles[static_cast<std::size_t>(kind)];
    ASSERT_EQ(tile.width(), 41);
    ASSERT_EQ(tile.height(), 41);
    // The last stored row is the top row; each stored row ends in a fill byte.
    const std::span<const std::uint8_t> bmp = TileBitmap(kind);
    for (int y = 0; y < 41; ++y) {
      for (int x = 0; x < 41; ++x) {
        const std::size_t at = 54 + static_cast<std::size_t>((40 - y) * 124 + 3 * x);
        ASSERT_EQ(tile.pixel(x, y), (Rgb{bmp[at + 2], bmp[at + 1], bmp[at]}))
            << "kind " << kind << " at " << x << "," << y;
      }
    }
  }
}

TEST(RenderFrame, GridSeparatorAndRuleAreExact) {
  Frame frame;
  const Image& image = frame.render();
  for (int line = 0; line <= 420; line += 42) {
    for (int i = 0; i <= 420; ++i) {
      ASSERT_EQ(image.pixel(line, i), kBackground) << "column " << line << " row " << i;
      ASSERT_EQ(image.pixel(i, line), kBackground) << "row " << line << " column " << i;
    }
  }
  for (int x = 0; x < FRAME_WIDTH; ++x) {
    for (int y = 421; y <= 424; ++y)
      ASSERT_EQ(image.pixel(x, y), RgbHex(0x999999)) << x << "," << y;
    ASSERT_EQ(image.pixel(x, 425), RgbHex(0x444444)) << x;
  }
}

// Every cell's square against what it must show: the image `shown` gives for the cell, or the
// background where it gives none.
template <typename Shown>
void ExpectCells(const Image& image, const Board& board, Shown shown) {
  for (int cx = 0; cx < BOARD_SIZE; ++cx) {
    for (int cy = 0; cy < BOARD_SIZE; ++cy) {
      const Image* tile = shown(board.at(cx, cy));
      for (int y = 0; y < 41; ++y) {
        for (int x = 0; x < 41; ++x) {
          const Rgb expected = tile ? tile->pixel(x, y) : kBackground;
          ASSERT_EQ(image.pixel(42 * cx + 1 + x, 42 * cy + 1 + y), expected)
              << "cell " << cx << "," << cy << " pixel " << x << "," << y;
        }
      }
    }
  }
}

TEST(RenderFrame, EveryCellShowsItsTileOrTheBackground) {
  Frame frame;
  frame.state.board.at(3, 4) = EMPTY_CELL;
  frame.state.board.at(9, 9) = EMPTY_CELL;
  const Image& image = frame.render();
  ExpectCells(image, frame.state.board, [&](std::int32_t cell) -> const Image* {
    return cell == EMPTY_CELL ? nullptr
                              : &frame.resources.tileImages[static_cast<std::size_t>(cell)];
  });
}

TEST(RenderFrame, AnEmptyBoardIsPlainBackground) {
  Frame frame;
  frame.state.board.cells.fill(EMPTY_CELL);
  const Image& image = frame.render();
  for (int y = 0; y <= 420; ++y) {
    for (int x = 0; x <= 420; ++x) ASSERT_EQ(image.pixel(x, y), kBackground) << x << "," << y;
  }
}

TEST(RenderFrame, TimeBarFollowsTheTimeLeft) {
  struct Case {
    double timeLeft;
    int f;
    bool label;
  } cases[] = {
      {0.0, 2, false},   {-0.05, 2, false}, {18.0, 50, false},
      {18.01, 50, true}, {50.0, 136, true}, {99.9, 270, true},
  };
  constexpr Rgb kFrame = RgbHex(0x7BA800), kFill = RgbHex(0xBBFF00), kCorner = RgbHex(0x1C2600);
  for (const Case& c : cases) {
    Frame frame;
    frame.state.timeLeft = c.timeLeft;
    const Image& image = frame.render();
    const int right = 139 + c.f;  // the outer box's last column
    for (int y = 426; y < FRAME_HEIGHT; ++y) {
      for (int x = 137; x < FRAME_WIDTH; ++x) {
        const bool inOuter = x >= 138 && x <= right && y >= 429 && y <= 446;
        const bool inFill = x >= 139 && x < right && y >= 430 && y <= 445;
        const bool corner = (x == 138 || x == right) && (y == 429 || y == 446);
        const Rgb expected = corner ? kCorner : inFill ? kFill : inOuter ? kFrame : kBackground;
        const Rgb actual = image.pixel(x, y);
        // The label's black ink is the only thing allowed to differ; a label wider than the
        // fill reaches over the frame and the background.
        const bool labelRow =
            y >= 430 + BlockTextEngine::INK_TOP && y <= 430 + BlockTextEngine::INK_BOTTOM;
        if (c.label && labelRow && actual == Rgb{}) continue;
        ASSERT_EQ(actual, expected) << "time " << c.timeLeft << " at " << x << "," << y;
      }
    }
    const bool labelDrawn = std::find(frame.text.texts.begin(), frame.text.texts.end(),
                                      "Time left") != frame.text.texts.end();
    EXPECT_EQ(labelDrawn, c.label) << "time " << c.timeLeft;
  }
}

TEST(RenderFrame, TimeLabelIsCentredOnTheFill) {
  Frame frame;
  frame.state.timeLeft = 50.0;  // f = 136: the fill covers columns 139 to 274
  const Image& image = frame.render();
  int left = FRAME_WIDTH, right = -1;
  for (int x = 139; x < 275; ++x) {
    if (image.pixel(x, 430 + BlockTextEngine::INK_TOP) == Rgb{}) {
      left = std::min(left, x);
      right = std::max(right, x);
    }
  }
  // "Time left" measures 63: it starts at 136 / 2 - 63 / 2 + 139 = 176.
  EXPECT_EQ(left, 176);
  EXPECT_EQ(right, 176 + 8 * BlockTextEngine::ADVANCE + BlockTextEngine::INK_WIDTH - 1);
}

TEST(RenderFrame, StatusTextsShowTheValuesAfterThisFramesStep) {
  struct Case {
    std::int32_t score, shownScore, multiplier, shownMultiplier;
    const char* scoreText;
    const char* multiplierText;
  } cases[] = {
      {0, 0, 10, 10, "Score: 0", "x1"},
      {690, 650, 10, 16, "Score: 660", "x2"},  // 15 after the step
      {690, 690, 10, 15, "Score: 690", "x1"},  // 14 after the step
      {15000, 14990, 100, 99, "Score: 15000", "x10"},
  };
  for (const Case& c : cases) {
    Frame frame;
    frame.state.score = c.score;
    frame.state.shownScore = c.shownScore;
    frame.state.multiplier = c.multiplier;
    frame.state.shownMultiplier = c.shownMultiplier;
    frame.state.timeLeft = 10.0;  // no label
    const Image& image = frame.render();
    ASSERT_EQ(frame.text.texts.size(), 2u);
    EXPECT_EQ(frame.text.texts[0], c.scoreText);
    EXPECT_EQ(frame.text.texts[1], c.multiplierText);

    // The score's box starts at (2, 430): its first ink is at column 2, nothing left of it.
    constexpr Rgb kText = RgbHex(0xBBFF00);
    for (int y = 426; y < FRAME_HEIGHT; ++y) {
      EXPECT_NE(image.pixel(0, y), kText);
      EXPECT_NE(image.pixel(1, y), kText);
    }
    EXPECT_EQ(image.pixel(2, 430 + BlockTextEngine::INK_TOP), kText);
    EXPECT_EQ(image.pixel(2, 429 + BlockTextEngine::INK_TOP), kBackground);
    EXPECT_EQ(image.pixel(110, 430 + BlockTextEngine::INK_TOP), kText);
  }
}

// The bounding box of the pixels of one colour in a region of the picture.
struct InkBox {
  int left = FRAME_WIDTH, top = FRAME_HEIGHT, right = -1, bottom = -1;
  bool operator==(const InkBox&) const = default;
};
InkBox InkOf(const Image& image, Rgb colour, int fromX, int toX) {
  InkBox box;
  for (int y = 426; y < FRAME_HEIGHT; ++y) {
    for (int x = fromX; x <= toX; ++x) {
      if (image.pixel(x, y) != colour) continue;
      box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x),
             std::max(box.bottom, y)};
    }
  }
  return box;
}
// Where a text drawn with its box at (x, 430) puts the block engine's ink.
InkBox TextInk(int x, int characters) {
  return {x, 430 + BlockTextEngine::INK_TOP,
          x + (characters - 1) * BlockTextEngine::ADVANCE + BlockTextEngine::INK_WIDTH - 1,
          430 + BlockTextEngine::INK_BOTTOM};
}

TEST(RenderFrame, StatusTextsSitAtTheirExactPlaces) {
  Frame frame;
  frame.state.score = frame.state.shownScore = 15000;          // "Score: 15000", 12 characters
  frame.state.multiplier = frame.state.shownMultiplier = 100;  // "x10"
  frame.state.timeLeft = 10.0;
  const Image& image = frame.render();
  constexpr Rgb kText = RgbHex(0xBBFF00);
  EXPECT_EQ(InkOf(image, kText, 0, 105), TextInk(2, 12));
  EXPECT_EQ(InkOf(image, kText, 106, 137), TextInk(110, 3));
}

TEST(RenderFrame, TimeLabelIsCentredOnOddAndEvenFills) {
  // "Time left" measures 63: its box starts at f / 2 - 63 / 2 + 139, both quotients truncated.
  struct Case {
    double timeLeft;
    int f, left;
  } cases[] = {
      {50.0, 136, 176},
      {50.2, 137, 176},  // an odd fill: its half is truncated, not rounded up
      {18.3, 51, 133},   // wider than the fill: the label reaches over the frame and beyond
      {99.9, 270, 243},
  };
  for (const Case& c : cases) {
    Frame frame;
    frame.state.timeLeft = c.timeLeft;
    const Image& image = frame.render();
    // The fill's last column tells f; the corner pixel sits just right of it.
    EXPECT_EQ(image.pixel(139 + c.f, 429), RgbHex(0x1C2600)) << c.timeLeft;
    EXPECT_EQ(InkOf(image, Rgb{}, 120, FRAME_WIDTH - 1), TextInk(c.left, 9)) << c.timeLeft;
  }
}

TEST(RenderFrame, EveryTextUsesTheStatusFontMadeAtStartUp) {
  // Remembers what it was asked for, and gives the status font a handle of its own.
  struct RecordingEngine : BlockTextEngine {
    FontHandle createFont(std::string_view face, int points) override {
      asked.emplace_back(std::string(face) + " " + std::to_string(points));
      return 7;
    }
    void rasterizeText(FontHandle font, std::string_view text, TextMask& mask) override {
      fonts.push_back(font);
      BlockTextEngine::rasterizeText(font, text, mask);
    }
    std::vector<std::string> asked;
    std::vector<FontHandle> fonts;
  } engine;
  ScriptedPlatform platform(&engine);
  platform.fallBackToSequence(1);
  Game game(platform);
  StartGame(game);
  FrameStep(game);
  EXPECT_EQ(engine.asked, std::vector<std::string>{"Verdana 10"});
  EXPECT_EQ(engine.fonts, (std::vector<FontHandle>{7, 7, 7})) << "label, score and multiplier";
}

TEST(RenderFrame, AKindThatFailedToDecodeShowsTheBackground) {
  Frame frame;
  frame.resources.tileImages[2] = Image();
  const Image& image = frame.render();
  ScriptedPlatform platform;
  std::array<Image, TILE_KINDS> tiles;
  LoadTileImages(platform, tiles);
  ExpectCells(image, frame.state.board, [&](std::int32_t cell) -> const Image* {
    return cell == 2 ? nullptr : &tiles[static_cast<std::size_t>(cell)];
  });
}

TEST(TileBitmaps, AreTheCommittedFilesInKindOrder) {
  for (int kind = 0; kind < TILE_KINDS; ++kind) {
    const std::string path =
        std::string(PAX_SOURCE_DIR) + "/assets/tile" + std::to_string(kind) + ".bmp";
    std::ifstream file(path, std::ios::binary);
    ASSERT_TRUE(file) << path;
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
    const std::span<const std::uint8_t> embedded = TileBitmap(kind);
    EXPECT_TRUE(std::equal(embedded.begin(), embedded.end(), bytes.begin(), bytes.end())) << path;
  }
}

TEST(RenderFrame, RepaintsEverythingFromTheState) {
  Frame frame;
  frame.resources.frameImage.setPixel(200, 440, RgbHex(0x123456));
  frame.resources.frameImage.setPixel(0, 0, RgbHex(0x123456));
  frame.state.timeLeft = 10.0;
  Frame fresh;
  fresh.state.timeLeft = 10.0;
  const Image& a = frame.render();
  const Image& b = fresh.render();
  for (int y = 0; y < FRAME_HEIGHT; ++y) {
    for (int x = 0; x < FRAME_WIDTH; ++x) ASSERT_EQ(a.pixel(x, y), b.pixel(x, y)) << x << "," << y;
  }
}

}  // namespace
}  // namespace pax
