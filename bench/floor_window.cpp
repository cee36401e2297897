// The floor under the game's whole-process figures: the least an SDL2 program does to show a
// 421 x 450 24-bit picture every 20 ms through the window surface, as the game's Linux platform
// does. bench/compare-processes runs it beside the game. When PAX_FIRST_FRAME_FILE is set, the
// moment the first frame is on screen (CLOCK_MONOTONIC, nanoseconds) is written there.

#include <SDL.h>

#include "platform/sdl/first_frame.h"

int main(int, char**) {
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // As in the game: a signal ends the process at once.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  if (SDL_Init(SDL_INIT_VIDEO) != 0) return 1;
  SDL_Window* window =
      SDL_CreateWindow("floor", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, 421, 450, 0);
  SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormat(0, 421, 450, 24, SDL_PIXELFORMAT_BGR24);
  if (!window || !frame) return 1;
  bool first = true;
  for (Uint8 shade = 0;; ++shade) {
    SDL_FillRect(frame, nullptr, SDL_MapRGB(frame->format, 0x22, 0x22, shade));
    SDL_BlitSurface(frame, nullptr, SDL_GetWindowSurface(window), nullptr);
    SDL_UpdateWindowSurface(window);
    if (first) pax::sdl::ReportFirstFrame();
    first = false;
    SDL_Delay(20);
    SDL_Event event;
    if (SDL_PollEvent(&event) && event.type == SDL_QUIT) break;
  }
  SDL_FreeSurface(frame);
  SDL_DestroyWindow(window);
  SDL_Quit();
  return 0;
}
