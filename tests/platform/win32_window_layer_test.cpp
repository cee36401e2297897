// The Windows layer driven through real windows: under Wine's null display driver the messages
// go through the same queue, window procedures and system static control as on a desktop, with
// no person and no X server (tests/wine/run-in-wine sets the driver).

#include <gtest/gtest.h>

#include <vector>

#include "platform/win32/dib_image.h"
#include "platform/win32/window_layer.h"

namespace pax::win32 {
namespace {

constexpr int kWidth = 421;
constexpr int kHeight = 450;

TEST(WindowEventQueue, HandsOutOldestFirstAndDropsOnlyARepeatOfTheNewest) {
  const Event close{EVENT_CLOSE_REQUEST, ACTION_NONE, -1};
  const Event move{WM_MOVE, ACTION_NONE, -1};
  WindowEventQueue queue;
  for (const Event& e : {close, close, move, close, move, move}) queue.push(e);
  for (const Event& e : {close, move, close, move}) {
    const std::optional<Event> got = queue.pop();
    ASSERT_TRUE(got);
    EXPECT_EQ(*got, e);
  }
  EXPECT_FALSE(queue.pop());
}

TEST(WindowEventQueue, AFullQueueDropsTheNewEvent) {
  WindowEventQueue queue;
  for (int i = 0; i < 70; ++i) queue.push(Event{1000 + i, ACTION_NONE, -1});
  int count = 0;
  while (const std::optional<Event> e = queue.pop()) {
    EXPECT_EQ(e->code, 1000 + count);
    ++count;
  }
  EXPECT_EQ(count, 64);
}

// The game's window and board view, as start-up makes them, with the start-up messages handled.
class WindowLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    layer_.init();
    frame_ = CreateDibImage(kWidth, kHeight);
    ASSERT_FALSE(frame_.empty());
    window_ = layer_.createTopWindow(1, 10, 10, kWidth, kHeight, "Paxmorella", MAIN_WINDOW_FLAGS);
    ASSERT_NE(window_, nullptr);
    view_ = layer_.createPictureControl(0, 0, 0, kWidth, kHeight,
                                        static_cast<HBITMAP>(frame_.nativeHandle()));
    ASSERT_NE(view_, nullptr);
    Drain();
  }
  void TearDown() override { layer_.shutdown(); }

  // Polls until nothing is waiting, as frames would, and returns every event with a code.
  std::vector<Event> Drain() {
    std::vector<Event> events;
    for (int polls = 0; polls < 200; ++polls) {
      const int code = layer_.pollEvent();
      if (code == EVENT_NONE) return events;
      events.push_back(Event{code, layer_.eventAction(), layer_.eventControl()});
    }
    ADD_FAILURE() << "the queue never ran dry";
    return events;
  }
  static std::vector<Event> ControlEvents(const std::vector<Event>& events) {
    std::vector<Event> controls;
    for (const Event& e : events) {
      if (e.code == EVENT_CONTROL) controls.push_back(e);
    }
    return controls;
  }
  void Post(UINT message, WPARAM wParam, int x, int y) {
    PostMessageA(view_, message, wParam, MAKELPARAM(x, y));
  }

  WindowLayer layer_;
  Image frame_;
  HWND window_ = nullptr;
  HWND view_ = nullptr;
};

TEST_F(WindowLayerTest, WindowHasTheClientSizeAFixedFrameAndIsCentredOnTheScreen) {
  RECT client{};
  ASSERT_TRUE(GetClientRect(window_, &client));
  EXPECT_EQ(client.right - client.left, kWidth);
  EXPECT_EQ(client.bottom - client.top, kHeight);

  const auto style = static_cast<DWORD>(GetWindowLongPtrA(window_, GWL_STYLE));
  EXPECT_EQ(style & WS_CAPTION, DWORD{WS_CAPTION});
  EXPECT_EQ(style & WS_SYSMENU, DWORD{WS_SYSMENU});
  EXPECT_EQ(style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX), 0u);
  EXPECT_EQ(GetWindowLongPtrA(window_, GWL_EXSTYLE) & ~LONG_PTR{WS_EX_WINDOWEDGE}, 0);
  EXPECT_TRUE(GetClassLongPtrA(window_, GCL_STYLE) & CS_DBLCLKS);
  EXPECT_NE(GetClassLongPtrA(window_, GCLP_HICON), 0);
  EXPECT_NE(GetClassLongPtrA(window_, GCLP_HICONSM), 0);

  // Centred as the layer centres it: the outer size from the client size, then half the rest.
  RECT outer{};
  ASSERT_TRUE(GetWindowRect(window_, &outer));
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  EXPECT_EQ(outer.left, (GetSystemMetrics(SM_CXSCREEN) - width) / 2);
  EXPECT_EQ(outer.top, (GetSystemMetrics(SM_CYSCREEN) - height) / 2);

  // The board view fills the client area from its origin.
  RECT view{};
  ASSERT_TRUE(GetWindowRect(view_, &view));
  POINT origin{view.left, view.top};
  ScreenToClient(window_, &origin);
  EXPECT_EQ(origin.x, 0);
  EXPECT_EQ(origin.y, 0);
  EXPECT_EQ(view.right - view.left, kWidth);
  EXPECT_EQ(view.bottom - view.top, kHeight);
  EXPECT_EQ(GetDlgCtrlID(view_), 0);
}

TEST_F(WindowLayerTest, CloseRequestWaitsForAPollAndLeavesTheWindowOpen) {
  // Two requests with no other window event between them are one event.
  SendMessageA(window_, WM_CLOSE, 0, 0);
  SendMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_EQ(layer_.pollEvent(), EVENT_CLOSE_REQUEST);
  EXPECT_EQ(layer_.eventAction(), ACTION_NONE);
  EXPECT_TRUE(IsWindow(window_));
  for (const Event& e : Drain()) EXPECT_NE(e.code, EVENT_CLOSE_REQUEST);
}

TEST_F(WindowLayerTest, AWaitingWindowEventGoesBeforeQueuedMessages) {
  Post(WM_LBUTTONDBLCLK, MK_LBUTTON, 40, 40);
  SendMessageA(window_, WM_CLOSE, 0, 0);
  EXPECT_EQ(layer_.pollEvent(), EVENT_CLOSE_REQUEST);
  EXPECT_EQ(layer_.pollEvent(), WM_LBUTTONDBLCLK);
}

// What each mouse message sequence on the board view reports: the control events that the polls
// return, in order, and the code of the poll that handled the last message.
TEST_F(WindowLayerTest, MouseMessagesOnTheBoardViewBecomeTheirActions) {
  struct Step {
    UINT message;
    WPARAM keys;
    int x, y;
  };
  struct Case {
    const char* what;
    std::vector<Step> steps;
    std::vector<int> actions;
  } cases[] = {
      {"left double click (second press)", {{WM_LBUTTONDBLCLK, MK_LBUTTON, 50, 60}}, {2}},
      {"right click", {{WM_RBUTTONDOWN, MK_RBUTTON, 5, 5}, {WM_RBUTTONUP, 0, 5, 5}}, {1}},
      {"right double click: its release is no click",
       {{WM_RBUTTONDBLCLK, MK_RBUTTON, 5, 5}, {WM_RBUTTONUP, 0, 5, 5}},
       {3}},
      {"drag beyond the system's distance, reported once",
       {{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100},
        {WM_MOUSEMOVE, MK_LBUTTON, 130, 100},
        {WM_MOUSEMOVE, MK_LBUTTON, 160, 100},
        {WM_LBUTTONUP, 0, 160, 100}},
       {0, 14002}},
      {"a move without the button is no drag",
       {{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100},
        {WM_LBUTTONUP, 0, 100, 100},
        {WM_MOUSEMOVE, 0, 160, 100}},
       {0}},
      {"a move within the drag distance is no drag",
       {{WM_LBUTTONDOWN, MK_LBUTTON, 100, 100},
        {WM_MOUSEMOVE, MK_LBUTTON, 101, 101},
        {WM_LBUTTONUP, 0, 101, 101}},
       {0}},
      {"double click: first click, then the second press",
       {{WM_LBUTTONDOWN, MK_LBUTTON, 50, 60},
        {WM_LBUTTONUP, 0, 50, 60},
        {WM_LBUTTONDBLCLK, MK_LBUTTON, 50, 60},
        {WM_LBUTTONUP, 0, 50, 60}},
       {0, 2}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    for (const Step& s : c.steps) Post(s.message, s.keys, s.x, s.y);
    std::vector<int> actions;
    for (const Event& e : ControlEvents(Drain())) {
      EXPECT_EQ(e.control, 0);
      actions.push_back(e.action);
    }
    EXPECT_EQ(actions, c.actions);
  }
}

TEST_F(WindowLayerTest, TheDoubleClickIsReportedByTheNextPollAfterItsMessage) {
  Post(WM_LBUTTONDBLCLK, MK_LBUTTON, 50, 60);
  EXPECT_EQ(layer_.pollEvent(), WM_LBUTTONDBLCLK);  // 515: the message itself
  EXPECT_EQ(layer_.eventAction(), ACTION_NONE);
  EXPECT_EQ(layer_.pollEvent(), EVENT_CONTROL);
  EXPECT_EQ(layer_.eventAction(), ACTION_LEFT_DOUBLE_CLICK);
  EXPECT_EQ(layer_.eventControl(), 0);
  // Nothing more: the poll answers 0 and the last event stays the current one.
  EXPECT_EQ(layer_.pollEvent(), EVENT_NONE);
  EXPECT_EQ(layer_.eventAction(), ACTION_LEFT_DOUBLE_CLICK);
  EXPECT_EQ(layer_.eventControl(), 0);
}

TEST_F(WindowLayerTest, PointerIsInClientCoordinatesAndMinusOneOutside) {
  struct Case {
    int x, y;  // in the client area
    int wantX, wantY;
  } cases[] = {
      {0, 0, 0, 0},      {420, 449, 420, 449}, {137, 251, 137, 251}, {421, 10, -1, -1},
      {10, 450, -1, -1}, {-1, 10, -1, -1},     {10, -1, -1, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "(" << c.x << ", " << c.y << ")");
    POINT screen{c.x, c.y};
    ClientToScreen(window_, &screen);
    ASSERT_TRUE(SetCursorPos(screen.x, screen.y));
    EXPECT_EQ(layer_.pointerX(1), c.wantX);
    EXPECT_EQ(layer_.pointerY(1), c.wantY);
  }
  EXPECT_EQ(layer_.pointerX(2), -1);  // no such window
  EXPECT_EQ(layer_.pointerY(2), -1);
}

// Stands in for the player at the game-over box: waits (at most 10 s) for the box of this
// process, notes whether the game's window took input meanwhile, and presses a button.
struct BoxPlayer {
  HWND window = nullptr;
  WPARAM button = IDNO;
  bool sawBox = false;
  bool windowEnabledWhileBoxOpen = true;
};

DWORD WINAPI AnswerTheBox(void* context) {
  auto& player = *static_cast<BoxPlayer*>(context);
  for (int attempt = 0; attempt < 500; ++attempt) {
    if (HWND box = FindWindowA(nullptr, "Game Over")) {
      player.sawBox = true;
      player.windowEnabledWhileBoxOpen = IsWindowEnabled(player.window) != FALSE;
      PostMessageA(box, WM_COMMAND, player.button, 0);
      return 0;
    }
    Sleep(20);
  }
  return 1;
}

TEST_F(WindowLayerTest, TheBoxAnswersYesOrNoAndTheWindowTakesNoInputMeanwhile) {
  for (const WPARAM button : {WPARAM{IDYES}, WPARAM{IDNO}}) {
    SCOPED_TRACE(button == IDYES ? "Yes" : "No");
    BoxPlayer player{window_, button};
    HANDLE thread = CreateThread(nullptr, 0, AnswerTheBox, &player, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    const int answer = layer_.askYesNo("Game Over", "Game Over - Score: 0.\nPlay again?", MB_YESNO);
    const bool joined = WaitForSingleObject(thread, 15000) == WAIT_OBJECT_0;
    CloseHandle(thread);
    ASSERT_TRUE(joined) << "the box never showed";
    EXPECT_TRUE(player.sawBox);
    EXPECT_EQ(answer, static_cast<int>(button));
    EXPECT_FALSE(player.windowEnabledWhileBoxOpen);
    EXPECT_TRUE(IsWindowEnabled(window_));
  }
}

TEST_F(WindowLayerTest, ANewImageResizesTheBoardViewToIt) {
  Image small = CreateDibImage(100, 80);
  ASSERT_FALSE(small.empty());
  layer_.setPictureImage(0, static_cast<HBITMAP>(small.nativeHandle()));
  RECT view{};
  ASSERT_TRUE(GetClientRect(view_, &view));
  EXPECT_EQ(view.right, 100);
  EXPECT_EQ(view.bottom, 80);
  layer_.setPictureImage(0, static_cast<HBITMAP>(frame_.nativeHandle()));
  ASSERT_TRUE(GetClientRect(view_, &view));
  EXPECT_EQ(view.right, kWidth);
  EXPECT_EQ(view.bottom, kHeight);
}

}  // namespace
}  // namespace pax::win32
