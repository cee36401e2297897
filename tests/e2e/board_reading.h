#pragma once

// What the end-to-end test reads off a screenshot of the game, and the rules it checks the
// boards against. A board is written as 100 characters, column by column, top to bottom: the
// tile kind's digit, or '?' for a cell that shows none of the four tiles.

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "platform/image.h"
#include "render/frame_layout.h"

namespace pax::e2e {

struct CellPos {
  int x;
  int y;
};

// Every pixel of the layout that is the same in every frame, against the screenshot: the grid
// and border of the board, the separator rows and the rule row. Empty when all are right,
// otherwise the first few wrong pixels.
std::vector<std::string> LayoutFaults(const Image& shot);

// The frame that a window scaled by `scale` shows: one pixel for each `scale` x `scale` block of
// the screenshot. Nothing when the shot is not a whole number of blocks or a block holds more
// than one colour (a blurred or shifted picture), with the first such block in `fault`.
std::optional<Image> Unscale(const Image& shot, int scale, std::string& fault);

// Each cell's kind: the tile image that its square shows pixel for pixel.
std::string ReadBoard(const Image& shot, const std::array<Image, 4>& tiles);

// The width of the time bar's fill, found by the corner pixel at the bar's right end; nothing
// when there is no bar.
std::optional<int> BarFill(const Image& shot);

// The cells of the edge-connected group of like tiles at `cell`.
std::vector<CellPos> GroupAt(const std::string& board, CellPos cell);

// A cell to double-click (in a group of two or more) and a cell to click once (in another
// such group), or nothing when the board has no such two. The group to double-click is one whose
// removal always changes the board, so that a test can wait for the change: a group that fills
// the top of its columns could come back as it was from the new tiles.
std::optional<std::array<CellPos, 2>> PickTargets(const std::string& board);

// Whether `after` is what removing the group at `cell` from `before` leaves: a group of two
// or more, and in every column the tiles that were not removed, in their order, at the bottom.
// The cells above them are new tiles and may hold anything. Empty when it is, otherwise why not.
std::string RemovalFault(const std::string& before, const std::string& after, CellPos cell);

}  // namespace pax::e2e
