#pragma once

#include <optional>

#include "game_state.h"
#include "platform/platform.h"
#include "render/frame_layout.h"
#include "render/render_frame.h"

namespace pax {

inline constexpr int FRAME_DELAY_MS = 20;
inline constexpr int MAIN_WINDOW = 1;
inline constexpr int BOARD_VIEW = 0;
inline constexpr std::string_view WINDOW_TITLE = "Paxmorella";
inline constexpr std::string_view GAME_OVER_TITLE = "Game Over";
inline constexpr int EXIT_CODE = 0;

// Everything one run of the game owns: its state, its pictures and the platform it runs on.
struct Game {
  explicit Game(Platform& p) : platform(p) {}
  Platform& platform;
  GameState state;
  RenderResources picture;
};

// The start-up sequence: platform, state, pictures, first board, window and board view.
void StartGame(Game& game);

// One frame: wait, drain the time, take at most one event, render and present, then act on a
// time-out, a close request or a double click on the board.
void FrameStep(Game& game);

// Shows the final score and asks whether to play again. Ends the program on No; returns when a
// new game is to start.
void AskPlayAgain(Game& game);

// Shuts the platform down and ends the process with exit code 0.
[[noreturn]] void ExitGame(Game& game);

// The program entry on every platform: start-up, then FrameStep for ever.
[[noreturn]] void RunGame(Platform& platform);

}  // namespace pax
