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

struct GameState;

// An integer from 0 to max inclusive: the upper 32 bits of the 64-bit product of a random value
// and max + 1.
std::uint32_t UniformInt(RandomSource& random, std::uint32_t max);

// Deals a new board, drawing the tiles column by column, top to bottom.
void FillBoard(Board& board, RandomSource& random);

// Empties the edge-connected group of `kind` that contains (x, y) and adds its size to the
// group count; the caller sets the count to 0 first. A lone tile is put back. (x, y) must hold
// `kind`.
void CollectGroup(GameState& state, int x, int y, std::int8_t kind);

// Lets the tiles fall into the gaps, then refills the board (RefillBoard).
void SettleBoard(GameState& state, RandomSource& random);

// While time is left, drops a new tile into each empty cell until none is left.
void RefillBoard(GameState& state, RandomSource& random);

// Puts a random tile into the empty cell (x, y), then settles the board again.
void DropNewTile(GameState& state, RandomSource& random, int x, int y);

}  // namespace pax
