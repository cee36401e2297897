#include "frame_step.h"

#include <cstdlib>
#include <string>

#include "decimal.h"
#include "render/tile_images.h"

namespace pax {

namespace {

void Present(Game& game) {
  RenderFrame(game.state, game.picture, game.platform.textEngine());
  game.platform.setPictureImage(BOARD_VIEW, &game.picture.frameImage);
}

void NewBoard(Game& game, std::int32_t shownMultiplier) {
  GameState& s = game.state;
  s.shownScore = 0;
  s.score = 0;
  s.timeLeft = TIME_BUDGET;
  s.shownMultiplier = shownMultiplier;
  s.multiplier = MULTIPLIER_MIN;
  FillBoard(s.board, game.platform);
}

// The drain used up the time. The finished game's multiplier stays on show and steps down to
// the new game's over the next frames.
void TimeRanOut(Game& game) {
  game.state.timeLeft = 0.0;
  AskPlayAgain(game);
  NewBoard(game, game.state.multiplier);
}

// A pair's penalty used up the time. The final frame goes on screen before the question.
void PenaltyEndedGame(Game& game) {
  game.state.timeLeft = 0.0;
  game.state.shownScore = game.state.score;
  Present(game);
  AskPlayAgain(game);
  NewBoard(game, MULTIPLIER_MIN);
}

void RemoveGroupAt(Game& game, Cell cell) {
  GameState& s = game.state;
  const std::int32_t kind = s.board.at(cell.x, cell.y);
  if (kind == EMPTY_CELL) return;
  s.groupCount = CollectGroup(s.board, cell.x, cell.y, static_cast<std::int8_t>(kind));
  if (s.groupCount <= 1) return;
  SettleBoard(s.board, game.platform, s.timeLeft);
  ApplyGroupOutcome(s);
  if (!(s.timeLeft > 0.0)) PenaltyEndedGame(game);
}

}  // namespace

void StartGame(Game& game) {
  Platform& p = game.platform;
  p.initWindowLayer();
  game.state = GameState{};
  LoadTileImages(p, game.picture.tileImages);
  game.picture.frameImage = p.createImage(FRAME_WIDTH, FRAME_HEIGHT);
  game.picture.statusFont = p.textEngine().createFont(STATUS_FONT_FACE, STATUS_FONT_POINTS);
  FillBoard(game.state.board, p);
  p.createTopWindow(MAIN_WINDOW, 10, 10, FRAME_WIDTH, FRAME_HEIGHT, WINDOW_TITLE,
                    MAIN_WINDOW_FLAGS);
  p.createPictureControl(BOARD_VIEW, 0, 0, FRAME_WIDTH, FRAME_HEIGHT, &game.picture.frameImage);
}

void FrameStep(Game& game) {
  Platform& p = game.platform;
  p.sleepMs(FRAME_DELAY_MS);
  DrainTime(game.state);
  const int code = p.pollEvent();
  const int action = p.eventAction();
  const int control = p.eventControl();
  Present(game);

  if (code == EVENT_CLOSE_REQUEST) ExitGame(game);
  // An event taken in the frame that ends the game was aimed at the finished board: dropped.
  if (!(game.state.timeLeft > 0.0)) return TimeRanOut(game);
  if (code != EVENT_CONTROL || control != BOARD_VIEW || action != ACTION_LEFT_DOUBLE_CLICK) return;

  // Two statements: the order of a call's arguments is the compiler's, and x is asked first.
  const int x = p.pointerX(MAIN_WINDOW);
  const int y = p.pointerY(MAIN_WINDOW);
  const std::optional<Cell> cell = CellUnderPointer(x, y);
  if (cell) RemoveGroupAt(game, *cell);
}

void AskPlayAgain(Game& game) {
  const std::string text = "Game Over - Score: " + Decimal(game.state.score) + ".\nPlay again?";
  // Every answer but No plays again, a box that could not be shown included.
  if (game.platform.askYesNo(GAME_OVER_TITLE, text, MB_YESNO) == IDNO) ExitGame(game);
}

void ExitGame(Game& game) {
  Platform& p = game.platform;
  p.shutdownWindowLayer();
  p.textEngine().freeFont(game.picture.statusFont);
  game.picture.statusFont = 0;
  game.picture.frameImage = Image();
  for (Image& tile : game.picture.tileImages) tile = Image();
  p.exitProcess(EXIT_CODE);
  std::abort();  // exitProcess never returns; this tells the compiler so through the virtual call
}

void RunGame(Platform& platform) {
  Game game(platform);
  StartGame(game);
  for (;;) FrameStep(game);
}

}  // namespace pax
