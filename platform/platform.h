#pragma once

// Everything the game asks of the system it runs on, and nothing else. The game core (rules,
// frame loop, rendering) reaches the operating system only through this header; each folder
// under platform/ implements it once: sdl/ for Linux, win32/ for Windows, scripted/ for tests
// and the replay tool.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "image.h"

namespace pax {

// Event codes answered by pollEvent.
inline constexpr int EVENT_NONE = 0;
inline constexpr int EVENT_CLOSE_REQUEST = 16;
inline constexpr int EVENT_CONTROL = 13100;

// Actions of a control event (eventAction).
inline constexpr int ACTION_NONE = -1;
inline constexpr int ACTION_LEFT_CLICK = 0;
inline constexpr int ACTION_RIGHT_CLICK = 1;
inline constexpr int ACTION_LEFT_DOUBLE_CLICK = 2;
inline constexpr int ACTION_RIGHT_DOUBLE_CLICK = 3;
inline constexpr int ACTION_DRAG_START = 14002;

// Message-box flags and results, with their Windows values.
inline constexpr int MB_YESNO = 4;
inline constexpr int IDYES = 6;
inline constexpr int IDNO = 7;

// createTopWindow flags: the low bit is ours, the rest is a Windows window style.
inline constexpr std::uint32_t CENTER_ON_SCREEN = 0x1;
inline constexpr std::uint32_t WS_CAPTION_SYSMENU = 0xC80000;
inline constexpr std::uint32_t MAIN_WINDOW_FLAGS = WS_CAPTION_SYSMENU | CENTER_ON_SCREEN;

// A font made by TextEngine::createFont. 0 names the platform's default font.
using FontHandle = int;

// Glyph coverage of one text's box: width × height values, row by row, 0 (no ink) to 255.
struct TextMask {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> coverage;
};

// The platform's font engine: finds faces and rasterises text. Blending into an image is shared
// code (Canvas), so every platform mixes text into the picture the same way.
class TextEngine {
 public:
  virtual ~TextEngine() = default;
  // Called once at start-up for StatusFont. Answers 0 when no font can be had.
  virtual FontHandle createFont(std::string_view face, int points) = 0;
  // Called by ExitGame on the way out.
  virtual void freeFont(FontHandle font) = 0;
  // Width of the text's box: the sum of the advance widths, 0 for an empty text.
  virtual int measureText(FontHandle font, std::string_view text) = 0;
  // Fills `mask` with the coverage of the text's box: measureText wide, ascent + descent tall,
  // the baseline at the ascent. Glyph parts outside the box are left out.
  virtual void rasterizeText(FontHandle font, std::string_view text, TextMask& mask) = 0;
};

// A source of uniformly distributed 32-bit values that seeds itself on first use.
class RandomSource {
 public:
  virtual ~RandomSource() = default;
  // Called for every new tile (UniformInt).
  virtual std::uint32_t nextRandom() = 0;
};

class Platform : public RandomSource {
 public:
  // Window layer.

  // Called once at start-up, before anything else of the window layer.
  virtual void initWindowLayer() = 0;
  // Called once at start-up: opens the main window with a client area of the inner size.
  // Answers its native handle, or 0 on failure.
  virtual std::intptr_t createTopWindow(int window, int x, int y, int innerWidth, int innerHeight,
                                        std::string_view title, std::uint32_t flags) = 0;
  // Called once, right after createTopWindow: a picture control in that window showing `image`.
  virtual std::intptr_t createPictureControl(int control, int x, int y, int width, int height,
                                             const Image* image) = 0;
  // Called by FrameStep once per frame, after rendering. The control keeps a reference to the
  // image (never a copy) and shows it on screen before this returns; later system repaints show
  // what the image holds then.
  virtual void setPictureImage(int control, const Image* image) = 0;
  // Called by ExitGame on the way out: closes every window.
  virtual void shutdownWindowLayer() = 0;

  // Events, pointer, dialogs, delay.

  // Called by FrameStep once per frame. Never waits; 0 when nothing is waiting.
  virtual int pollEvent() = 0;
  // Called right after pollEvent: the action of the current event, ACTION_NONE when it came
  // from no control, and its control number.
  virtual int eventAction() = 0;
  virtual int eventControl() = 0;
  // Called by FrameStep for a double click: the pointer in the window's client area, or -1 for
  // both when it is outside it on either axis.
  virtual int pointerX(int window) = 0;
  virtual int pointerY(int window) = 0;
  // Called by AskPlayAgain: a modal box; IDYES, IDNO, or 0 when it cannot be shown.
  virtual int askYesNo(std::string_view title, std::string_view text, int flags) = 0;
  // Called by FrameStep at the start of every frame.
  virtual void sleepMs(int milliseconds) = 0;

  // Images and text.

  // Called at start-up for FrameImage and by the BMP decoder: a black image whose pixels the
  // platform can present.
  virtual Image createImage(int width, int height) { return Image(width, height); }
  // The font engine used by the drawing code.
  virtual TextEngine& textEngine() = 0;

  // Process.

  // Called by ExitGame last of all: ends the process with the exit code.
  [[noreturn]] virtual void exitProcess(int code) = 0;
};

// The platform the program runs on. Each implementation that builds a game binary (sdl/, win32/)
// defines it; the entry point calls it once.
std::unique_ptr<Platform> CreatePlatform();

}  // namespace pax
