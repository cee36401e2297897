#include "game/board.h"

#include <gtest/gtest.h>

#include <deque>
#include <random>
#include <vector>

#include "game/game_state.h"
#include "tests/support/board_text.h"

namespace pax {
namespace {

using test::BoardFromText;
using test::BoardToText;

// Hands out queued values, then values of a fixed generator, and remembers every one.
class RecordingRandom : public RandomSource {
 public:
  explicit RecordingRandom(std::uint32_t seed = 1) : engine_(seed) {}
  void queue(std::uint32_t v) { queued_.push_back(v); }
  std::uint32_t nextRandom() override {
    std::uint32_t v = static_cast<std::uint32_t>(engine_());
    if (!queued_.empty()) {
      v = queued_.front();
      queued_.pop_front();
    }
    drawn.push_back(v);
    return v;
  }
  std::vector<int> drawnKinds() const {
    std::vector<int> kinds;
    for (std::uint32_t v : drawn) kinds.push_back(static_cast<int>(v >> 30));
    return kinds;
  }
  std::vector<std::uint32_t> drawn;

 private:
  std::mt19937 engine_;
  std::deque<std::uint32_t> queued_;
};

// Collects the group under (x, y) with that cell's own kind, as a double click does.
std::int32_t Collect(Board& board, int x, int y) {
  return CollectGroup(board, x, y, static_cast<std::int8_t>(board.at(x, y)));
}

TEST(UniformInt, TakesTheUpperHalfOfTheProduct) {
  struct Case {
    std::uint32_t value, max, expected;
  } cases[] = {
      {0, 3, 0},          {0x3FFFFFFF, 3, 0}, {0x40000000, 3, 1}, {0x80000000, 3, 2},
      {0xC0000000, 3, 3}, {0xFFFFFFFF, 3, 3}, {0xFFFFFFFF, 0, 0}, {0x80000000, 9, 5},
  };
  for (const Case& c : cases) {
    RecordingRandom random;
    random.queue(c.value);
    EXPECT_EQ(UniformInt(random, c.max), c.expected) << c.value << " max " << c.max;
  }
}

TEST(FillBoard, DrawsColumnByColumnTopToBottom) {
  RecordingRandom random;
  for (std::uint32_t i = 0; i < 100; ++i) random.queue((i % 4) << 30);
  Board board;
  FillBoard(board, random);
  for (int x = 0; x < BOARD_SIZE; ++x) {
    for (int y = 0; y < BOARD_SIZE; ++y) EXPECT_EQ(board.at(x, y), (x * 10 + y) % 4);
  }
  EXPECT_EQ(random.drawn.size(), 100u);
}

constexpr std::string_view kMixed =
    "0120000000\n"
    "1302222220\n"
    "2000000020\n"
    "3111111120\n"
    "0000000000\n"
    "1313131313\n"
    "3131313131\n"
    "0000000000\n"
    "2222222222\n"
    "0000000001\n";

TEST(CollectGroup, EmptiesExactlyTheEdgeConnectedGroup) {
  struct Case {
    int x, y;
    int count;
    std::string_view after;  // "" when the board must stay as it was
  } cases[] = {
      // A lone tile with like tiles only at its corners: put back, nothing changes.
      {0, 5, 1, ""},
      {1, 1, 1, ""},
      // A bent line that crosses several columns.
      {3, 1, 8,
       "0120000000\n"
       "130......0\n"
       "20000000.0\n"
       "31111111.0\n"
       "0000000000\n"
       "1313131313\n"
       "3131313131\n"
       "0000000000\n"
       "2222222222\n"
       "0000000001\n"},
      // A whole row.
      {4, 8, 10,
       "0120000000\n"
       "1302222220\n"
       "2000000020\n"
       "3111111120\n"
       "0000000000\n"
       "1313131313\n"
       "3131313131\n"
       "0000000000\n"
       "..........\n"
       "0000000001\n"},
  };
  for (const Case& c : cases) {
    Board board = BoardFromText(kMixed);
    EXPECT_EQ(Collect(board, c.x, c.y), c.count) << c.x << "," << c.y;
    EXPECT_EQ(BoardToText(board), c.after.empty() ? BoardToText(BoardFromText(kMixed))
                                                  : BoardToText(BoardFromText(c.after)))
        << c.x << "," << c.y;
  }
}

TEST(SettleBoard, ColumnFallsInOrderThenRefillsFromJustAboveTheSurvivors) {
  // Column 0 reads A=1, B=2, gap, gap, C=3 from the top; the gaps are the removed pair.
  constexpr std::string_view board =
      "1000000000\n"
      "2000000000\n"
      ".000000000\n"
      ".000000000\n"
      "3000000000\n"
      "0000000000\n"
      "0000000000\n"
      "0000000000\n"
      "0000000000\n"
      "0000000000\n";

  Board noTime = BoardFromText(board);
  RecordingRandom none;
  SettleBoard(noTime, none, 0.0);
  EXPECT_EQ(BoardToText(noTime).substr(0, 55),
            ".000000000\n.000000000\n1000000000\n2000000000\n3000000000\n");
  EXPECT_TRUE(none.drawn.empty()) << "no time left: the gaps stay open";

  Board refilled = BoardFromText(board);
  RecordingRandom random;
  random.queue(test::ValueForKind(3));
  random.queue(test::ValueForKind(2));
  SettleBoard(refilled, random, TIME_BUDGET);
  EXPECT_EQ(BoardToText(refilled).substr(0, 55),
            "2000000000\n3000000000\n1000000000\n2000000000\n3000000000\n");
  EXPECT_EQ(random.drawn.size(), 2u);
}

TEST(SettleBoard, OneKindBoardEmptiesCompletelyAndDrawsAHundredTiles) {
  Board board;
  board.cells.fill(2);
  EXPECT_EQ(Collect(board, 4, 7), 100);
  for (std::int32_t cell : board.cells) EXPECT_EQ(cell, EMPTY_CELL);
  RecordingRandom random;
  SettleBoard(board, random, TIME_BUDGET);
  EXPECT_EQ(random.drawn.size(), 100u);
  for (std::int32_t cell : board.cells) EXPECT_GE(cell, 0);
}

// The net result of the recursive settle chain, for random boards and random double clicks,
// against a straightforward model: survivors keep their order at the bottom of each column; the
// new tiles fill the leftmost gapped column first, from its lowest empty cell upward.
TEST(SettleBoard, MatchesTheNetResultOnRandomBoards) {
  std::mt19937 rng(2024);
  for (int round = 0; round < 300; ++round) {
    Board board;
    for (std::int32_t& cell : board.cells) cell = static_cast<std::int32_t>(rng() % 4);
    const Board before = board;
    const int cx = static_cast<int>(rng() % 10);
    const int cy = static_cast<int>(rng() % 10);
    const std::int32_t count = Collect(board, cx, cy);
    if (count < 2) {
      EXPECT_EQ(board, before);
      continue;
    }
    const Board collected = board;
    RecordingRandom random(static_cast<std::uint32_t>(round));
    SettleBoard(board, random, TIME_BUDGET);
    ASSERT_EQ(random.drawn.size(), static_cast<std::size_t>(count));

    Board expected;
    std::size_t next = 0;
    const std::vector<int> kinds = random.drawnKinds();
    for (int x = 0; x < BOARD_SIZE; ++x) {
      std::vector<std::int32_t> survivors;
      for (int y = 0; y < BOARD_SIZE; ++y) {
        if (collected.at(x, y) != EMPTY_CELL) survivors.push_back(collected.at(x, y));
      }
      const int gaps = BOARD_SIZE - static_cast<int>(survivors.size());
      for (int y = 0; y < static_cast<int>(survivors.size()); ++y) {
        expected.at(x, gaps + y) = survivors[static_cast<std::size_t>(y)];
      }
      for (int y = gaps - 1; y >= 0; --y) expected.at(x, y) = kinds[next++];
    }
    EXPECT_EQ(BoardToText(board), BoardToText(expected)) << "round " << round;
  }
}

}  // namespace
}  // namespace pax
