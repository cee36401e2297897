#pragma once

#include <string>
#include <string_view>

#include "game/board.h"

namespace pax::test {

// A board drawn as it looks on screen: ten lines of ten cells, top row first, a digit per tile
// kind and '.' for an empty cell. Blank lines and spaces are ignored.
Board BoardFromText(std::string_view text);
std::string BoardToText(const Board& board);

// The random value that makes UniformInt(3) give `kind`.
constexpr std::uint32_t ValueForKind(int kind) {
  return static_cast<std::uint32_t>(kind) << 30;
}

}  // namespace pax::test
