#pragma once

// The pictures of a window on Wayland. SDL's Wayland driver owns the window, its shell surface
// and its input, but it has no software window surface: the game puts its pictures into shared
// memory buffers of its own and attaches them to the window's wl_surface, as a compositor
// expects of a client that draws without a GPU. Nothing here loads OpenGL.

#include <memory>

#include "platform/image.h"

namespace pax::sdl::wayland {

class SurfacePictures {
 public:
  // For the wl_display and wl_surface that SDL_GetWindowWMInfo gives; nothing when the
  // compositor offers no shared memory.
  static std::unique_ptr<SurfacePictures> Make(void* display, void* surface);
  ~SurfacePictures();
  SurfacePictures(const SurfacePictures&) = delete;
  SurfacePictures& operator=(const SurfacePictures&) = delete;

  // The largest scale among the compositor's outputs, 1 when none says.
  int outputScale() const;

  // Shows `frame` with every pixel a block of `scale` x `scale` buffer pixels, the buffer marked
  // as of that scale so that the compositor shows it pixel for pixel. False when no buffer could
  // be had.
  bool present(const Image& frame, int scale);

  // The connection's objects, kept out of this header with Wayland's own.
  struct State;

 private:
  explicit SurfacePictures(std::unique_ptr<State> state);
  std::unique_ptr<State> state_;
};

// Tells the compositor, with the window's next commit, that the xdg toplevel (from
// SDL_GetWindowWMInfo, after the window was shown) keeps the size `width` x `height`.
void SetFixedSize(void* xdgToplevel, int width, int height);

}  // namespace pax::sdl::wayland
