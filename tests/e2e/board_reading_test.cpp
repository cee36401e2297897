// The end-to-end cases pass or fail on these readings, so a reading that passed anything would
// hide a broken game.

#include "board_reading.h"

#include <gtest/gtest.h>

#include <string>

namespace pax::e2e {
namespace {

// Columns written top to bottom, one string each.
std::string Board(const std::array<std::string, BOARD_SIZE>& columns) {
  std::string board;
  for (const std::string& c : columns) board += c;
  return board;
}

const std::string BEFORE =
    Board({"0123012301", "1230123012", "2301230123", "3012301230", "0123012301", "1230123012",
           "2301230123", "3012301230", "0123012301", "1230123022"});

// BEFORE with its last column replaced, and optionally its first cell.
std::string WithLastColumn(const std::string& column, char firstCell = '0') {
  std::string board = BEFORE;
  board.replace(90, 10, column);
  board[0] = firstCell;
  return board;
}

TEST(BoardReading, RemovalFault) {
  // Cell (9, 8) and (9, 9) hold the only pair: column 9 loses its two bottom tiles.
  struct Case {
    std::string name;
    std::string after;
    CellPos cell;
    bool holds;
  };
  const Case cases[] = {
      {"pair removed, new tiles on top",
       Board({"0123012301", "1230123012", "2301230123", "3012301230", "0123012301", "1230123012",
              "2301230123", "3012301230", "0123012301", "3312301230"}),
       {9, 8},
       true},
      {"the same, clicked on the other tile", WithLastColumn("0012301230"), {9, 9}, true},
      {"survivors out of order", WithLastColumn("0012301203"), {9, 9}, false},
      {"survivors left in place", BEFORE, {9, 9}, false},
      {"another column changed", WithLastColumn("0012301230", '3'), {9, 9}, false},
      {"a lone tile", BEFORE, {0, 0}, false},
      {"a cell without a tile", WithLastColumn("?012301230"), {9, 9}, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RemovalFault(BEFORE, c.after, c.cell).empty(), c.holds) << c.name;
  }
}

TEST(BoardReading, PickTargetsTwoGroups) {
  const std::string board =
      Board({"0023012301", "1230123012", "2301230123", "3012301230", "0123012301", "1230123012",
             "2301230123", "3012301230", "0123012301", "1230123022"});
  // The pair at the top of column 0 could come back from the new tiles as it was; the pair at
  // the bottom of column 9 cannot, since the tile above it falls into the gap.
  const auto targets = PickTargets(board);
  ASSERT_TRUE(targets);
  EXPECT_EQ((*targets)[0].x, 9);
  EXPECT_EQ((*targets)[0].y, 8);
  EXPECT_EQ((*targets)[1].x, 0);
  EXPECT_EQ((*targets)[1].y, 0);
  EXPECT_FALSE(PickTargets(BEFORE)) << "one group only";

  // Groups that fill the top of their columns only: nothing to double-click. Row 0 of columns 0
  // and 1 and the first two cells of column 5.
  const std::string topOnly =
      Board({"0123012301", "0230123012", "2301230123", "3012301230", "0123012301", "2230123012",
             "2301230123", "3012301230", "0123012301", "1230123012"});
  EXPECT_FALSE(PickTargets(topOnly));

  // The first group that always shows, column by column: (2, 1), (2, 2) and (3, 1), under the
  // foreign tiles (2, 0) and (3, 0); ahead of the pair at the bottom of column 9.
  const std::string hooked =
      Board({"0123012301", "0230123012", "2001230123", "3012301230", "0123012301", "1230123012",
             "2301230123", "3012301230", "0123012301", "1230123022"});
  const auto hookedTargets = PickTargets(hooked);
  ASSERT_TRUE(hookedTargets);
  EXPECT_EQ((*hookedTargets)[0].x, 2);
  EXPECT_EQ((*hookedTargets)[0].y, 1);
  EXPECT_EQ((*hookedTargets)[1].x, 0);
  EXPECT_EQ((*hookedTargets)[1].y, 0);
}

Image Layout() {
  Image shot(421, 450);
  for (int y = 0; y < 421; ++y) {
    for (int x = 0; x < 421; ++x) shot.setPixel(x, y, RgbHex(0x222222));
  }
  for (int x = 0; x < 421; ++x) {
    for (int y = 421; y < 425; ++y) shot.setPixel(x, y, RgbHex(0x999999));
    shot.setPixel(x, 425, RgbHex(0x444444));
  }
  return shot;
}

TEST(BoardReading, LayoutFaults) {
  EXPECT_TRUE(LayoutFaults(Layout()).empty());
  const struct {
    int x;
    int y;
  } wrong[] = {{0, 200}, {420, 5}, {84, 419}, {300, 420}, {0, 424}, {420, 425}};
  for (const auto& w : wrong) {
    Image shot = Layout();
    shot.setPixel(w.x, w.y, RgbHex(0x223222));
    EXPECT_EQ(LayoutFaults(shot).size(), 1u) << w.x << ", " << w.y;
  }
  EXPECT_FALSE(LayoutFaults(Image(421, 449)).empty()) << "one row short";
}

TEST(BoardReading, ReadBoardMatchesWholeTiles) {
  std::array<Image, 4> tiles;
  for (int k = 0; k < 4; ++k) {
    tiles[static_cast<std::size_t>(k)] = Image(TILE_SIZE, TILE_SIZE);
    for (int y = 0; y < TILE_SIZE; ++y) {
      for (int x = 0; x < TILE_SIZE; ++x) {
        const auto v = static_cast<std::uint8_t>(40 * k + (x == y ? 1 : 0));
        tiles[static_cast<std::size_t>(k)].setPixel(x, y, Rgb{v, v, v});
      }
    }
  }
  Image shot = Layout();
  for (int x = 0; x < BOARD_SIZE; ++x) {
    for (int y = 0; y < BOARD_SIZE; ++y) {
      const Image& tile = tiles[static_cast<std::size_t>((x + y) % 4)];
      for (int j = 0; j < TILE_SIZE; ++j) {
        for (int i = 0; i < TILE_SIZE; ++i)
          shot.setPixel(CELL_PITCH * x + 1 + i, CELL_PITCH * y + 1 + j, tile.pixel(i, j));
      }
    }
  }
  EXPECT_EQ(ReadBoard(shot, tiles), WithLastColumn("1230123012"));
  shot.setPixel(CELL_PITCH * 3 + 41, CELL_PITCH * 2 + 41,
                Rgb{7, 7, 7});  // the last pixel of cell (3, 2)
  EXPECT_EQ(ReadBoard(shot, tiles)[3 * BOARD_SIZE + 2], '?');
}

TEST(BoardReading, BarFill) {
  Image shot = Layout();
  EXPECT_FALSE(BarFill(shot));
  shot.setPixel(138, 429, RgbHex(0x1C2600));
  shot.setPixel(139 + 136, 429, RgbHex(0x1C2600));
  EXPECT_EQ(BarFill(shot), 136);
}

// A blurred or shifted upscale leaves blocks of two colours; the reader must not pass them.
TEST(BoardReading, Unscale) {
  Image shot(6, 4);
  for (int y = 0; y < 4; ++y) {
    for (int x = 0; x < 6; ++x) shot.setPixel(x, y, RgbHex(x / 2 == 1 ? 0xFF0000 : 0x00FF00));
  }
  std::string fault;
  const std::optional<Image> frame = Unscale(shot, 2, fault);
  ASSERT_TRUE(frame) << fault;
  EXPECT_EQ(frame->width(), 3);
  EXPECT_EQ(frame->height(), 2);
  EXPECT_EQ(frame->pixel(1, 1), RgbHex(0xFF0000));
  EXPECT_EQ(frame->pixel(2, 0), RgbHex(0x00FF00));

  shot.setPixel(3, 3, RgbHex(0x7F7F00));
  EXPECT_FALSE(Unscale(shot, 2, fault));
  EXPECT_NE(fault.find("(1, 1)"), std::string::npos) << fault;
  EXPECT_FALSE(Unscale(shot, 4, fault));  // 6 is no whole number of blocks of 4
}

}  // namespace
}  // namespace pax::e2e
