#include "scripted_game.h"

#include "board_text.h"

namespace pax::test {

ScriptedGame::ScriptedGame(std::string_view board) : game(platform) {
  const Board dealt = BoardFromText(board);
  for (std::int32_t cell : dealt.cells) platform.queueRandom(ValueForKind(cell));
  platform.fallBackToSequence(12345);
  StartGame(game);
}

void ScriptedGame::doubleClickAt(int x, int y) {
  platform.setPointer(x, y);
  platform.queueEvent({EVENT_CONTROL, ACTION_LEFT_DOUBLE_CLICK, BOARD_VIEW});
}

void ScriptedGame::doubleClickCell(int cx, int cy) {
  doubleClickAt(cx * CELL_PITCH + CELL_PITCH / 2, cy * CELL_PITCH + CELL_PITCH / 2);
}

void ScriptedGame::runFrames(int count) {
  for (int i = 0; i < count; ++i) FrameStep(game);
}

}  // namespace pax::test
