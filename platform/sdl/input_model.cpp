#include "input_model.h"

#include <cstdlib>

namespace pax::sdl {

namespace {

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

bool IsIgnoredInput(const InputEvent& e) {
  using Kind = InputEvent::Kind;
  switch (e.kind) {
    case Kind::Motion:
    case Kind::Wheel:
    case Kind::KeyUp:
    case Kind::Other:
      return true;
    case Kind::KeyDown:
      return !e.closeKey;
    case Kind::ButtonDown:
    case Kind::ButtonUp:
      return e.button == InputEvent::Button::Middle || e.button == InputEvent::Button::Other;
    default:
      return false;
  }
}

int InputModel::poll(InputSource& source) {
  while (const std::optional<InputEvent> w = source.takeWindowEvent()) handleWindowEvent(*w);
  if (!windowEvents_.empty()) {
    current_ = System(windowEvents_.front());
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
  current_ = handle(*next);
  // On Windows the system merges pointer moves into one message; here everything the game
  // ignores goes with the poll that meets it, so that neither a pointer that never rests nor a
  // burst of wheel turns or key repeats holds a double click back behind a frame per event.
  for (std::optional<InputEvent> more = source.peek(); more && IsIgnoredInput(*more);
       more = source.peek()) {
    source.take();
    handle(*more);
  }
  return current_.code;
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

InputModel::Event InputModel::handle(const InputEvent& e) {
  using Kind = InputEvent::Kind;
  switch (e.kind) {
    case Kind::Motion:
      trackDrag(e.x, e.y);
      return System(SYSTEM_MOUSE_MOVE);
    case Kind::ButtonDown:
      return press(e);
    case Kind::ButtonUp:
      return release(e);
    case Kind::Wheel:
      return System(SYSTEM_WHEEL);
    case Kind::KeyDown:
      // Where no window manager takes Alt+F4 for itself, the window does, as on Windows.
      if (e.closeKey) {
        queueWindowEvent(EVENT_CLOSE_REQUEST);
        return System(SYSTEM_SYS_KEY_DOWN);
      }
      return System(SYSTEM_KEY_DOWN);
    case Kind::KeyUp:
      return System(SYSTEM_KEY_UP);
    default:
      return System(SYSTEM_OTHER);
  }
}

int InputModel::effectiveClicks(InputEvent::Button button, int sdlClicks) {
  const std::size_t i = ButtonIndex(button);
  if (sdlClicks <= 1 || restartClicks_[i]) {
    clickBase_[i] = sdlClicks - 1;
    restartClicks_[i] = false;
  }
  return sdlClicks - clickBase_[i];
}

InputModel::Event InputModel::press(const InputEvent& e) {
  const bool second = effectiveClicks(e.button, e.clicks) % 2 == 0;
  switch (e.button) {
    case InputEvent::Button::Left:
      leftDown_ = true;
      dragReported_ = false;
      pressX_ = e.x;
      pressY_ = e.y;
      if (second) {
        post(ACTION_LEFT_DOUBLE_CLICK);
        return System(SYSTEM_LEFT_DOUBLE);
      }
      // The first click of a pair is the control's own click notification, which Windows
      // sends while the press is dispatched: this same poll answers it.
      return Event{EVENT_CONTROL, ACTION_LEFT_CLICK, 0};
    case InputEvent::Button::Right:
      if (second) {
        rightDoubleDown_ = true;
        post(ACTION_RIGHT_DOUBLE_CLICK);
        return System(SYSTEM_RIGHT_DOUBLE);
      }
      return System(SYSTEM_RIGHT_DOWN);
    default:
      return System(SYSTEM_MIDDLE_DOWN);
  }
}

InputModel::Event InputModel::release(const InputEvent& e) {
  switch (e.button) {
    case InputEvent::Button::Left:
      leftDown_ = false;
      return System(SYSTEM_LEFT_UP);
    case InputEvent::Button::Right:
      if (rightDoubleDown_) {
        rightDoubleDown_ = false;
      } else if (overControl(e.x, e.y)) {
        post(ACTION_RIGHT_CLICK);
      }
      return System(SYSTEM_RIGHT_UP);
    default:
      return System(SYSTEM_MIDDLE_UP);
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
