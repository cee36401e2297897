#pragma once

// The game-over box of the Linux build: its layout, its picture and how it answers the keyboard
// and the mouse. It knows nothing of SDL or X11: the SDL layer shows the picture in a window of
// its own and feeds it the user's input, and the tests drive it directly.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/image.h"
#include "platform/platform.h"
#include "window_layout.h"

namespace pax::sdl {

// The box's text: the desktop's ordinary sans-serif face at 9 points, the size of dialog text
// on desktops and on Windows.
inline constexpr std::string_view BOX_FONT_FACE = "sans-serif";
inline constexpr int BOX_FONT_POINTS = 9;

inline constexpr Rgb BOX_TEXT_AREA = RgbHex(0xFFFFFF);
inline constexpr Rgb BOX_BUTTON_STRIP = RgbHex(0xF0F0F0);
inline constexpr Rgb BOX_TEXT = RgbHex(0x000000);
inline constexpr Rgb BOX_BUTTON_FACE = RgbHex(0xE1E1E1);
inline constexpr Rgb BOX_BUTTON_BORDER = RgbHex(0xADADAD);
inline constexpr Rgb BOX_FOCUS_BORDER = RgbHex(0x0078D7);
inline constexpr Rgb BOX_PRESSED_FACE = RgbHex(0xCCE4F7);

struct BoxButton {
  std::string label;
  int result = 0;  // what the box answers when the button is chosen: IDYES or IDNO
  Rect rect;       // in the box's client area
};

// Where everything of the box goes, in pixels of its client area.
struct BoxLayout {
  int width = 0;
  int height = 0;
  int lineHeight = 0;
  std::vector<std::string> lines;    // the text, split at its line feeds
  std::vector<Point> lineAt;         // the top-left corner of each line's text box
  int stripTop = 0;                  // the button strip runs from here to the bottom
  std::array<BoxButton, 2> buttons;  // Yes, then No, left to right
};

// The box for `text` in `font` at `dpi` (which scales the spacing as the font engine scales
// the text): the lines on white with a margin around them, and below them a grey strip with
// the buttons Yes and No at its right end.
BoxLayout LayOutYesNoBox(TextEngine& engine, FontHandle font, std::string_view text, int dpi);

// The keys the box answers to; everything else is Other.
enum class BoxKey { Return, Space, Tab, BackTab, Left, Right, Up, Down, Y, N, Escape, Other };

// The box while it is up: which button has the focus, which one the mouse holds down, and the
// answer once there is one. Yes has the focus at first, so Return answers Yes.
class YesNoBox {
 public:
  explicit YesNoBox(BoxLayout layout) : layout_(std::move(layout)) {}

  const BoxLayout& layout() const { return layout_; }
  int focus() const { return focus_; }  // index into the layout's buttons
  // The button drawn pressed: held down by the left button with the pointer over it.
  std::optional<int> pressed() const { return pointerOver_ ? held_ : std::nullopt; }
  // 0 while the box waits; IDYES or IDNO once it is answered.
  int result() const { return result_; }

  // Each answers whether the box's picture changed.
  //
  // Return and Space choose the button with the focus; Tab, Shift+Tab and the arrow keys move
  // the focus between the buttons, round at the ends; Y and N choose Yes and No directly, as
  // the underlined letters of Windows' buttons do; Escape closes the box, which answers No as
  // closing it through the window manager does.
  bool key(BoxKey k);
  bool leftDown(Point p);
  bool pointerMoved(Point p);
  bool leftUp(Point p);
  // The window manager's close, the title bar's close button among them: No.
  void close() { result_ = IDNO; }

 private:
  std::optional<int> buttonAt(Point p) const;

  BoxLayout layout_;
  int focus_ = 0;
  std::optional<int> held_;
  bool pointerOver_ = false;
  int result_ = 0;
};

// Draws the whole box into `image`, which must have the layout's size.
void DrawYesNoBox(Image& image, TextEngine& engine, FontHandle font, const YesNoBox& box);

}  // namespace pax::sdl
