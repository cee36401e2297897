// The platform of the Linux build: one SDL window whose surface shows the frame image, SDL's
// event queue read one poll at a time, the pointer read from the X server, and the game-over
// question in a box of the game's own, a second SDL window.

#include <SDL.h>
#include <SDL_syswm.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <thread>

#include "first_frame.h"
#include "icon_file.h"
#include "input_model.h"
#include "platform/fonts/freetype_text_engine.h"
#include "platform/platform.h"
#include "platform/seeded_random.h"
#include "scaled_image.h"
#include "wayland_surface.h"
#include "window_layout.h"
#include "x11_window.h"
#include "yes_no_box.h"

namespace pax {

namespace {

constexpr int MAIN_WINDOW_NUMBER = 1;
constexpr int PICTURE_CONTROL = 0;

// How long the window manager may take to say what frame the window will get before the window
// is shown where it is. The wait is only for a window manager that has said it answers; those
// answer within a few milliseconds.
constexpr int FRAME_WAIT_MS = 300;

const std::uint8_t ICON_FILE[] = {
#include "paxmorella_ico.inc"
};

// Without a window there is no game to play: say so, instead of running where no one sees it.
[[noreturn]] void CannotOpenWindow(const char* reason) {
  std::fprintf(stderr, "paxmorella: cannot open a window: %s\n", reason);
  SDL_Quit();
  std::exit(1);
}

bool IsSet(const char* variable) {
  const char* value = std::getenv(variable);
  return value && *value;
}

// The drivers SDL may try: those of the display servers the session names. Left to itself SDL
// would go on to drivers that show nothing (offscreen, dummy) or take over the console, and
// the game would run where no one sees it. A test that wants one sets SDL_VIDEODRIVER.
const char* VideoDrivers() {
  const bool x11 = IsSet("DISPLAY");
  const bool wayland = IsSet("WAYLAND_DISPLAY");
  if (x11 && wayland) return "x11,wayland";
  if (x11) return "x11";
  if (wayland) return "wayland";
  return nullptr;
}

sdl::InputEvent::Button ButtonOf(Uint8 button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return sdl::InputEvent::Button::Left;
    case SDL_BUTTON_MIDDLE:
      return sdl::InputEvent::Button::Middle;
    case SDL_BUTTON_RIGHT:
      return sdl::InputEvent::Button::Right;
    default:
      return sdl::InputEvent::Button::Other;
  }
}

// `scale` is the number of device pixels per pixel of the frame across and down.
sdl::InputEvent Translate(const SDL_Event& e, int scale) {
  using Kind = sdl::InputEvent::Kind;
  sdl::InputEvent in;
  switch (e.type) {
    case SDL_QUIT:
      in.kind = Kind::WindowClose;
      break;
    case SDL_WINDOWEVENT:
      switch (e.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
          in.kind = Kind::WindowClose;
          break;
        case SDL_WINDOWEVENT_MOVED:
          in.kind = Kind::WindowMoved;
          break;
        // SDL_WINDOWEVENT_RESIZED always comes with SIZE_CHANGED: one size event for both.
        case SDL_WINDOWEVENT_SIZE_CHANGED:
        case SDL_WINDOWEVENT_MINIMIZED:
        case SDL_WINDOWEVENT_MAXIMIZED:
        case SDL_WINDOWEVENT_RESTORED:
          in.kind = Kind::WindowSized;
          break;
        case SDL_WINDOWEVENT_EXPOSED:
          in.kind = Kind::WindowExposed;
          break;
        case SDL_WINDOWEVENT_FOCUS_GAINED:
        case SDL_WINDOWEVENT_FOCUS_LOST:
          in.kind = Kind::WindowFocus;
          break;
        default:
          in.kind = Kind::WindowOther;
          break;
      }
      break;
    case SDL_MOUSEMOTION:
      in.kind = Kind::Motion;
      in.x = sdl::ToFrame(e.motion.x, scale);
      in.y = sdl::ToFrame(e.motion.y, scale);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      in.kind = e.type == SDL_MOUSEBUTTONDOWN ? Kind::ButtonDown : Kind::ButtonUp;
      in.button = ButtonOf(e.button.button);
      in.clicks = e.button.clicks;
      in.x = sdl::ToFrame(e.button.x, scale);
      in.y = sdl::ToFrame(e.button.y, scale);
      break;
    case SDL_MOUSEWHEEL:
      in.kind = Kind::Wheel;
      break;
    case SDL_KEYDOWN:
      in.kind = Kind::KeyDown;
      in.closeKey =
          e.key.keysym.sym == SDLK_F4 && (e.key.keysym.mod & KMOD_ALT) != 0 && e.key.repeat == 0;
      break;
    case SDL_KEYUP:
      in.kind = Kind::KeyUp;
      break;
    default:
      // Display, application and locale events share the window events' range.
      in.kind = e.type < SDL_KEYDOWN ? Kind::WindowOther : Kind::Other;
      break;
  }
  return in;
}

// The keys the game-over box answers to.
sdl::BoxKey BoxKeyOf(const SDL_KeyboardEvent& key) {
  switch (key.keysym.sym) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return sdl::BoxKey::Return;
    case SDLK_SPACE:
      return sdl::BoxKey::Space;
    case SDLK_TAB:
      return (key.keysym.mod & KMOD_SHIFT) != 0 ? sdl::BoxKey::BackTab : sdl::BoxKey::Tab;
    case SDLK_LEFT:
      return sdl::BoxKey::Left;
    case SDLK_RIGHT:
      return sdl::BoxKey::Right;
    case SDLK_UP:
      return sdl::BoxKey::Up;
    case SDLK_DOWN:
      return sdl::BoxKey::Down;
    case SDLK_y:
      return sdl::BoxKey::Y;
    case SDLK_n:
      return sdl::BoxKey::N;
    case SDLK_ESCAPE:
      return sdl::BoxKey::Escape;
    default:
      return sdl::BoxKey::Other;
  }
}

// An SDL surface over an image's own pixels, which the image must outlive.
SDL_Surface* WrapImage(const Image& image) {
  return SDL_CreateRGBSurfaceWithFormatFrom(const_cast<std::uint8_t*>(image.row(0)), image.width(),
                                            image.height(), 24, image.stride(),
                                            SDL_PIXELFORMAT_BGR24);
}

sdl::x11::Window X11WindowOf(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return {};
  return sdl::x11::Window{info.info.x11.display, info.info.x11.window};
}

struct WindowDeleter {
  void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
};

// Drops the keyboard and mouse input waiting for the main window.
void DropQueuedInput() {
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEWHEEL);
}

struct WaylandSurface {
  void* display = nullptr;
  void* surface = nullptr;
  void* toplevel = nullptr;  // once the window has been shown
};

WaylandSurface WaylandSurfaceOf(SDL_Window* window) {
  SDL_SysWMinfo info;
  SDL_VERSION(&info.version);
  if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WAYLAND) return {};
  return {info.info.wl.display, info.info.wl.surface, info.info.wl.xdg_toplevel};
}

// How one of the game's windows shows its pictures, each pixel of a picture as a block of
// `scale` x `scale` pixels of the screen: through SDL's window surface on X11, through buffers
// of the game's own on the window's wl_surface on Wayland, where SDL has no window surface.
class WindowPictures {
 public:
  WindowPictures() = default;
  // For `window`, whose size must be final by now on X11. False when it can show no pictures.
  bool open(SDL_Window* window) {
    window_ = window;
    const WaylandSurface wl = WaylandSurfaceOf(window);
    if (wl.surface) {
      wayland_ = sdl::wayland::SurfacePictures::Make(wl.display, wl.surface);
      if (!wayland_) SDL_SetError("the Wayland compositor offers no shared memory");
      return wayland_ != nullptr;
    }
    return SDL_GetWindowSurface(window) != nullptr;
  }
  ~WindowPictures() { close(); }
  void close() {
    SDL_FreeSurface(source_);
    source_ = nullptr;
    wayland_.reset();
    scaled_ = {};
    window_ = nullptr;
  }
  void setScale(int scale) { scale_ = scale; }
  // The largest scale of the Wayland compositor's outputs; 1 elsewhere.
  int outputScale() const { return wayland_ ? wayland_->outputScale() : 1; }
  WindowPictures(const WindowPictures&) = delete;
  WindowPictures& operator=(const WindowPictures&) = delete;

  // `picture` in the frame's pixels, as it is to be shown at this window's scale: what the X11
  // server is handed as the background before the window is first shown.
  const Image& scaled(const Image& picture) {
    if (scale_ == 1) return picture;
    sdl::ReplicatePixels(picture, scale_, scaled_);
    return scaled_;
  }

  // Called once the window has been shown, before its first picture. SDL tells the compositor
  // nothing of the window's fixed size on Wayland; a tiling compositor floats a window whose
  // least and largest sizes are the same instead of stretching it into a tile.
  void showing() {
    if (!wayland_) return;
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    sdl::wayland::SetFixedSize(WaylandSurfaceOf(window_).toplevel, width, height);
  }

  // SDL_UpdateWindowSurface returns once the X server has the picture.
  void present(const Image& picture) {
    if (wayland_) {
      wayland_->present(picture, scale_);
      return;
    }
    const Image& shown = scaled(picture);
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (!target || !wrap(shown)) return;
    SDL_BlitSurface(source_, nullptr, target, nullptr);
    SDL_UpdateWindowSurface(window_);
  }

 private:
  // An SDL surface over the pixels of `image`, remade only when they move.
  bool wrap(const Image& image) {
    auto* bits = const_cast<std::uint8_t*>(image.row(0));
    if (source_ && source_->pixels == bits && source_->w == image.width() &&
        source_->h == image.height() && source_->pitch == image.stride()) {
      return true;
    }
    SDL_FreeSurface(source_);
    source_ = WrapImage(image);
    return source_ != nullptr;
  }

  SDL_Window* window_ = nullptr;
  int scale_ = 1;
  Image scaled_;
  SDL_Surface* source_ = nullptr;
  std::unique_ptr<sdl::wayland::SurfacePictures> wayland_;
};

class SdlPlatform final : public Platform, private sdl::InputSource {
 public:
  SdlPlatform() = default;
  ~SdlPlatform() override { shutdownWindowLayer(); }
  SdlPlatform(const SdlPlatform&) = delete;
  SdlPlatform& operator=(const SdlPlatform&) = delete;

  void initWindowLayer() override {
    // A close request is the game's to answer; SDL must not end anything by itself.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    // Ctrl+C and kill end the process the ordinary way rather than becoming close requests.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    // Without this SDL routes the window surface through OpenGL: in software that is about
    // 100 MB more memory and five times the time per frame.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // SDL's 32-pixel default takes two clicks a whole tile apart for a double click.
    SDL_SetHint(SDL_HINT_MOUSE_DOUBLE_CLICK_RADIUS, "2");
    // The click that brings the window to the front counts, as it does on Windows; SDL would
    // drop a click that comes within 10 ms of the focus, which at one pump per frame is most
    // clicks on an inactive window, the first of a double click included.
    SDL_SetHint(SDL_HINT_MOUSE_FOCUS_CLICKTHROUGH, "1");
    // A small window of a desktop game: no screen saver inhibition, no compositor bypass.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");

    if (!IsSet("SDL_VIDEODRIVER")) {
      const char* drivers = VideoDrivers();
      if (!drivers) CannotOpenWindow("no display (neither DISPLAY nor WAYLAND_DISPLAY is set)");
      SDL_SetHint(SDL_HINT_VIDEODRIVER, drivers);
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
      const char* display = std::getenv("DISPLAY");
      const std::string reason = std::string(SDL_GetError()) +
                                 (display ? std::string(" (DISPLAY is ") + display + ")" : "");
      CannotOpenWindow(reason.c_str());
    }
    if (std::string_view(SDL_GetCurrentVideoDriver()) == "x11") {
      sdl::x11::ExitWhenTheDisplayIsLost();
      sdl::x11::ForgiveEventsToGoneWindows();
    }
    // The game reads no text; this keeps input methods out of the way.
    SDL_StopTextInput();
  }

  std::intptr_t createTopWindow(int window, int x, int y, int innerWidth, int innerHeight,
                                std::string_view title, std::uint32_t flags) override {
    if (window != MAIN_WINDOW_NUMBER || window_) return 0;
    const bool centre = (flags & CENTER_ON_SCREEN) != 0;
    // Without centring, (x, y) is where the frame goes, which is where window managers put
    // a frame for a position that a program asks for.
    constexpr int CENTRED = static_cast<int>(SDL_WINDOWPOS_CENTERED_DISPLAY(0));
    window_ = SDL_CreateWindow(std::string(title).c_str(), centre ? CENTRED : x,
                               centre ? CENTRED : y, innerWidth, innerHeight, SDL_WINDOW_HIDDEN);
    if (!window_) CannotOpenWindow(SDL_GetError());
    model_ = sdl::InputModel(innerWidth, innerHeight);

    x11_ = X11WindowOf(window_);
    // The window stays hidden until it has its first picture (present), and is sized and
    // placed before that, so that it appears once, where it stays, showing the board. On X11
    // the window's size is in the screen's pixels and the pointer too; on Wayland both are in
    // the compositor's logical pixels, which at the output's scale are the frame's.
    if (WaylandSurfaceOf(window_).surface) {
      if (!pictures_.open(window_)) CannotOpenWindow(SDL_GetError());
      scale_ = pictures_.outputScale();
      inputScale_ = 1;
    } else {
      scale_ = desktopScale(innerWidth, innerHeight);
      inputScale_ = scale_;
      if (scale_ > 1) SDL_SetWindowSize(window_, innerWidth * scale_, innerHeight * scale_);
      if (!pictures_.open(window_)) CannotOpenWindow(SDL_GetError());
    }
    pictures_.setScale(scale_);
    const std::vector<sdl::IconImage> icons = sdl::DecodeIconFile(ICON_FILE);
    if (x11_.display) {
      sdl::x11::PrepareMainWindow(x11_, icons);
    } else {
      setSdlIcon(icons);
    }
    if (centre) centreBeforeShowing(innerWidth * scale_, innerHeight * scale_);
    return x11_.display ? static_cast<std::intptr_t>(x11_.id)
                        : reinterpret_cast<std::intptr_t>(window_);
  }

  std::intptr_t createPictureControl(int control, int, int, int, int, const Image* image) override {
    if (!window_ || control != PICTURE_CONTROL || controlOpen_) return 0;
    controlOpen_ = true;
    // The game makes the control before it draws its first frame, so the image is blank yet;
    // the window appears with the first frame the game draws (setPictureImage).
    picture_ = image;
    return 1;
  }

  void setPictureImage(int control, const Image* image) override {
    if (!controlOpen_ || control != PICTURE_CONTROL) return;
    picture_ = image;
    present();
  }

  void shutdownWindowLayer() override {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    pictures_.close();
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
    x11_ = {};
    shown_ = false;
    controlOpen_ = false;
    picture_ = nullptr;
    SDL_Quit();
  }

  int pollEvent() override {
    SDL_PumpEvents();
    return model_.poll(*this);
  }
  int eventAction() override { return model_.action(); }
  int eventControl() override { return model_.control(); }

  int pointerX(int window) override {
    const std::optional<sdl::Point> p = pointerInside(window);
    return p ? p->x : -1;
  }
  int pointerY(int window) override {
    const std::optional<sdl::Point> p = pointerInside(window);
    return p ? p->y : -1;
  }

  int askYesNo(std::string_view title, std::string_view text, int) override {
    // Input aimed at the board before the box, or while it was up, is not for the next game.
    DropQueuedInput();
    model_.dropInput();
    const int answer = runBox(title, text);
    DropQueuedInput();
    model_.dropInput();
    return answer;
  }

  void sleepMs(int milliseconds) override {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }

  std::uint32_t nextRandom() override { return random_.next(); }

  TextEngine& textEngine() override {
    if (!text_) text_ = makeTextEngine();
    return *text_;
  }

  // The font engine goes first: nothing draws text after the game's way out has freed its
  // font, and its fontconfig state would otherwise count as lost at exit.
  [[noreturn]] void exitProcess(int code) override {
    text_.reset();
    std::exit(code);
  }

 private:
  // InputSource, for the model's poll. SDL's queue has been pumped just before.
  std::optional<sdl::InputEvent> takeWindowEvent() override {
    SDL_Event e;
    if (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_QUIT, SDL_SYSWMEVENT) <= 0) return std::nullopt;
    // What is left of the game-over box's window after it closed is not the main window's.
    if (e.type == SDL_WINDOWEVENT && e.window.windowID != SDL_GetWindowID(window_)) {
      return sdl::InputEvent{sdl::InputEvent::Kind::WindowOther};
    }
    const sdl::InputEvent in = Translate(e, inputScale_);
    // The window procedure's paint, at the time the system asks for it.
    if (in.kind == sdl::InputEvent::Kind::WindowExposed) present();
    return in;
  }
  std::optional<sdl::InputEvent> take() override {
    SDL_Event e;
    if (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) <= 0) {
      return std::nullopt;
    }
    return Translate(e, inputScale_);
  }
  std::optional<sdl::InputEvent> peek() override {
    SDL_Event e;
    if (SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) <= 0) {
      return std::nullopt;
    }
    return Translate(e, inputScale_);
  }

  // The game-over box: a second window, modal for the window manager, whose own loop runs
  // until it is answered. The loop keeps the main window alive meanwhile: pumping SDL's events
  // answers the window manager's pings, and the main window's picture is put back from the
  // frame image whenever the system asks; its input and close requests are dropped, since the
  // main window takes none while the box is up. 0 when the box cannot be shown.
  int runBox(std::string_view title, std::string_view text) {
    if (!window_) return 0;
    if (!shown_) show(nullptr);
    TextEngine& engine = textEngine();
    if (!boxFont_) boxFont_ = engine.createFont(sdl::BOX_FONT_FACE, sdl::BOX_FONT_POINTS);
    if (!boxFont_) return 0;
    // Laid out and drawn in the frame's pixels, shown at the main window's scale.
    sdl::YesNoBox box(sdl::LayOutYesNoBox(engine, boxFont_, text, sdl::BASE_DPI));
    const int width = box.layout().width * inputScale_;
    const int height = box.layout().height * inputScale_;
    Image picture(box.layout().width, box.layout().height);
    const sdl::Point at = boxPosition(width, height);
    const std::unique_ptr<SDL_Window, WindowDeleter> boxWindow(
        SDL_CreateWindow(std::string(title).c_str(), at.x, at.y, width, height, SDL_WINDOW_HIDDEN));
    if (!boxWindow) return 0;
    if (x11_.display) {
      sdl::x11::PrepareDialog(X11WindowOf(boxWindow.get()), x11_);
    } else {
      // Elsewhere SDL's own notion of a dialog: a window kept with its parent.
      SDL_SetWindowModalFor(boxWindow.get(), window_);
    }
    SDL_ShowWindow(boxWindow.get());
    SDL_RaiseWindow(boxWindow.get());
    WindowPictures boxPictures;
    if (!boxPictures.open(boxWindow.get())) return 0;
    boxPictures.setScale(scale_);
    boxPictures.showing();

    const Uint32 mainId = SDL_GetWindowID(window_);
    const Uint32 boxId = SDL_GetWindowID(boxWindow.get());
    bool redraw = true;
    while (!box.result()) {
      if (redraw) {
        sdl::DrawYesNoBox(picture, engine, boxFont_, box);
        boxPictures.present(picture);
        redraw = false;
      }
      SDL_Event e;
      // Bounded, so that a wait never outlives a lost wake-up.
      if (!SDL_WaitEventTimeout(&e, 250)) continue;
      do {
        redraw |= handleBoxEvent(box, e, mainId, boxId);
      } while (!box.result() && SDL_PollEvent(&e));
    }
    return box.result();
  }

  // One event while the box is up; whether the box's picture has to be drawn again.
  bool handleBoxEvent(sdl::YesNoBox& box, const SDL_Event& e, Uint32 mainId, Uint32 boxId) {
    switch (e.type) {
      case SDL_WINDOWEVENT:
        if (e.window.windowID == mainId && e.window.event == SDL_WINDOWEVENT_EXPOSED) present();
        if (e.window.windowID != boxId) return false;
        if (e.window.event == SDL_WINDOWEVENT_CLOSE) box.close();
        return e.window.event == SDL_WINDOWEVENT_EXPOSED;
      // The main window takes no keys while the box is up, so every key the game's windows
      // get is the box's, whichever of them SDL saw the keyboard focus in last.
      case SDL_KEYDOWN:
        if (e.key.keysym.sym == SDLK_F4 && (e.key.keysym.mod & KMOD_ALT) != 0) {
          box.close();
          return false;
        }
        return box.key(BoxKeyOf(e.key));
      case SDL_MOUSEBUTTONDOWN:
        if (e.button.windowID != boxId || e.button.button != SDL_BUTTON_LEFT) return false;
        return box.leftDown(toFrame(e.button.x, e.button.y));
      case SDL_MOUSEBUTTONUP:
        if (e.button.windowID != boxId || e.button.button != SDL_BUTTON_LEFT) return false;
        return box.leftUp(toFrame(e.button.x, e.button.y));
      case SDL_MOUSEMOTION:
        if (e.motion.windowID != boxId) return false;
        return box.pointerMoved(toFrame(e.motion.x, e.motion.y));
      default:
        return false;
    }
  }

  // Where the box's window goes: its client area centred over the main window's, and kept on
  // the main window's screen. Window managers put the frame of a window at the position it
  // asks for, so the position is shifted by the frame the main window has, which the box's
  // will match.
  sdl::Point boxPosition(int width, int height) {
    int x = 0;
    int y = 0;
    int mainWidth = 0;
    int mainHeight = 0;
    int top = 0;
    int left = 0;
    SDL_GetWindowPosition(window_, &x, &y);
    SDL_GetWindowSize(window_, &mainWidth, &mainHeight);
    if (SDL_GetWindowBordersSize(window_, &top, &left, nullptr, nullptr) != 0) top = left = 0;
    sdl::Point at{x + (mainWidth - width) / 2 - left, y + (mainHeight - height) / 2 - top};
    SDL_Rect screen;
    const int display = SDL_GetWindowDisplayIndex(window_);
    if (SDL_GetDisplayBounds(display < 0 ? 0 : display, &screen) == 0) {
      at.x = std::max(screen.x, std::min(at.x, screen.x + screen.w - width));
      at.y = std::max(screen.y, std::min(at.y, screen.y + screen.h - height));
    }
    return at;
  }

  sdl::Point toFrame(int x, int y) const {
    return {sdl::ToFrame(x, inputScale_), sdl::ToFrame(y, inputScale_)};
  }

  // The factor the desktop asks for, as far as the window still fits on its screen at it.
  int desktopScale(int width, int height) {
    const int wanted =
        x11_.display ? sdl::DesktopScale(std::getenv("GDK_SCALE"), sdl::x11::Resources(x11_)) : 1;
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return 1;
    return sdl::FittingScale(wanted, width, height, usable.w, usable.h);
  }

  // SDL_WINDOWPOS_CENTERED centres the client area, and the window manager then hangs the
  // frame off that position, so the whole window would end up right of and below the middle.
  // The window manager says what frame it will put around the window before it is shown, and
  // the window goes where that frame is centred. A window manager that does not say so beforehand
  // gets the window moved once its frame is known (centreAfterShowing); without a window manager
  // there is no frame and the client area is centred already.
  void centreBeforeShowing(int width, int height) {
    if (!x11_.display || !sdl::x11::WindowManagerRunning(x11_)) return;
    const std::optional<sdl::FrameExtents> frame =
        sdl::x11::FrameExtentsBeforeShowing(x11_, FRAME_WAIT_MS);
    SDL_Rect screen;
    if (!frame || SDL_GetDisplayBounds(0, &screen) != 0) {
      centreAfterShowing_ = true;
      return;
    }
    const sdl::Point at =
        sdl::CentredClientPosition({screen.x, screen.y, screen.w, screen.h}, width, height, *frame);
    sdl::x11::PlaceBeforeShowing(x11_, {at.x - frame->left, at.y - frame->top});
  }

  void centreAfterShowing() {
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(FRAME_WAIT_MS);
    do {
      SDL_PumpEvents();
      int top = 0;
      int left = 0;
      int bottom = 0;
      int right = 0;
      if (SDL_GetWindowBordersSize(window_, &top, &left, &bottom, &right) != 0) return;
      if (top || left || bottom || right) {
        SDL_Rect screen;
        if (SDL_GetDisplayBounds(0, &screen) != 0) return;
        const sdl::Point at = sdl::CentredClientPosition({screen.x, screen.y, screen.w, screen.h},
                                                         width, height, {left, right, top, bottom});
        SDL_SetWindowPosition(window_, at.x, at.y);
        return;
      }
      SDL_Delay(1);
    } while (std::chrono::steady_clock::now() < deadline);
  }

  // Shows the window for the first time, on X11 with `first` (the window's first picture, in
  // device pixels) as what the server fills it with at once, before the program draws.
  void show(const Image* first) {
    if (x11_.display && first) {
      sdl::x11::ShowsPicture(x11_, first);
      backgroundPicture_ = true;
    }
    SDL_ShowWindow(window_);
    pictures_.showing();
    shown_ = true;
    if (centreAfterShowing_) centreAfterShowing();
  }

  void setSdlIcon(const std::vector<sdl::IconImage>& icons) {
    const sdl::IconImage* largest = nullptr;
    for (const sdl::IconImage& image : icons) {
      if (!largest || image.size > largest->size) largest = &image;
    }
    if (!largest) return;
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
        const_cast<std::uint32_t*>(largest->pixels.data()), largest->size, largest->size, 32,
        4 * largest->size, SDL_PIXELFORMAT_ARGB8888);
    if (!surface) return;
    SDL_SetWindowIcon(window_, surface);
    SDL_FreeSurface(surface);
  }

  // Shows the picture control's image: called by setPictureImage and whenever the window needs
  // its picture again. The first call shows the window, already holding the picture (on Wayland
  // a window appears with its first buffer anyway).
  void present() {
    if (!window_ || !picture_ || picture_->empty()) return;
    const bool first = !shown_;
    if (first) show(x11_.display ? &pictures_.scaled(*picture_) : nullptr);
    pictures_.present(*picture_);
    // Once the window is on screen the picture is the program's to redraw, and the server's copy
    // would only go stale. Not before: the window manager may put it on screen only after the
    // first pictures, which an unviewable window drops, and then the background is what shows.
    if (backgroundPicture_ && sdl::x11::Viewable(x11_)) {
      sdl::x11::ShowsPicture(x11_, nullptr);
      backgroundPicture_ = false;
    }
    if (!presented_) sdl::ReportFirstFrame();
    presented_ = true;
  }

  std::optional<sdl::Point> pointerInside(int window) {
    if (window != MAIN_WINDOW_NUMBER || !window_) return std::nullopt;
    std::optional<sdl::Point> p;
    if (x11_.display) {
      // SDL's own idea of the pointer changes only when events are pumped, and its global
      // state misses pointer warps; the X server knows where the pointer is now.
      p = sdl::x11::PointerInWindow(x11_);
    } else if (SDL_GetMouseFocus() == window_) {
      p.emplace();
      SDL_GetMouseState(&p->x, &p->y);
    }
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window_, &width, &height);
    if (!p || p->x < 0 || p->y < 0 || p->x >= width || p->y >= height) return std::nullopt;
    return toFrame(p->x, p->y);
  }

  // Fonts are made for 96 dpi in the frame's pixels whatever the screen's density, which is what
  // the status strip is laid out for; a dense screen gets the whole frame scaled instead.
  static std::unique_ptr<TextEngine> makeTextEngine() {
    return std::make_unique<FreeTypeTextEngine>(sdl::BASE_DPI);
  }

  SDL_Window* window_ = nullptr;
  sdl::x11::Window x11_;
  bool controlOpen_ = false;
  const Image* picture_ = nullptr;
  bool presented_ = false;
  bool shown_ = false;               // the main window has been shown
  bool backgroundPicture_ = false;   // the X server fills it with its first picture
  bool centreAfterShowing_ = false;  // its frame was not known before it was shown
  int scale_ = 1;                    // screen pixels per frame pixel, across and down
  int inputScale_ = 1;               // window pixels per frame pixel: scale_ on X11, 1 on Wayland
  WindowPictures pictures_;
  sdl::InputModel model_{0, 0};
  std::unique_ptr<TextEngine> text_;
  FontHandle boxFont_ = 0;  // the game-over box's, made when the box first opens
  SeededRandom random_{[] {
    std::random_device device;
    std::vector<std::uint32_t> words;
    for (int i = 0; i < 8; ++i) words.push_back(device());
    return words;
  }};
};

}  // namespace

std::unique_ptr<Platform> CreatePlatform() {
  return std::make_unique<SdlPlatform>();
}

}  // namespace pax
