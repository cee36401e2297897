#pragma once

#include <array>

#include "game/board.h"
#include "game/game_state.h"
#include "platform/platform.h"
#include "render/frame_layout.h"

namespace pax {

inline constexpr int STATUS_FONT_POINTS = 10;
inline constexpr std::string_view STATUS_FONT_FACE = "Verdana";

// What the picture is made of. Created at start-up, kept until the program ends.
struct RenderResources {
  std::array<Image, TILE_KINDS> tileImages;  // indexed by TileKind
  Image frameImage;                          // FRAME_WIDTH x FRAME_HEIGHT, shown by the board view
  FontHandle statusFont = 0;
};

// Called by FrameStep once per frame, and once more before the question when a penalty has used
// up the time. Repaints all of frameImage from the state, and moves the shown score and
// multiplier one step (StepDisplay) on the way.
void RenderFrame(GameState& state, RenderResources& resources, TextEngine& text);

}  // namespace pax
