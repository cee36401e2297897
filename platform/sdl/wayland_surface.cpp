#include "wayland_surface.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

#include "xdg-shell-client-protocol.h"

namespace pax::sdl::wayland {

namespace {

// A buffer lives on while the compositor may still read it; the game rarely needs more than two.
constexpr std::size_t MAX_BUFFERS = 3;

struct Buffer {
  wl_buffer* buffer = nullptr;
  std::uint32_t* pixels = nullptr;
  std::size_t bytes = 0;
  int width = 0;
  int height = 0;
  bool busy = false;  // attached, not yet released by the compositor
};

}  // namespace

struct SurfacePictures::State {
  wl_display* display = nullptr;
  wl_surface* surface = nullptr;
  // Our own queue, so that dispatching our events never runs SDL's handlers and SDL's
  // dispatching never runs ours out of turn.
  wl_event_queue* queue = nullptr;
  wl_display* wrapper = nullptr;
  wl_registry* registry = nullptr;
  wl_shm* shm = nullptr;
  std::vector<wl_output*> outputs;
  std::vector<int> scales;
  std::vector<std::unique_ptr<Buffer>> buffers;

  ~State() {
    for (const std::unique_ptr<Buffer>& b : buffers) {
      if (b->buffer) wl_buffer_destroy(b->buffer);
      if (b->pixels) munmap(b->pixels, b->bytes);
    }
    for (wl_output* output : outputs) {
      if (wl_output_get_version(output) >= WL_OUTPUT_RELEASE_SINCE_VERSION) {
        wl_output_release(output);
      } else {
        wl_output_destroy(output);
      }
    }
    if (shm) wl_shm_destroy(shm);
    if (registry) wl_registry_destroy(registry);
    if (wrapper) wl_proxy_wrapper_destroy(wrapper);
    if (display) wl_display_flush(display);
    if (queue) wl_event_queue_destroy(queue);
  }

  Buffer* freeBuffer(int width, int height);
  Buffer* newBuffer(int width, int height);
};

namespace {

// Of an output's events only the scale matters here.
void OutputGeometry(void*, wl_output*, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                    std::int32_t, const char*, const char*, std::int32_t) {}
void OutputMode(void*, wl_output*, std::uint32_t, std::int32_t, std::int32_t, std::int32_t) {}
void OutputDone(void*, wl_output*) {}
void OutputName(void*, wl_output*, const char*) {}
void OutputDescription(void*, wl_output*, const char*) {}
void OutputScale(void* data, wl_output* output, std::int32_t factor) {
  auto* state = static_cast<SurfacePictures::State*>(data);
  for (std::size_t i = 0; i < state->outputs.size(); ++i) {
    if (state->outputs[i] == output) state->scales[i] = factor;
  }
}

void Global(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
            std::uint32_t version) {
  auto* s = static_cast<SurfacePictures::State*>(data);
  const std::string_view kind = interface;
  if (kind == wl_shm_interface.name && !s->shm) {
    s->shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
  } else if (kind == wl_output_interface.name) {
    // Version 2 brings the scale.
    const std::uint32_t bound = std::min<std::uint32_t>(version, 3);
    auto* output =
        static_cast<wl_output*>(wl_registry_bind(registry, name, &wl_output_interface, bound));
    s->outputs.push_back(output);
    s->scales.push_back(1);
    static const wl_output_listener listener = {OutputGeometry, OutputMode, OutputDone,
                                                OutputScale,    OutputName, OutputDescription};
    wl_output_add_listener(output, &listener, s);
  }
}

void GlobalRemoved(void*, wl_registry*, std::uint32_t) {}

const wl_registry_listener REGISTRY = {Global, GlobalRemoved};

void Released(void* data, wl_buffer*) {
  static_cast<Buffer*>(data)->busy = false;
}

const wl_buffer_listener BUFFER = {Released};

}  // namespace

Buffer* SurfacePictures::State::freeBuffer(int width, int height) {
  // The compositor's releases wait in our queue once SDL has read them off the connection.
  wl_display_dispatch_queue_pending(display, queue);
  for (const std::unique_ptr<Buffer>& b : buffers) {
    if (!b->busy && b->width == width && b->height == height) return b.get();
  }
  // Buffers of another size (the scale changed) go once they are free.
  std::erase_if(buffers, [&](const std::unique_ptr<Buffer>& b) {
    if (b->busy || (b->width == width && b->height == height)) return false;
    wl_buffer_destroy(b->buffer);
    munmap(b->pixels, b->bytes);
    return true;
  });
  if (buffers.size() >= MAX_BUFFERS) return nullptr;
  return newBuffer(width, height);
}

Buffer* SurfacePictures::State::newBuffer(int width, int height) {
  const int stride = width * 4;
  const auto bytes = static_cast<std::size_t>(stride) * static_cast<std::size_t>(height);
  const int fd = memfd_create("paxmorella-picture", MFD_CLOEXEC);
  if (fd < 0) return nullptr;
  if (ftruncate(fd, static_cast<off_t>(bytes)) != 0) {
    close(fd);
    return nullptr;
  }
  void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
  if (memory == MAP_FAILED) {
    close(fd);
    return nullptr;
  }
  wl_shm_pool* pool = wl_shm_create_pool(shm, fd, static_cast<std::int32_t>(bytes));
  auto b = std::make_unique<Buffer>();
  b->buffer = wl_shm_pool_create_buffer(pool, 0, width, height, stride, WL_SHM_FORMAT_XRGB8888);
  wl_shm_pool_destroy(pool);
  close(fd);
  b->pixels = static_cast<std::uint32_t*>(memory);
  b->bytes = bytes;
  b->width = width;
  b->height = height;
  wl_buffer_add_listener(b->buffer, &BUFFER, b.get());
  buffers.push_back(std::move(b));
  return buffers.back().get();
}

SurfacePictures::SurfacePictures(std::unique_ptr<State> state) : state_(std::move(state)) {}
SurfacePictures::~SurfacePictures() = default;

std::unique_ptr<SurfacePictures> SurfacePictures::Make(void* display, void* surface) {
  if (!display || !surface) return nullptr;
  auto s = std::make_unique<State>();
  s->display = static_cast<wl_display*>(display);
  s->surface = static_cast<wl_surface*>(surface);
  s->queue = wl_display_create_queue(s->display);
  if (!s->queue) return nullptr;
  s->wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(s->display));
  if (!s->wrapper) return nullptr;
  wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(s->wrapper), s->queue);
  s->registry = wl_display_get_registry(s->wrapper);
  wl_registry_add_listener(s->registry, &REGISTRY, s.get());
  // The globals, then the outputs' first events.
  if (wl_display_roundtrip_queue(s->display, s->queue) < 0 ||
      wl_display_roundtrip_queue(s->display, s->queue) < 0 || !s->shm) {
    return nullptr;
  }
  return std::unique_ptr<SurfacePictures>(new SurfacePictures(std::move(s)));
}

int SurfacePictures::outputScale() const {
  int scale = 1;
  for (const int s : state_->scales) scale = std::max(scale, s);
  return scale;
}

bool SurfacePictures::present(const Image& frame, int scale) {
  const int width = frame.width() * scale;
  const int height = frame.height() * scale;
  Buffer* b = state_->freeBuffer(width, height);
  if (!b) return false;
  for (int y = 0; y < frame.height(); ++y) {
    const std::uint8_t* from = frame.row(y);
    std::uint32_t* first = b->pixels + static_cast<std::ptrdiff_t>(y) * scale * width;
    std::uint32_t* to = first;
    for (int x = 0; x < frame.width(); ++x, from += 3) {
      const std::uint32_t pixel =
          (std::uint32_t{from[2]} << 16) | (std::uint32_t{from[1]} << 8) | std::uint32_t{from[0]};
      for (int k = 0; k < scale; ++k) *to++ = pixel;
    }
    for (int k = 1; k < scale; ++k) {
      std::memcpy(first + static_cast<std::ptrdiff_t>(k) * width, first,
                  static_cast<std::size_t>(width) * 4);
    }
  }
  wl_surface_set_buffer_scale(state_->surface, scale);
  wl_surface_attach(state_->surface, b->buffer, 0, 0);
  wl_surface_damage(state_->surface, 0, 0, frame.width(), frame.height());
  wl_surface_commit(state_->surface);
  b->busy = true;
  wl_display_flush(state_->display);
  return true;
}

void SetFixedSize(void* xdgToplevel, int width, int height) {
  auto* toplevel = static_cast<xdg_toplevel*>(xdgToplevel);
  if (!toplevel || width <= 0 || height <= 0) return;
  xdg_toplevel_set_min_size(toplevel, width, height);
  xdg_toplevel_set_max_size(toplevel, width, height);
}

}  // namespace pax::sdl::wayland
