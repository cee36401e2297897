#include "window_layer.h"

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

namespace pax::win32 {

namespace {

constexpr char MAIN_WINDOW_CLASS[] = "PaxmorellaMainWindow";
constexpr WORD APP_ICON = 1;

// The board view's mouse actions travel to the main window as this posted message, so that a
// later poll reports them: wParam is the control number, lParam the action.
constexpr UINT WM_PAX_CONTROL_ACTION = WM_APP + 1;

// The pointer position that a mouse message carries, in the receiving window's client area.
POINT PointOf(LPARAM lParam) {
  return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

WindowLayer* LayerOf(HWND hwnd) {
  return reinterpret_cast<WindowLayer*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
}

// askYesNo's list of the thread's windows that it disabled for the time of the box.
struct DisabledWindows {
  DWORD thread = 0;
  HWND foreground = nullptr;
  std::vector<HWND> windows;
};

BOOL CALLBACK DisableThreadWindow(HWND hwnd, LPARAM context) {
  auto& d = *reinterpret_cast<DisabledWindows*>(context);
  if (GetWindowThreadProcessId(hwnd, nullptr) == d.thread && IsWindowVisible(hwnd) &&
      IsWindowEnabled(hwnd) && hwnd != d.foreground) {
    EnableWindow(hwnd, FALSE);
    d.windows.push_back(hwnd);
  }
  return TRUE;
}

}  // namespace

void WindowEventQueue::push(const Event& event) {
  if (count_ > 0 && events_[static_cast<std::size_t>((head_ + count_ - 1) % CAPACITY)] == event) {
    return;
  }
  if (count_ == CAPACITY) return;
  events_[static_cast<std::size_t>((head_ + count_) % CAPACITY)] = event;
  ++count_;
}

std::optional<Event> WindowEventQueue::pop() {
  if (count_ == 0) return std::nullopt;
  const Event event = events_[static_cast<std::size_t>(head_)];
  head_ = (head_ + 1) % CAPACITY;
  --count_;
  return event;
}

void WindowLayer::init() {
  instance_ = GetModuleHandleA(nullptr);
  // Loaded as private copies, not shared, so that shutdown may destroy them.
  icon_ = static_cast<HICON>(
      LoadImageA(instance_, MAKEINTRESOURCEA(APP_ICON), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
  smallIcon_ = static_cast<HICON>(LoadImageA(instance_, MAKEINTRESOURCEA(APP_ICON), IMAGE_ICON,
                                             GetSystemMetrics(SM_CXSMICON),
                                             GetSystemMetrics(SM_CYSMICON), 0));
  cursor_ = LoadCursorA(nullptr, IDC_ARROW);

  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof controls;
  controls.dwICC = ICC_STANDARD_CLASSES;
  InitCommonControlsEx(&controls);
  InitCommonControls();
  // The message box and the common controls may use COM; the apartment lasts until the process
  // ends, so it is never uninitialised.
  CoInitialize(nullptr);
}

HWND WindowLayer::createTopWindow(int window, int x, int y, int innerWidth, int innerHeight,
                                  std::string_view title, std::uint32_t flags) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.style = CS_DBLCLKS;
  wc.lpfnWndProc = MainWindowProc;
  wc.hInstance = instance_;
  wc.hIcon = icon_;
  wc.hIconSm = smallIcon_;
  wc.hCursor = cursor_;
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = MAIN_WINDOW_CLASS;
  classRegistered_ = RegisterClassExA(&wc) != 0;

  const DWORD style = flags & ~CENTER_ON_SCREEN;
  RECT outer{0, 0, innerWidth, innerHeight};
  AdjustWindowRectEx(&outer, style, FALSE, 0);
  int width = outer.right - outer.left;
  int height = outer.bottom - outer.top;
  if (flags & CENTER_ON_SCREEN) {
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    width = std::min(width, screenWidth);
    height = std::min(height, screenHeight);
    x = (screenWidth - width) / 2;
    y = (screenHeight - height) / 2;
  }

  const std::string text(title);
  HWND hwnd = CreateWindowExA(0, MAIN_WINDOW_CLASS, text.c_str(), style, x, y, width, height,
                              nullptr, nullptr, instance_, this);
  if (!hwnd) {
    UnregisterClassA(MAIN_WINDOW_CLASS, instance_);
    classRegistered_ = false;
    return nullptr;
  }
  mainWindow_ = hwnd;
  mainWindowNumber_ = window;
  // Shown and activated at once; its first paint comes through the queue like any other.
  ShowWindow(hwnd, SW_SHOWNORMAL);
  controlParent_ = hwnd;
  return hwnd;
}

HWND WindowLayer::createPictureControl(int control, int x, int y, int width, int height,
                                       HBITMAP bitmap) {
  if (!controlParent_) return nullptr;
  HWND hwnd = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | SS_NOTIFY, x, y, width,
                              height, controlParent_, nullptr, instance_, nullptr);
  if (!hwnd) return nullptr;
  SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  staticProc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PictureProc)));
  SetWindowLongPtrA(hwnd, GWLP_ID, control);
  boardView_ = hwnd;
  boardViewNumber_ = control;
  setPictureImage(control, bitmap);
  return hwnd;
}

void WindowLayer::setPictureImage(int control, HBITMAP bitmap) {
  if (!boardView_ || control != boardViewNumber_) return;
  SendMessageA(boardView_, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap));
}

void WindowLayer::shutdown() {
  // Destroying the main window takes the board view with it.
  if (mainWindow_) DestroyWindow(mainWindow_);
  mainWindow_ = nullptr;
  controlParent_ = nullptr;
  boardView_ = nullptr;
  picture_ = nullptr;
  if (classRegistered_) UnregisterClassA(MAIN_WINDOW_CLASS, instance_);
  classRegistered_ = false;
  if (icon_) DestroyIcon(icon_);
  if (smallIcon_) DestroyIcon(smallIcon_);
  icon_ = nullptr;
  smallIcon_ = nullptr;
}

int WindowLayer::pollEvent() {
  if (const std::optional<Event> waiting = windowEvents_.pop()) {
    current_ = *waiting;
    return current_.code;
  }
  MSG msg;
  // Nothing waiting: the current event stays the last one that had a code.
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) return EVENT_NONE;
  // A report that reached the main window outside a poll (during a repaint, or in the message
  // box's own loop) is not this poll's.
  controlEvent_.reset();
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
  if (controlEvent_) {
    current_ = *controlEvent_;
    controlEvent_.reset();
  } else {
    current_ = Event{static_cast<int>(msg.message), ACTION_NONE, -1};
  }
  return current_.code;
}

int WindowLayer::pointer(int window, bool wantX) const {
  if (window != mainWindowNumber_ || !mainWindow_ || !IsWindow(mainWindow_)) return -1;
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(mainWindow_, &p);
  RECT client{};
  GetClientRect(mainWindow_, &client);
  if (p.x < 0 || p.y < 0 || p.x >= client.right || p.y >= client.bottom) return -1;
  return static_cast<int>(wantX ? p.x : p.y);
}

int WindowLayer::askYesNo(std::string_view title, std::string_view text, int flags) {
  // While the box is up no window of the game may take input. An owner gets disabled by the box
  // itself; without one (the player is in another program) the game's windows are disabled here.
  DisabledWindows disabled;
  disabled.thread = GetCurrentThreadId();
  disabled.foreground = GetForegroundWindow();
  EnumWindows(DisableThreadWindow, reinterpret_cast<LPARAM>(&disabled));

  HWND owner = nullptr;
  DWORD process = 0;
  if (disabled.foreground && GetWindowThreadProcessId(disabled.foreground, &process) &&
      process == GetCurrentProcessId()) {
    owner = disabled.foreground;
  }
  const std::string message(text);
  const std::string caption(title);
  const int result = MessageBoxA(owner, message.c_str(), caption.c_str(), static_cast<UINT>(flags));

  for (HWND hwnd : disabled.windows) EnableWindow(hwnd, TRUE);
  return result;
}

LRESULT CALLBACK WindowLayer::MainWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  // Messages before WM_NCCREATE (WM_GETMINMAXINFO) find no layer yet.
  if (WindowLayer* layer = LayerOf(hwnd)) {
    return layer->onMainWindowMessage(hwnd, message, wParam, lParam);
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT WindowLayer::onMainWindowMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      // Only a request: the window stays until the game leaves through its exit path.
      windowEvents_.push(Event{EVENT_CLOSE_REQUEST, ACTION_NONE, -1});
      return 0;
    case WM_COMMAND:
      if (boardView_ && reinterpret_cast<HWND>(lParam) == boardView_) {
        controlEvent_ = Event{EVENT_CONTROL, HIWORD(wParam), LOWORD(wParam)};
        return 0;
      }
      break;
    case WM_PAX_CONTROL_ACTION:
      controlEvent_ = Event{EVENT_CONTROL, static_cast<int>(lParam), static_cast<int>(wParam)};
      return 0;
    case WM_MOVE:
    case WM_SIZE:
    case WM_ACTIVATE:
    case WM_ERASEBKGND:
      // Window events the game ignores, each still taking a poll; the system's handling goes on.
      windowEvents_.push(Event{static_cast<int>(message), ACTION_NONE, -1});
      break;
    default:
      break;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK WindowLayer::PictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return LayerOf(hwnd)->onPictureMessage(hwnd, message, wParam, lParam);
}

LRESULT WindowLayer::onPictureMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case STM_SETIMAGE:
      if (wParam != IMAGE_BITMAP) break;
      return reinterpret_cast<LRESULT>(showBitmap(hwnd, reinterpret_cast<HBITMAP>(lParam)));
    case WM_PAINT:
      paintPicture(hwnd);
      return 0;
    case WM_LBUTTONDOWN:
      pressLeft(PointOf(lParam));
      break;
    case WM_LBUTTONUP:
      leftDown_ = false;
      break;
    case WM_MOUSEMOVE:
      if (leftDown_ && !dragReported_ && (wParam & MK_LBUTTON)) {
        const POINT at = PointOf(lParam);
        if (std::abs(at.x - leftPress_.x) > GetSystemMetrics(SM_CXDRAG) ||
            std::abs(at.y - leftPress_.y) > GetSystemMetrics(SM_CYDRAG)) {
          dragReported_ = true;
          postAction(hwnd, ACTION_DRAG_START);
        }
      }
      break;
    case WM_LBUTTONDBLCLK:
      // Kept from the system control, which would otherwise report a double click of its own.
      pressLeft(PointOf(lParam));
      postAction(hwnd, ACTION_LEFT_DOUBLE_CLICK);
      return 0;
    case WM_RBUTTONDBLCLK:
      rightDoubleDown_ = true;
      postAction(hwnd, ACTION_RIGHT_DOUBLE_CLICK);
      break;
    case WM_RBUTTONUP:
      // The release that ends a right double click is no click of its own.
      if (rightDoubleDown_) {
        rightDoubleDown_ = false;
      } else {
        postAction(hwnd, ACTION_RIGHT_CLICK);
      }
      break;
    default:
      break;
  }
  return CallWindowProcA(staticProc_, hwnd, message, wParam, lParam);
}

void WindowLayer::pressLeft(POINT at) {
  leftPress_ = at;
  leftDown_ = true;
  dragReported_ = false;
}

HBITMAP WindowLayer::showBitmap(HWND picture, HBITMAP bitmap) {
  HBITMAP previous = picture_;
  picture_ = bitmap;
  BITMAP size{};
  if (bitmap && GetObjectA(bitmap, sizeof size, &size)) {
    SetWindowPos(picture, nullptr, 0, 0, size.bmWidth, std::abs(size.bmHeight),
                 SWP_NOMOVE | SWP_NOZORDER);
  }
  // Painted now, inside the caller's hand-over, not later from the queue.
  InvalidateRect(picture, nullptr, FALSE);
  UpdateWindow(picture);
  return previous;
}

void WindowLayer::paintPicture(HWND picture) const {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(picture, &ps);
  if (picture_) {
    DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(picture_), 0, 0, 0, 0, 0,
               DST_BITMAP | DSS_NORMAL);
  }
  EndPaint(picture, &ps);
  // GDI may batch the copy; the game writes the next frame straight into the DIB section's
  // pixels, so the copy must be done before the paint returns.
  GdiFlush();
}

void WindowLayer::postAction(HWND picture, int action) {
  PostMessageA(GetParent(picture), WM_PAX_CONTROL_ACTION,
               static_cast<WPARAM>(GetDlgCtrlID(picture)), static_cast<LPARAM>(action));
}

}  // namespace pax::win32
