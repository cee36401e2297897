#include "board.h"

namespace pax {

namespace {

constexpr int SETTLE_PASSES = 10;

TileKind RandomTile(RandomSource& random) {
  return static_cast<TileKind>(UniformInt(random, TILE_KINDS - 1));
}

// A depth-first search in which the board is its own visited set: every visited cell is emptied
// before its neighbours are looked at, so none is counted twice. At most 100 levels deep.
void Collect(Board& board, int x, int y, std::int8_t kind, std::int32_t& count) {
  count += 1;
  board.at(x, y) = EMPTY_CELL;
  auto visit = [&](int nx, int ny) {
    if (board.at(nx, ny) == kind) Collect(board, nx, ny, kind, count);
  };
  if (y < BOARD_SIZE - 1) visit(x, y + 1);
  if (y > 0) visit(x, y - 1);
  if (x < BOARD_SIZE - 1) visit(x + 1, y);
  if (x > 0) visit(x - 1, y);
  // Only the first cell of a search can end with a count of 1: a lone tile goes back.
  if (count == 1) board.at(x, y) = kind;
}

}  // namespace

std::uint32_t UniformInt(RandomSource& random, std::uint32_t max) {
  const std::uint64_t product = std::uint64_t{random.nextRandom()} * (std::uint64_t{max} + 1);
  return static_cast<std::uint32_t>(product >> 32);
}

void FillBoard(Board& board, RandomSource& random) {
  for (int x = 0; x < BOARD_SIZE; ++x) {
    for (int y = 0; y < BOARD_SIZE; ++y) board.at(x, y) = RandomTile(random);
  }
}

std::int32_t CollectGroup(Board& board, int x, int y, std::int8_t kind) {
  std::int32_t count = 0;
  Collect(board, x, y, kind, count);
  return count;
}

// Each pass scans every column top to bottom, so a tile that has just moved down is looked at
// again as the tile above the next row and falls through a whole gap in one pass.
void SettleBoard(Board& board, RandomSource& random, double timeLeft) {
  for (int pass = 0; pass < SETTLE_PASSES; ++pass) {
    for (int x = 0; x < BOARD_SIZE; ++x) {
      for (int y = 1; y < BOARD_SIZE; ++y) {
        if (board.at(x, y) == EMPTY_CELL && board.at(x, y - 1) >= 0) {
          board.at(x, y) = board.at(x, y - 1);
          board.at(x, y - 1) = EMPTY_CELL;
        }
      }
    }
  }
  RefillBoard(board, random, timeLeft);
}

// SettleBoard, RefillBoard and DropNewTile call one another: each new tile goes into the first
// empty cell in column order and falls before the next is drawn. Every DropNewTile fills one
// cell, so the chain is at most three levels per emptied cell deep.
void RefillBoard(Board& board, RandomSource& random, double timeLeft) {
  if (!(timeLeft > 0.0)) return;
  for (int x = 0; x < BOARD_SIZE; ++x) {
    for (int y = 0; y < BOARD_SIZE; ++y) {
      if (board.at(x, y) == EMPTY_CELL) DropNewTile(board, random, timeLeft, x, y);
    }
  }
}

void DropNewTile(Board& board, RandomSource& random, double timeLeft, int x, int y) {
  board.at(x, y) = RandomTile(random);
  SettleBoard(board, random, timeLeft);
}

}  // namespace pax
