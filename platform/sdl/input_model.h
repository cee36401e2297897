#pragma once

// How the SDL platform turns system events into the game's events: window events waiting in a
// FIFO, one input event per poll, click counts turned into control actions, drag detection. It
// knows nothing of SDL, so the tests drive it with made-up event sequences.

#include <array>
#include <deque>
#include <optional>

#include "platform/platform.h"

namespace pax::sdl {

// Window events, with the Windows message numbers the same events carry on Windows. They wait
// in the FIFO for the next polls; the game ignores all of them but the close request.
inline constexpr int WINDOW_MOVED = 3;
inline constexpr int WINDOW_SIZED = 5;
inline constexpr int WINDOW_ACTIVATED = 6;
inline constexpr int WINDOW_ERASED = 20;

// What a poll answers for an input event that is not a control event. Where Windows has a
// message for the same thing, its number: a log of polls then reads like one taken on Windows.
inline constexpr int SYSTEM_KEY_DOWN = 256;
inline constexpr int SYSTEM_KEY_UP = 257;
inline constexpr int SYSTEM_SYS_KEY_DOWN = 260;
inline constexpr int SYSTEM_MOUSE_MOVE = 512;
inline constexpr int SYSTEM_LEFT_UP = 514;
inline constexpr int SYSTEM_LEFT_DOUBLE = 515;
inline constexpr int SYSTEM_RIGHT_DOWN = 516;
inline constexpr int SYSTEM_RIGHT_UP = 517;
inline constexpr int SYSTEM_RIGHT_DOUBLE = 518;
inline constexpr int SYSTEM_MIDDLE_DOWN = 519;
inline constexpr int SYSTEM_MIDDLE_UP = 520;
inline constexpr int SYSTEM_WHEEL = 522;
// Everything else: above every system message number, so it never means anything to the game.
inline constexpr int SYSTEM_OTHER = 0x400;

// How far, in pixels on either axis, the pointer must move from a left press with the button
// still down before the press counts as the start of a drag. Windows' default.
inline constexpr int DRAG_DISTANCE = 4;

// One system event, as the SDL layer hands it over.
struct InputEvent {
  enum class Kind {
    WindowClose,  // close button, window menu, the window manager's Alt+F4, another program
    WindowMoved,
    WindowSized,    // also minimised, maximised and restored
    WindowExposed,  // part of the window needs its picture again
    WindowFocus,    // gained or lost
    WindowOther,
    Motion,
    ButtonDown,
    ButtonUp,
    Wheel,
    KeyDown,
    KeyUp,
    Other,
  };
  enum class Button { Left, Middle, Right, Other };

  Kind kind = Kind::Other;
  Button button = Button::Other;
  int clicks = 0;  // presses: SDL's count of quick presses in a row at one place, from 1
  int x = 0;       // mouse events: client coordinates
  int y = 0;
  bool closeKey = false;  // a key press of Alt+F4 that reached the window itself
};

// Where the model takes system events from: SDL's queue in the game, a list in the tests.
class InputSource {
 public:
  virtual ~InputSource() = default;
  // The oldest waiting window event (kinds Window...), wherever it stands among the input
  // events, or nothing. Never waits.
  virtual std::optional<InputEvent> takeWindowEvent() = 0;
  // The next waiting input event, or nothing. Never waits.
  virtual std::optional<InputEvent> take() = 0;
  // The next waiting input event, left waiting; nothing when none is waiting.
  virtual std::optional<InputEvent> peek() = 0;
};

// Input that neither makes a control event nor asks for a window event: pointer moves, the
// wheel, keys other than Alt+F4, and the buttons other than left and right. The game ignores
// what a poll answers for it, so a poll takes every such event waiting right behind the one it
// answers for.
bool IsIgnoredInput(const InputEvent& e);

class InputModel {
 public:
  // The client area of the one window, where the picture control sits.
  InputModel(int clientWidth, int clientHeight) : width_(clientWidth), height_(clientHeight) {}

  // Called by pollEvent. Every waiting window event joins the FIFO first, as Windows handles
  // every message sent to a window inside any call that reads the queue. Then the poll answers
  // the oldest window event, else the oldest posted action, else one input event from `source`
  // together with the ignored input (IsIgnoredInput) waiting right behind it. EVENT_NONE when
  // nothing was waiting; the current event then stays as it was.
  int poll(InputSource& source);
  int action() const { return current_.action; }
  int control() const { return current_.control; }

  // Called around the game-over box: forgets posted actions and held buttons, and makes the
  // next press a first click whatever SDL counts for it.
  void dropInput();

 private:
  struct Event {
    int code;
    int action;
    int control;
  };
  // An answer that came from no control (control number -1).
  static constexpr Event System(int code) { return Event{code, ACTION_NONE, -1}; }

  void handleWindowEvent(const InputEvent& e);
  // What a poll answers for `e`; the model's own state (clicks, drag, posted actions) follows
  // `e` whether or not the answer is used.
  Event handle(const InputEvent& e);
  int effectiveClicks(InputEvent::Button button, int sdlClicks);
  Event press(const InputEvent& e);
  Event release(const InputEvent& e);
  void trackDrag(int x, int y);
  void queueWindowEvent(int code);
  void post(int action) { posted_.push_back(action); }
  bool overControl(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  int width_;
  int height_;
  Event current_{EVENT_NONE, ACTION_NONE, -1};
  std::deque<int> windowEvents_;
  std::deque<int> posted_;  // actions of the picture control, answered by later polls

  // Per button (left, middle, right): what SDL's click count had reached before the count
  // restarted, and whether the next press restarts it.
  std::array<int, 3> clickBase_{};
  std::array<bool, 3> restartClicks_{};

  bool leftDown_ = false;
  bool dragReported_ = false;
  int pressX_ = 0;
  int pressY_ = 0;
  bool rightDoubleDown_ = false;  // the right button is down for the second press of a double
};

}  // namespace pax::sdl
