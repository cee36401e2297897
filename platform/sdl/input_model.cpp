#include "input_model.h"

#include <cstdlib>

namespace pax::sdl {

namespace {

constexpr int SYSTEM_CONTROL = -1;  // the control number of an event that came from no control

std::size_t ButtonIndex(InputEvent::Button button) {
  switch (button) {
    case InputEvent::Button::Left:
      return 0;
    case InputEvent::Button::Middle:
      return 1;
    default:
      return 2;
  }
}

}  // namespace

int InputModel::poll(InputSource& source) {
  while (const std::optional<InputEvent> w = source.takeWindowEvent()) handleWindowEvent(*w);
  if (!windowEvents_.empty()) {
    current_ = Event{windowEvents_.front(), ACTION_NONE, SYSTEM_CONTROL};
    windowEvents_.pop_front();
    return current_.code;
  }
  if (!posted_.empty()) {
    current_ = Event{EVENT_CONTROL, posted_.front(), 0};
    posted_.pop_front();
    return current_.code;
  }
  const std::optional<InputEvent> next = source.take();
  if (!next) return EVENT_NONE;
  const int code = handle(*next);
  // A burst of pointer moves costs one poll, as the system's merged move message does on
  // Windows; otherwise a pointer that never rests would hold a double click back for as long
  // as it moves.
  if (next->kind == InputEvent::Kind::Motion) {
    while (const std::optional<InputEvent> more = source.takeIfMotion())
      trackDrag(more->x, more->y);
  }
  return code;
}

void InputModel::handleWindowEvent(const InputEvent& e) {
  using Kind = InputEvent::Kind;
  switch (e.kind) {
    case Kind::WindowClose:
      queueWindowEvent(EVENT_CLOSE_REQUEST);
      break;
    case Kind::WindowMoved:
      queueWindowEvent(WINDOW_MOVED);
      break;
    case Kind::WindowSized:
      queueWindowEvent(WINDOW_SIZED);
      break;
    case Kind::WindowExposed:
      queueWindowEvent(WINDOW_ERASED);
      break;
    case Kind::WindowFocus:
      queueWindowEvent(WINDOW_ACTIVATED);
      break;
    default:
      break;
  }
}

int InputModel::handle(const InputEvent& e) {
  current_ = Event{SYSTEM_OTHER, ACTION_NONE, SYSTEM_CONTROL};
  using Kind = InputEvent::Kind;
  switch (e.kind) {
    case Kind::Motion:
      trackDrag(e.x, e.y);
      current_.code = SYSTEM_MOUSE_MOVE;
      break;
    case Kind::ButtonDown:
      return press(e);
    case Kind::ButtonUp:
      return release(e);
    case Kind::Wheel:
      current_.code = SYSTEM_WHEEL;
      break;
    case Kind::KeyDown:
      // Where no window manager takes Alt+F4 for itself, the window does, as on Windows.
      if (e.closeKey) {
        queueWindowEvent(EVENT_CLOSE_REQUEST);
        current_.code = SYSTEM_SYS_KEY_DOWN;
      } else {
        current_.code = SYSTEM_KEY_DOWN;
      }
      break;
    case Kind::KeyUp:
      current_.code = SYSTEM_KEY_UP;
      break;
    default:
      break;
  }
  return current_.code;
}

int InputModel::effectiveClicks(InputEvent::Button button, int sdlClicks) {
  const std::size_t i = ButtonIndex(button);
  if (sdlClicks <= 1 || restartClicks_[i]) {
    clickBase_[i] = sdlClicks - 1;
    restartClicks_[i] = false;
  }
  return sdlClicks - clickBase_[i];
}

int InputModel::press(const InputEvent& e) {
  const bool second = effectiveClicks(e.button, e.clicks) % 2 == 0;
  switch (e.button) {
    case InputEvent::Button::Left:
      leftDown_ = true;
      dragReported_ = false;
      pressX_ = e.x;
      pressY_ = e.y;
      if (second) {
        post(ACTION_LEFT_DOUBLE_CLICK);
        current_.code = SYSTEM_LEFT_DOUBLE;
        return current_.code;
      }
      // The first click of a pair is the control's own click notification, which Windows
      // sends while the press is dispatched: this same poll answers it.
      current_ = Event{EVENT_CONTROL, ACTION_LEFT_CLICK, 0};
      return current_.code;
    case InputEvent::Button::Right:
      if (second) {
        rightDoubleDown_ = true;
        post(ACTION_RIGHT_DOUBLE_CLICK);
        current_.code = SYSTEM_RIGHT_DOUBLE;
      } else {
        current_.code = SYSTEM_RIGHT_DOWN;
      }
      return current_.code;
    default:
      current_.code = SYSTEM_MIDDLE_DOWN;
      return current_.code;
  }
}

int InputModel::release(const InputEvent& e) {
  switch (e.button) {
    case InputEvent::Button::Left:
      leftDown_ = false;
      current_.code = SYSTEM_LEFT_UP;
      return current_.code;
    case InputEvent::Button::Right:
      if (rightDoubleDown_) {
        rightDoubleDown_ = false;
      } else if (overControl(e.x, e.y)) {
        post(ACTION_RIGHT_CLICK);
      }
      current_.code = SYSTEM_RIGHT_UP;
      return current_.code;
    default:
      current_.code = SYSTEM_MIDDLE_UP;
      return current_.code;
  }
}

void InputModel::trackDrag(int x, int y) {
  if (!leftDown_ || dragReported_) return;
  if (std::abs(x - pressX_) > DRAG_DISTANCE || std::abs(y - pressY_) > DRAG_DISTANCE) {
    dragReported_ = true;
    post(ACTION_DRAG_START);
  }
}

void InputModel::queueWindowEvent(int code) {
  if (windowEvents_.empty() || windowEvents_.back() != code) windowEvents_.push_back(code);
}

void InputModel::dropInput() {
  posted_.clear();
  leftDown_ = false;
  dragReported_ = false;
  rightDoubleDown_ = false;
  restartClicks_.fill(true);
}

}  // namespace pax::sdl
