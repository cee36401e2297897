#include "render_frame.h"

namespace pax {

void RenderFrame(GameState& state, RenderResources& resources, TextEngine& text) {
  (void)resources;
  (void)text;
  StepDisplay(state);
}

}  // namespace pax
