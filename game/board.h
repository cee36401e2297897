#pragma once

#include <array>
#include <cstdint>

#include "platform/platform.h"

namespace pax {

inline constexpr int BOARD_SIZE = 10;
inline constexpr std::int32_t EMPTY_CELL = -1;
inline constexpr int TILE_KINDS = 4;

// 0 grey, 1 blue-violet, 2 red, 3 yellow: the index into the tile images.
using TileKind = std::int32_t;

// The playing field, stored column by column: cell (x, y) is element x * 10 + y, with column x
// counted from the left and row y from the top. Between frame steps every cell holds a TileKind;
// EMPTY_CELL appears only while a group is being removed.
struct Board {
  std::array<std::int32_t, BOARD_SIZE * BOARD_SIZE> cells{};

  std::int32_t& at(int x, int y) { return cells[static_cast<std::size_t>(x * BOARD_SIZE + y)]; }
  std::int32_t at(int x, int y) const {
    return cells[static_cast<std::size_t>(x * BOARD_SIZE + y)];
  }
  friend bool operator==(const Board&, const Board&) = default;
};

// An integer from 0 to max inclusive: the upper 32 bits of the 64-bit product of a random value
// and max + 1.
std::uint32_t UniformInt(RandomSource& random, std::uint32_t max);

// Deals a new board, drawing the tiles column by column, top to bottom.
void FillBoard(Board& board, RandomSource& random);

// Empties the edge-connected group of `kind` that contains (x, y) and answers its size. A lone
// tile is put back and the answer is 1. (x, y) must hold `kind`.
std::int32_t CollectGroup(Board& board, int x, int y, std::int8_t kind);

// Lets the tiles fall into the gaps, then refills the board (RefillBoard). The time left decides
// whether new tiles come: none once it is used up.
void SettleBoard(Board& board, RandomSource& random, double timeLeft);

// While time is left, drops a new tile into each empty cell until none is left.
void RefillBoard(Board& board, RandomSource& random, double timeLeft);

// Puts a random tile into the empty cell (x, y), then settles the board again.
void DropNewTile(Board& board, RandomSource& random, double timeLeft, int x, int y);

}  // namespace pax
