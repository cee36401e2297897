#include "board_text.h"

#include <stdexcept>

namespace pax::test {

Board BoardFromText(std::string_view text) {
  Board board;
  int i = 0;
  for (char c : text) {
    if (c == ' ' || c == '\n') continue;
    if (i >= BOARD_SIZE * BOARD_SIZE) throw std::invalid_argument("more than 100 cells");
    const int x = i % BOARD_SIZE;
    const int y = i / BOARD_SIZE;
    if (c == '.') {
      board.at(x, y) = EMPTY_CELL;
    } else if (c >= '0' && c <= '3') {
      board.at(x, y) = c - '0';
    } else {
      throw std::invalid_argument(std::string("not a cell: ") + c);
    }
    ++i;
  }
  if (i != BOARD_SIZE * BOARD_SIZE) throw std::invalid_argument("fewer than 100 cells");
  return board;
}

std::string BoardToText(const Board& board) {
  std::string text;
  for (int y = 0; y < BOARD_SIZE; ++y) {
    for (int x = 0; x < BOARD_SIZE; ++x) {
      const int cell = board.at(x, y);
      text += cell == EMPTY_CELL ? '.' : static_cast<char>('0' + cell);
    }
    text += '\n';
  }
  return text;
}

}  // namespace pax::test
