#include "board_reading.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace pax::e2e {

namespace {

constexpr Rgb GRID = RgbHex(0x222222);
constexpr Rgb SEPARATOR = RgbHex(0x999999);
constexpr Rgb RULE = RgbHex(0x444444);
constexpr Rgb BAR_CORNER = RgbHex(0x1C2600);
constexpr std::size_t MAX_FAULTS = 5;

std::size_t Index(CellPos c) {
  return static_cast<std::size_t>(c.x * BOARD_SIZE + c.y);
}

void Expect(const Image& shot, int x, int y, Rgb want, std::vector<std::string>& faults) {
  if (faults.size() >= MAX_FAULTS) return;
  const Rgb got = shot.pixel(x, y);
  if (got == want) return;
  char text[96];
  std::snprintf(text, sizeof text, "pixel (%d, %d) is #%06X, not #%06X", x, y, HexOf(got),
                HexOf(want));
  faults.emplace_back(text);
}

bool ShowsTile(const Image& shot, int left, int top, const Image& tile) {
  if (tile.width() != TILE_SIZE || tile.height() != TILE_SIZE) return false;
  for (int y = 0; y < TILE_SIZE; ++y) {
    for (int x = 0; x < TILE_SIZE; ++x) {
      if (!(shot.pixel(left + x, top + y) == tile.pixel(x, y))) return false;
    }
  }
  return true;
}

}  // namespace

std::optional<Image> Unscale(const Image& shot, int scale, std::string& fault) {
  if (scale < 1 || shot.width() % scale != 0 || shot.height() % scale != 0) {
    fault = "the shot is " + std::to_string(shot.width()) + " x " + std::to_string(shot.height()) +
            ", not whole blocks of " + std::to_string(scale);
    return std::nullopt;
  }
  Image frame(shot.width() / scale, shot.height() / scale);
  for (int y = 0; y < frame.height(); ++y) {
    for (int x = 0; x < frame.width(); ++x) {
      const Rgb c = shot.pixel(x * scale, y * scale);
      for (int k = 0; k < scale * scale; ++k) {
        if (!(shot.pixel(x * scale + k % scale, y * scale + k / scale) == c)) {
          fault = "the block of frame pixel (" + std::to_string(x) + ", " + std::to_string(y) +
                  ") holds more than one colour";
          return std::nullopt;
        }
      }
      frame.setPixel(x, y, c);
    }
  }
  return frame;
}

std::vector<std::string> LayoutFaults(const Image& shot) {
  if (shot.width() != BOARD_PIXELS || shot.height() <= RULE_ROW) {
    return {"the picture is " + std::to_string(shot.width()) + " x " +
            std::to_string(shot.height()) + " pixels"};
  }
  std::vector<std::string> faults;
  for (int line = 0; line < BOARD_PIXELS; line += CELL_PITCH) {
    for (int along = 0; along < BOARD_PIXELS; ++along) {
      Expect(shot, line, along, GRID, faults);
      Expect(shot, along, line, GRID, faults);
    }
  }
  for (int x = 0; x < BOARD_PIXELS; ++x) {
    for (int y = SEPARATOR_TOP; y < RULE_ROW; ++y) Expect(shot, x, y, SEPARATOR, faults);
    Expect(shot, x, RULE_ROW, RULE, faults);
  }
  return faults;
}

std::string ReadBoard(const Image& shot, const std::array<Image, 4>& tiles) {
  std::string board(BOARD_SIZE * BOARD_SIZE, '?');
  if (shot.width() < BOARD_PIXELS || shot.height() < BOARD_PIXELS) return board;
  for (int x = 0; x < BOARD_SIZE; ++x) {
    for (int y = 0; y < BOARD_SIZE; ++y) {
      for (std::size_t kind = 0; kind < tiles.size(); ++kind) {
        if (ShowsTile(shot, TileOrigin(x), TileOrigin(y), tiles[kind])) {
          board[Index({x, y})] = static_cast<char>('0' + kind);
          break;
        }
      }
    }
  }
  return board;
}

std::optional<int> BarFill(const Image& shot) {
  if (shot.height() <= BAR_TOP) return std::nullopt;
  if (!(shot.pixel(BAR_LEFT, BAR_TOP) == BAR_CORNER)) return std::nullopt;
  for (int x = BAR_LEFT + 1; x < shot.width(); ++x) {
    if (shot.pixel(x, BAR_TOP) == BAR_CORNER) return x - (BAR_LEFT + 1);
  }
  return std::nullopt;
}

std::vector<CellPos> GroupAt(const std::string& board, CellPos cell) {
  std::vector<CellPos> group;
  if (board.size() != BOARD_SIZE * BOARD_SIZE || board[Index(cell)] == '?') return group;
  std::vector<bool> seen(board.size(), false);
  std::vector<CellPos> todo{cell};
  seen[Index(cell)] = true;
  while (!todo.empty()) {
    const CellPos c = todo.back();
    todo.pop_back();
    group.push_back(c);
    const CellPos around[] = {{c.x - 1, c.y}, {c.x + 1, c.y}, {c.x, c.y - 1}, {c.x, c.y + 1}};
    for (const CellPos n : around) {
      if (n.x < 0 || n.y < 0 || n.x >= BOARD_SIZE || n.y >= BOARD_SIZE || seen[Index(n)]) continue;
      if (board[Index(n)] != board[Index(cell)]) continue;
      seen[Index(n)] = true;
      todo.push_back(n);
    }
  }
  return group;
}

namespace {

// Whether removing the group shows on the board whatever tiles come in: in some column a tile
// of another kind stands above one of its cells and falls into the gap. A group that fills the
// top of each of its columns is only replaced by new tiles, which may repeat it exactly.
bool RemovalAlwaysShows(const std::vector<CellPos>& group) {
  std::array<int, BOARD_SIZE> lowest{};
  std::array<int, BOARD_SIZE> count{};
  lowest.fill(-1);
  for (const CellPos c : group) {
    lowest[static_cast<std::size_t>(c.x)] = std::max(lowest[static_cast<std::size_t>(c.x)], c.y);
    ++count[static_cast<std::size_t>(c.x)];
  }
  for (std::size_t x = 0; x < BOARD_SIZE; ++x) {
    if (lowest[x] >= 0 && count[x] < lowest[x] + 1) return true;
  }
  return false;
}

}  // namespace

std::optional<std::array<CellPos, 2>> PickTargets(const std::string& board) {
  // Each group of two or more once, by the first of its cells met column by column.
  std::vector<CellPos> starts;
  std::vector<bool> visible;
  std::vector<bool> grouped(BOARD_SIZE * BOARD_SIZE, false);
  for (int x = 0; x < BOARD_SIZE; ++x) {
    for (int y = 0; y < BOARD_SIZE; ++y) {
      if (grouped[Index({x, y})]) continue;
      const std::vector<CellPos> group = GroupAt(board, {x, y});
      for (const CellPos c : group) grouped[Index(c)] = true;
      if (group.size() < 2) continue;
      starts.push_back({x, y});
      visible.push_back(RemovalAlwaysShows(group));
    }
  }
  for (std::size_t d = 0; d < starts.size(); ++d) {
    if (!visible[d]) continue;
    for (std::size_t s = 0; s < starts.size(); ++s) {
      if (s != d) return std::array<CellPos, 2>{starts[d], starts[s]};
    }
  }
  return std::nullopt;
}

std::string RemovalFault(const std::string& before, const std::string& after, CellPos cell) {
  if (before.size() != BOARD_SIZE * BOARD_SIZE || after.size() != BOARD_SIZE * BOARD_SIZE)
    return "not two boards";
  const std::vector<CellPos> group = GroupAt(before, cell);
  if (group.size() < 2) return "the cell is in no group of two or more";
  std::vector<bool> removed(before.size(), false);
  for (const CellPos c : group) removed[Index(c)] = true;
  for (int x = 0; x < BOARD_SIZE; ++x) {
    std::string survivors;
    for (int y = 0; y < BOARD_SIZE; ++y) {
      if (!removed[Index({x, y})]) survivors += before[Index({x, y})];
    }
    const std::string column = after.substr(Index({x, 0}), BOARD_SIZE);
    if (column.compare(BOARD_SIZE - survivors.size(), survivors.size(), survivors) != 0) {
      return "column " + std::to_string(x) + " is " + column + "; its remaining tiles " +
             survivors + " should be at its bottom";
    }
    if (column.find('?') != std::string::npos) {
      return "column " + std::to_string(x) + " has a cell without a tile: " + column;
    }
  }
  return {};
}

}  // namespace pax::e2e
