#pragma once

#include <array>
#include <optional>
#include <string_view>

#include "win32_api.h"

namespace pax::win32 {

// One event as pollEvent hands it to the game: its code, action and control number.
struct Event {
  int code = EVENT_NONE;
  int action = ACTION_NONE;
  int control = -1;
  friend bool operator==(const Event&, const Event&) = default;
};

// Window-level events (close request, move, size, activation, erase) that a window procedure
// raised; later polls hand them out oldest first, one per poll.
class WindowEventQueue {
 public:
  // An event equal to the newest one already waiting is not added again. A full queue drops the
  // event: only window events wait here, and a backlog of that size is never drained usefully.
  void push(const Event& event);
  std::optional<Event> pop();

 private:
  static constexpr int CAPACITY = 64;
  std::array<Event, CAPACITY> events_{};
  int head_ = 0;
  int count_ = 0;
};

// The main window, the board view inside it, the event poll, the pointer and the message box.
// One instance lives in the Windows platform for the whole run; the window procedures find it
// through their windows' user data.
class WindowLayer {
 public:
  void init();
  HWND createTopWindow(int window, int x, int y, int innerWidth, int innerHeight,
                       std::string_view title, std::uint32_t flags);
  HWND createPictureControl(int control, int x, int y, int width, int height, HBITMAP bitmap);
  void setPictureImage(int control, HBITMAP bitmap);
  void shutdown();

  int pollEvent();
  int eventAction() const { return current_.action; }
  int eventControl() const { return current_.control; }
  int pointerX(int window) const { return pointer(window, true); }
  int pointerY(int window) const { return pointer(window, false); }
  int askYesNo(std::string_view title, std::string_view text, int flags);

 private:
  static LRESULT CALLBACK MainWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK PictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onMainWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT onPictureMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void pressLeft(POINT at);
  HBITMAP showBitmap(HWND picture, HBITMAP bitmap);
  void paintPicture(HWND picture) const;
  static void postAction(HWND picture, int action);
  int pointer(int window, bool wantX) const;

  HINSTANCE instance_ = nullptr;
  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;
  HCURSOR cursor_ = nullptr;
  bool classRegistered_ = false;

  int mainWindowNumber_ = 0;
  HWND mainWindow_ = nullptr;
  // The window that createTopWindow opened last: the parent of the next control.
  HWND controlParent_ = nullptr;

  int boardViewNumber_ = 0;
  HWND boardView_ = nullptr;
  WNDPROC staticProc_ = nullptr;
  HBITMAP picture_ = nullptr;  // the game's image; the control only refers to it

  // Mouse state of the board view for the actions that are posted.
  POINT leftPress_{};
  bool leftDown_ = false;
  bool dragReported_ = false;
  bool rightDoubleDown_ = false;

  WindowEventQueue windowEvents_;
  // Set by the main window's procedure while a poll dispatches a control's report.
  std::optional<Event> controlEvent_;
  Event current_{};
};

}  // namespace pax::win32
