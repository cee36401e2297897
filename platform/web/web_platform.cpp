// The platform of the browser build: the board view is a <canvas> of the page, presses on it
// reach the game one per poll through the input model of the Linux build, the game-over question
// is an HTML dialog, and the frame delay hands the thread back to the browser (Asyncify), so the
// frame loop runs as it is and the page never freezes. The page's half is page.js (`paxPage`).

#include <emscripten.h>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "canvas_text_engine.h"
#include "platform/platform.h"
#include "platform/sdl/input_model.h"
#include "platform/seeded_random.h"

namespace pax {

namespace {

constexpr int MAIN_WINDOW_NUMBER = 1;
constexpr int PICTURE_CONTROL = 0;

// clang-format off
EM_JS(void, PageOpen, (const char* title, int width, int height), {
  paxPage.open(UTF8ToString(title), width, height);
});

EM_JS(void, PagePresent, (const unsigned char* rgba, int width, int height), {
  paxPage.present(HEAPU8.subarray(rgba, rgba + 4 * width * height), width, height);
});

// 1 and [clicks, x, y] in `press` when a press is waiting, else 0.
EM_JS(int, PageTakePress, (int* press), {
  const next = paxPage.takePress();
  if (!next) return 0;
  HEAP32.set(next, press >> 2);
  return 1;
});

EM_JS(void, PageDropPresses, (), { paxPage.dropPresses(); });

// 1 and [x, y] in `at` when the pointer is over the picture, else 0.
EM_JS(int, PagePointer, (int* at), {
  const p = paxPage.pointerInPicture();
  if (!p) return 0;
  HEAP32.set(p, at >> 2);
  return 1;
});

// 1 for Yes, 0 for No. The answer comes back through a timer, where the runtime takes the
// game's way out (an ExitStatus thrown up through the resumed frame loop) as the end of the
// program it is, not as an error.
EM_JS(int, PageAskYesNo, (const char* title, const char* text), {
  return Asyncify.handleSleep((wakeUp) => {
    paxPage.askYesNo(UTF8ToString(title), UTF8ToString(text))
        .then((yes) => safeSetTimeout(() => wakeUp(yes ? 1 : 0), 0));
  });
});

EM_JS(void, PageClose, (), { paxPage.close(); });
EM_JS(void, PageEnded, (), { paxPage.ended(); });

EM_JS(void, PageRandomWords, (std::uint32_t* words, int count), {
  crypto.getRandomValues(HEAPU32.subarray(words >> 2, (words >> 2) + count));
});
// clang-format on

class WebPlatform final : public Platform, private sdl::InputSource {
 public:
  void initWindowLayer() override {}

  std::intptr_t createTopWindow(int window, int, int, int innerWidth, int innerHeight,
                                std::string_view title, std::uint32_t) override {
    if (window != MAIN_WINDOW_NUMBER || open_) return 0;
    open_ = true;
    model_ = sdl::InputModel(innerWidth, innerHeight);
    PageOpen(std::string(title).c_str(), innerWidth, innerHeight);
    return MAIN_WINDOW_NUMBER;
  }

  std::intptr_t createPictureControl(int control, int, int, int, int, const Image* image) override {
    if (!open_ || control != PICTURE_CONTROL || controlOpen_) return 0;
    controlOpen_ = true;
    setPictureImage(control, image);
    return 1;
  }

  // The canvas keeps what it was given last, so the picture stays on the page behind the
  // dialog and after the game has ended without being handed over again.
  void setPictureImage(int control, const Image* image) override {
    if (!controlOpen_ || control != PICTURE_CONTROL || !image || image->empty()) return;
    const int w = image->width();
    const int h = image->height();
    rgba_.resize(4 * static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
    std::uint8_t* out = rgba_.data();
    for (int y = 0; y < h; ++y) {
      const std::uint8_t* in = image->row(y);
      for (int x = 0; x < w; ++x, in += 3, out += 4) {
        out[0] = in[2];
        out[1] = in[1];
        out[2] = in[0];
        out[3] = 0xFF;
      }
    }
    PagePresent(rgba_.data(), w, h);
  }

  void shutdownWindowLayer() override {
    if (!open_) return;
    PageClose();
    open_ = false;
    controlOpen_ = false;
  }

  int pollEvent() override { return model_.poll(*this); }
  int eventAction() override { return model_.action(); }
  int eventControl() override { return model_.control(); }

  int pointerX(int window) override {
    const std::optional<std::array<int, 2>> p = pointerInside(window);
    return p ? (*p)[0] : -1;
  }
  int pointerY(int window) override {
    const std::optional<std::array<int, 2>> p = pointerInside(window);
    return p ? (*p)[1] : -1;
  }

  int askYesNo(std::string_view title, std::string_view text, int) override {
    // Presses aimed at the finished board, before the box or while it was up, are not for the
    // next game.
    PageDropPresses();
    model_.dropInput();
    const int answer =
        PageAskYesNo(std::string(title).c_str(), std::string(text).c_str()) ? IDYES : IDNO;
    PageDropPresses();
    model_.dropInput();
    return answer;
  }

  void sleepMs(int milliseconds) override { emscripten_sleep(static_cast<unsigned>(milliseconds)); }

  std::uint32_t nextRandom() override { return random_.next(); }

  TextEngine& textEngine() override { return text_; }

  // In a tab there is no process to end: the page says that the game has ended and offers a
  // new one, and the runtime stops here.
  [[noreturn]] void exitProcess(int code) override {
    PageEnded();
    emscripten_force_exit(code);
    __builtin_unreachable();
  }

 private:
  // InputSource, for the model's poll. The page queues only presses of the left button on the
  // board (with the browser's count of quick presses, or the page's count of taps): everything
  // else the game ignores costs it no frame.
  std::optional<sdl::InputEvent> takeWindowEvent() override { return std::nullopt; }
  std::optional<sdl::InputEvent> take() override {
    std::array<int, 3> press{};
    if (!PageTakePress(press.data())) return std::nullopt;
    sdl::InputEvent e;
    e.kind = sdl::InputEvent::Kind::ButtonDown;
    e.button = sdl::InputEvent::Button::Left;
    e.clicks = press[0];
    e.x = press[1];
    e.y = press[2];
    return e;
  }
  // Only presses wait here, and a press never goes along with the poll in front of it.
  std::optional<sdl::InputEvent> peek() override { return std::nullopt; }

  std::optional<std::array<int, 2>> pointerInside(int window) const {
    if (window != MAIN_WINDOW_NUMBER || !open_) return std::nullopt;
    std::array<int, 2> at{};
    if (!PagePointer(at.data())) return std::nullopt;
    return at;
  }

  bool open_ = false;
  bool controlOpen_ = false;
  std::vector<std::uint8_t> rgba_;
  sdl::InputModel model_{0, 0};
  CanvasTextEngine text_;
  // Seeded from the browser's cryptographic random values.
  SeededRandom random_{[] {
    std::vector<std::uint32_t> words(8);
    PageRandomWords(words.data(), static_cast<int>(words.size()));
    return words;
  }};
};

}  // namespace

std::unique_ptr<Platform> CreatePlatform() {
  return std::make_unique<WebPlatform>();
}

}  // namespace pax
