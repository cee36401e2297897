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
#include "window_layout.h"
#include "x11_window.h"
#include "yes_no_box.h"

namespace pax {

namespace {

constexpr int MAIN_WINDOW_NUMBER = 1;
constexpr int PICTURE_CONTROL = 0;

// How long the window may take to get its frame from the window manager before it is left
// where it is. Under a window manager that draws no frame the wait runs out every time, so it
// stays short; with a frame the extents come within a few milliseconds of showing.
constexpr auto FRAME_WAIT = std::chrono::milliseconds(300);

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

sdl::InputEvent Translate(const SDL_Event& e) {
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
      in.x = e.motion.x;
      in.y = e.motion.y;
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      in.kind = e.type == SDL_MOUSEBUTTONDOWN ? Kind::ButtonDown : Kind::ButtonUp;
      in.button = ButtonOf(e.button.button);
      in.clicks = e.button.clicks;
      in.x = e.button.x;
      in.y = e.button.y;
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
struct SurfaceDeleter {
  void operator()(SDL_Surface* s) const { SDL_FreeSurface(s); }
};

// Drops the keyboard and mouse input waiting for the main window.
void DropQueuedInput() {
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEWHEEL);
}

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
    if (std::string_view(SDL_GetCurrentVideoDriver()) == "x11")
      sdl::x11::ExitWhenTheDisplayIsLost();
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
    const std::vector<sdl::IconImage> icons = sdl::DecodeIconFile(ICON_FILE);
    if (x11_.display) {
      sdl::x11::PrepareMainWindow(x11_, icons);
    } else {
      setSdlIcon(icons);
    }

    SDL_ShowWindow(window_);
    if (centre) centreOuterWindow(innerWidth, innerHeight);
    if (!SDL_GetWindowSurface(window_)) CannotOpenWindow(SDL_GetError());
    return x11_.display ? static_cast<std::intptr_t>(x11_.id)
                        : reinterpret_cast<std::intptr_t>(window_);
  }

  std::intptr_t createPictureControl(int control, int, int, int, int, const Image* image) override {
    if (!window_ || control != PICTURE_CONTROL || controlOpen_) return 0;
    controlOpen_ = true;
    setPictureImage(control, image);
    return 1;
  }

  void setPictureImage(int control, const Image* image) override {
    if (!controlOpen_ || control != PICTURE_CONTROL) return;
    picture_ = image;
    present();
  }

  void shutdownWindowLayer() override {
    if (!SDL_WasInit(SDL_INIT_VIDEO)) return;
    SDL_FreeSurface(source_);
    source_ = nullptr;
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
    x11_ = {};
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

  std::uint32_t nextRandom() override {
    if (!seeded_) {
      std::random_device device;
      std::seed_seq seed{device(), device(), device(), device(),
                         device(), device(), device(), device()};
      random_.seed(seed);
      seeded_ = true;
    }
    return static_cast<std::uint32_t>(random_());
  }

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
    const sdl::InputEvent in = Translate(e);
    // The window procedure's paint, at the time the system asks for it.
    if (in.kind == sdl::InputEvent::Kind::WindowExposed) present();
    return in;
  }
  std::optional<sdl::InputEvent> take() override {
    SDL_Event e;
    if (SDL_PeepEvents(&e, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) <= 0) {
      return std::nullopt;
    }
    return Translate(e);
  }
  std::optional<sdl::InputEvent> peek() override {
    SDL_Event e;
    if (SDL_PeepEvents(&e, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) <= 0) {
      return std::nullopt;
    }
    return Translate(e);
  }

  // The game-over box: a second window, modal for the window manager, whose own loop runs
  // until it is answered. The loop keeps the main window alive meanwhile: pumping SDL's events
  // answers the window manager's pings, and the main window's picture is put back from the
  // frame image whenever the system asks; its input and close requests are dropped, since the
  // main window takes none while the box is up. 0 when the box cannot be shown.
  int runBox(std::string_view title, std::string_view text) {
    if (!window_) return 0;
    TextEngine& engine = textEngine();
    if (!boxFont_) boxFont_ = engine.createFont(sdl::BOX_FONT_FACE, sdl::BOX_FONT_POINTS);
    if (!boxFont_) return 0;
    sdl::YesNoBox box(sdl::LayOutYesNoBox(engine, boxFont_, text, dpi_));
    const int width = box.layout().width;
    const int height = box.layout().height;
    Image picture(width, height);
    const std::unique_ptr<SDL_Surface, SurfaceDeleter> source(WrapImage(picture));
    const sdl::Point at = boxPosition(width, height);
    const std::unique_ptr<SDL_Window, WindowDeleter> boxWindow(
        SDL_CreateWindow(std::string(title).c_str(), at.x, at.y, width, height, SDL_WINDOW_HIDDEN));
    if (!source || !boxWindow) return 0;
    if (x11_.display) {
      sdl::x11::PrepareDialog(X11WindowOf(boxWindow.get()), x11_);
    } else {
      // Elsewhere SDL's own notion of a dialog: a window kept with its parent.
      SDL_SetWindowModalFor(boxWindow.get(), window_);
    }
    SDL_ShowWindow(boxWindow.get());
    SDL_RaiseWindow(boxWindow.get());
    if (!SDL_GetWindowSurface(boxWindow.get())) return 0;

    const Uint32 mainId = SDL_GetWindowID(window_);
    const Uint32 boxId = SDL_GetWindowID(boxWindow.get());
    bool redraw = true;
    while (!box.result()) {
      if (redraw) {
        sdl::DrawYesNoBox(picture, engine, boxFont_, box);
        SDL_Surface* target = SDL_GetWindowSurface(boxWindow.get());
        if (target) SDL_BlitSurface(source.get(), nullptr, target, nullptr);
        SDL_UpdateWindowSurface(boxWindow.get());
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
        return box.leftDown({e.button.x, e.button.y});
      case SDL_MOUSEBUTTONUP:
        if (e.button.windowID != boxId || e.button.button != SDL_BUTTON_LEFT) return false;
        return box.leftUp({e.button.x, e.button.y});
      case SDL_MOUSEMOTION:
        if (e.motion.windowID != boxId) return false;
        return box.pointerMoved({e.motion.x, e.motion.y});
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

  // SDL_WINDOWPOS_CENTERED centres the client area, and the window manager then hangs the
  // frame off that position, so the whole window ends up right of and below the middle. Once
  // the frame's extents are known, the window moves so that the frame is centred instead.
  void centreOuterWindow(int width, int height) {
    if (!x11_.display || !sdl::x11::WindowManagerRunning(x11_)) return;
    const auto deadline = std::chrono::steady_clock::now() + FRAME_WAIT;
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
  // its picture again. SDL_UpdateWindowSurface returns once the X server has the picture.
  void present() {
    if (!window_ || !picture_ || picture_->empty()) return;
    SDL_Surface* target = SDL_GetWindowSurface(window_);
    if (!target || !wrapPicture()) return;
    SDL_BlitSurface(source_, nullptr, target, nullptr);
    SDL_UpdateWindowSurface(window_);
    if (!presented_) sdl::ReportFirstFrame();
    presented_ = true;
  }

  // An SDL surface over the picture's own pixels, remade only when the picture changes.
  bool wrapPicture() {
    auto* bits = const_cast<std::uint8_t*>(picture_->row(0));
    if (source_ && source_->pixels == bits && source_->w == picture_->width() &&
        source_->h == picture_->height() && source_->pitch == picture_->stride()) {
      return true;
    }
    SDL_FreeSurface(source_);
    source_ = WrapImage(*picture_);
    return source_ != nullptr;
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
    return p;
  }

  std::unique_ptr<TextEngine> makeTextEngine() {
    float vertical = 0.0f;
    const bool known =
        SDL_WasInit(SDL_INIT_VIDEO) != 0 && SDL_GetDisplayDPI(0, nullptr, nullptr, &vertical) == 0;
    dpi_ = sdl::UsableDpi(known, vertical);
    return std::make_unique<FreeTypeTextEngine>(dpi_);
  }

  SDL_Window* window_ = nullptr;
  sdl::x11::Window x11_;
  bool controlOpen_ = false;
  const Image* picture_ = nullptr;
  bool presented_ = false;
  SDL_Surface* source_ = nullptr;
  sdl::InputModel model_{0, 0};
  std::unique_ptr<TextEngine> text_;
  int dpi_ = sdl::DEFAULT_DPI;  // what the font engine was made for
  FontHandle boxFont_ = 0;      // the game-over box's, made when the box first opens
  std::mt19937 random_;
  bool seeded_ = false;
};

}  // namespace

std::unique_ptr<Platform> CreatePlatform() {
  return std::make_unique<SdlPlatform>();
}

}  // namespace pax
