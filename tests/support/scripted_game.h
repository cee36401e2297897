#pragma once

#include <string_view>

#include "board_text.h"
#include "game/frame_step.h"
#include "platform/scripted/scripted_platform.h"

namespace pax::test {

// A started game on the scripted platform. The first board is dealt from `board` (drawn as
// BoardFromText reads it); later draws come from a fixed sequence unless the test queues them.
struct ScriptedGame {
  explicit ScriptedGame(std::string_view board);

  // Queues a double click with the pointer at (x, y), or over the centre of cell (cx, cy).
  void doubleClickAt(int x, int y);
  void doubleClickCell(int cx, int cy);
  void runFrames(int count);

  ScriptedPlatform platform;
  Game game;
};

}  // namespace pax::test
