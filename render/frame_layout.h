#pragma once

// Where everything sits in the picture the game draws and the window shows. One pixel space for
// both: x 0..420 to the right, y 0..449 downward, from the client area's top-left corner.

#include <optional>

#include "game/board.h"

namespace pax {

inline constexpr int FRAME_WIDTH = 421;
inline constexpr int FRAME_HEIGHT = 450;

// The board: tiles of TILE_SIZE pixels, one per CELL_PITCH, so that the rows and columns at
// multiples of the pitch (0, 42, ..., 420) stay background as the grid and its border.
inline constexpr int TILE_SIZE = 41;
inline constexpr int CELL_PITCH = TILE_SIZE + 1;
inline constexpr int BOARD_PIXELS = BOARD_SIZE * CELL_PITCH + 1;  // the board area is square

// The status strip under the board: a separator band, a rule line, then the texts and the bar.
inline constexpr int SEPARATOR_TOP = BOARD_PIXELS;
inline constexpr int SEPARATOR_HEIGHT = 4;
inline constexpr int RULE_ROW = SEPARATOR_TOP + SEPARATOR_HEIGHT;
inline constexpr int TEXT_TOP = 430;
inline constexpr int SCORE_LEFT = 2;
inline constexpr int MULTIPLIER_LEFT = 110;
inline constexpr int BAR_LEFT = 138;
inline constexpr int BAR_TOP = 429;
inline constexpr int BAR_HEIGHT = 18;

static_assert(FRAME_WIDTH == BOARD_PIXELS, "the board fills the picture's width");

struct Cell {
  int x;
  int y;
  friend bool operator==(Cell, Cell) = default;
};

// Cell to pixel: the first pixel column (or row) of the tiles in column (or row) `index`.
constexpr int TileOrigin(int index) {
  return index * CELL_PITCH + 1;
}

// Pixel to cell, the other way: the column (or row) whose tile covers the pixel, or nothing on
// the grid, the border, below or right of the board, and for -1 (a pointer outside the window).
constexpr std::optional<int> TileIndexAt(int pixel) {
  if (pixel <= 0 || pixel >= BOARD_PIXELS || pixel % CELL_PITCH == 0) return std::nullopt;
  return pixel / CELL_PITCH;
}

// The board cell whose tile is drawn under the pointer, or nothing when the pointer is outside
// the window (-1), on the one-pixel grid between tiles, or off the board.
constexpr std::optional<Cell> CellUnderPointer(int pointerX, int pointerY) {
  const std::optional<int> x = TileIndexAt(pointerX);
  const std::optional<int> y = TileIndexAt(pointerY);
  if (!x || !y) return std::nullopt;
  return Cell{*x, *y};
}

}  // namespace pax
