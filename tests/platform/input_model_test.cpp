#include "platform/sdl/input_model.h"

#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

namespace pax::sdl {
namespace {

using Kind = InputEvent::Kind;
using Button = InputEvent::Button;

constexpr int W = 421;
constexpr int H = 450;

// SDL's queue as a list: window events are taken out of turn, input events in order.
class ListSource : public InputSource {
 public:
  void add(InputEvent e) { queue_.push_back(e); }
  std::optional<InputEvent> takeWindowEvent() override {
    for (auto it = queue_.begin(); it != queue_.end(); ++it) {
      if (IsWindowEvent(it->kind)) {
        const InputEvent e = *it;
        queue_.erase(it);
        return e;
      }
    }
    return std::nullopt;
  }
  std::optional<InputEvent> take() override {
    if (queue_.empty()) return std::nullopt;
    const InputEvent e = queue_.front();
    queue_.pop_front();
    return e;
  }
  std::optional<InputEvent> peek() override {
    if (queue_.empty()) return std::nullopt;
    return queue_.front();
  }

 private:
  static bool IsWindowEvent(Kind k) {
    return k == Kind::WindowClose || k == Kind::WindowMoved || k == Kind::WindowSized ||
           k == Kind::WindowExposed || k == Kind::WindowFocus || k == Kind::WindowOther;
  }
  std::deque<InputEvent> queue_;
};

InputEvent Press(Button b, int clicks, int x = 100, int y = 100) {
  return {Kind::ButtonDown, b, clicks, x, y};
}
InputEvent Release(Button b, int x = 100, int y = 100) {
  return {Kind::ButtonUp, b, 0, x, y};
}
InputEvent Move(int x, int y) {
  return {Kind::Motion, Button::Other, 0, x, y};
}
InputEvent Window(Kind k) {
  return {k};
}

// What one poll answered: code, action, control.
struct Answer {
  int code;
  int action;
  int control;
  friend bool operator==(const Answer&, const Answer&) = default;
};

std::ostream& operator<<(std::ostream& os, const Answer& a) {
  return os << "(" << a.code << ", " << a.action << ", " << a.control << ")";
}

constexpr Answer Control(int action) {
  return {EVENT_CONTROL, action, 0};
}
constexpr Answer System(int code) {
  return {code, ACTION_NONE, -1};
}

// Polls until nothing is waiting; the answers of the polls that found something.
std::vector<Answer> PollAll(InputModel& model, ListSource& source) {
  std::vector<Answer> answers;
  for (int guard = 0; guard < 100; ++guard) {
    const int code = model.poll(source);
    if (code == EVENT_NONE) return answers;
    answers.push_back({code, model.action(), model.control()});
  }
  ADD_FAILURE() << "the polls never ran dry";
  return answers;
}

struct SequenceCase {
  std::string name;
  std::vector<InputEvent> events;
  std::vector<Answer> answers;
};

class Sequences : public testing::TestWithParam<SequenceCase> {};

TEST_P(Sequences, PollsAnswerOneEventEach) {
  InputModel model(W, H);
  ListSource source;
  for (const InputEvent& e : GetParam().events) source.add(e);
  EXPECT_EQ(PollAll(model, source), GetParam().answers);
}

const Answer LEFT_UP = System(SYSTEM_LEFT_UP);
const Answer DOUBLE_PRESS = System(SYSTEM_LEFT_DOUBLE);

INSTANTIATE_TEST_SUITE_P(
    InputModel, Sequences,
    testing::Values(
        SequenceCase{"SingleClickIsActionZeroAtOnce",
                     {Press(Button::Left, 1), Release(Button::Left)},
                     {Control(ACTION_LEFT_CLICK), LEFT_UP}},
        // The double-click action is posted by the second press and answered by a later poll,
        // after the release that was already waiting.
        SequenceCase{"DoubleClickReportsActionTwoLater",
                     {Press(Button::Left, 1), Release(Button::Left), Press(Button::Left, 2),
                      Release(Button::Left)},
                     {Control(ACTION_LEFT_CLICK), LEFT_UP, DOUBLE_PRESS,
                      Control(ACTION_LEFT_DOUBLE_CLICK), LEFT_UP}},
        SequenceCase{
            "ThreeClicksGiveOneDoubleClick",
            {Press(Button::Left, 1), Release(Button::Left), Press(Button::Left, 2),
             Release(Button::Left), Press(Button::Left, 3), Release(Button::Left)},
            {Control(ACTION_LEFT_CLICK), LEFT_UP, DOUBLE_PRESS, Control(ACTION_LEFT_DOUBLE_CLICK),
             LEFT_UP, Control(ACTION_LEFT_CLICK), LEFT_UP}},
        SequenceCase{"FourClicksGiveTwoDoubleClicks",
                     {Press(Button::Left, 1), Press(Button::Left, 2), Press(Button::Left, 3),
                      Press(Button::Left, 4)},
                     {Control(ACTION_LEFT_CLICK), DOUBLE_PRESS, Control(ACTION_LEFT_DOUBLE_CLICK),
                      Control(ACTION_LEFT_CLICK), DOUBLE_PRESS, Control(ACTION_LEFT_DOUBLE_CLICK)}},
        SequenceCase{
            "RightClickIsPostedOnRelease",
            {Press(Button::Right, 1), Release(Button::Right)},
            {System(SYSTEM_RIGHT_DOWN), System(SYSTEM_RIGHT_UP), Control(ACTION_RIGHT_CLICK)}},
        SequenceCase{"RightReleaseOutsideTheWindowIsNoClick",
                     {Press(Button::Right, 1), Release(Button::Right, W, 10)},
                     {System(SYSTEM_RIGHT_DOWN), System(SYSTEM_RIGHT_UP)}},
        SequenceCase{"RightDoubleClickEndsWithoutARightClick",
                     {Press(Button::Right, 1), Release(Button::Right), Press(Button::Right, 2),
                      Release(Button::Right)},
                     {System(SYSTEM_RIGHT_DOWN), System(SYSTEM_RIGHT_UP),
                      Control(ACTION_RIGHT_CLICK), System(SYSTEM_RIGHT_DOUBLE),
                      Control(ACTION_RIGHT_DOUBLE_CLICK), System(SYSTEM_RIGHT_UP)}},
        SequenceCase{"MiddleButtonDoesNothing",
                     {Press(Button::Middle, 1), Press(Button::Middle, 2), Release(Button::Middle)},
                     {System(SYSTEM_MIDDLE_DOWN)}},
        // Moves waiting one behind the other cost one poll, so a pointer that never rests
        // delays the double click by no more than a poll per gap between its presses.
        SequenceCase{"MovesInARowAreOnePoll",
                     {Move(1, 1), Move(2, 2), Move(3, 3), Press(Button::Left, 1, 3, 3), Move(3, 4),
                      Move(3, 4), Press(Button::Left, 2, 3, 4), Move(4, 4)},
                     {System(SYSTEM_MOUSE_MOVE), Control(ACTION_LEFT_CLICK), DOUBLE_PRESS,
                      Control(ACTION_LEFT_DOUBLE_CLICK)}},
        SequenceCase{
            "NoDragWithinTheDragDistance",
            {Press(Button::Left, 1, 100, 100), Move(100 + DRAG_DISTANCE, 100 - DRAG_DISTANCE)},
            {Control(ACTION_LEFT_CLICK)}},
        SequenceCase{"DragStartsBeyondTheDragDistanceOnce",
                     {Press(Button::Left, 1, 100, 100), Move(100, 100 + DRAG_DISTANCE + 1),
                      InputEvent{Kind::KeyUp}, Move(150, 150)},
                     {Control(ACTION_LEFT_CLICK), Control(ACTION_DRAG_START)}},
        // The distance is reached by a move that was merged into an earlier poll.
        SequenceCase{
            "DragSeenInMergedMoves",
            {Press(Button::Left, 1, 100, 100), Move(101, 100), Move(200, 100), Move(101, 100)},
            {Control(ACTION_LEFT_CLICK), Control(ACTION_DRAG_START)}},
        SequenceCase{"NoDragAfterTheButtonIsUp",
                     {Press(Button::Left, 1, 100, 100), Release(Button::Left), Move(200, 200)},
                     {Control(ACTION_LEFT_CLICK), LEFT_UP}},
        // Window events jump the queue; two close requests in a row wait as one.
        SequenceCase{"CloseRequestsWaitAsOne",
                     {Move(5, 5), Window(Kind::WindowClose), Window(Kind::WindowClose)},
                     {System(EVENT_CLOSE_REQUEST), System(SYSTEM_MOUSE_MOVE)}},
        SequenceCase{
            "CloseRequestsApartWaitApart",
            {Window(Kind::WindowClose), Window(Kind::WindowMoved), Window(Kind::WindowClose)},
            {System(EVENT_CLOSE_REQUEST), System(WINDOW_MOVED), System(EVENT_CLOSE_REQUEST)}},
        SequenceCase{"WindowEventsInTheirOrder",
                     {Window(Kind::WindowExposed), Window(Kind::WindowFocus),
                      Window(Kind::WindowSized), Window(Kind::WindowOther)},
                     {System(WINDOW_ERASED), System(WINDOW_ACTIVATED), System(WINDOW_SIZED)}},
        SequenceCase{"WindowEventsJumpTheQueue",
                     {Press(Button::Left, 1), Press(Button::Left, 2), Window(Kind::WindowMoved)},
                     {System(WINDOW_MOVED), Control(ACTION_LEFT_CLICK), DOUBLE_PRESS,
                      Control(ACTION_LEFT_DOUBLE_CLICK)}},
        SequenceCase{"AltF4ReachingTheWindowIsACloseRequest",
                     {InputEvent{Kind::KeyDown, Button::Other, 0, 0, 0, true},
                      InputEvent{Kind::KeyUp}, InputEvent{Kind::KeyDown}},
                     {System(SYSTEM_SYS_KEY_DOWN), System(EVENT_CLOSE_REQUEST)}}),
    [](const testing::TestParamInfo<SequenceCase>& p) { return p.param.name; });

InputEvent Wheel() {
  return {Kind::Wheel};
}
InputEvent Key(Kind k) {
  return {k};
}
const InputEvent ALT_F4{Kind::KeyDown, Button::Other, 0, 0, 0, true};

std::vector<InputEvent> Repeated(int count, const std::vector<InputEvent>& events) {
  std::vector<InputEvent> all;
  for (int i = 0; i < count; ++i) all.insert(all.end(), events.begin(), events.end());
  return all;
}

std::vector<InputEvent> Joined(std::vector<std::vector<InputEvent>> parts) {
  std::vector<InputEvent> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

const std::vector<InputEvent> DOUBLE_CLICK = {Press(Button::Left, 1), Release(Button::Left),
                                              Press(Button::Left, 2), Release(Button::Left)};

// Input the game ignores goes with the poll that meets it, whatever it is and however much of
// it waits, so that the double click's report comes within a few polls of its first press.
// Presses of the left and right buttons, Alt+F4 and window events keep a poll each.
INSTANTIATE_TEST_SUITE_P(
    IgnoredInput, Sequences,
    testing::Values(
        SequenceCase{"WheelBurstBeforeADoubleClickIsOnePoll",
                     Joined({Repeated(200, {Wheel()}), DOUBLE_CLICK}),
                     {System(SYSTEM_WHEEL), Control(ACTION_LEFT_CLICK), LEFT_UP, DOUBLE_PRESS,
                      Control(ACTION_LEFT_DOUBLE_CLICK), LEFT_UP}},
        SequenceCase{
            "HeldKeyRepeatsGoWithThePress",
            Joined({{Press(Button::Left, 1)},
                    Repeated(500, {Key(Kind::KeyDown)}),
                    {Key(Kind::KeyUp), Release(Button::Left), Press(Button::Left, 2)}}),
            {Control(ACTION_LEFT_CLICK), LEFT_UP, DOUBLE_PRESS, Control(ACTION_LEFT_DOUBLE_CLICK)}},
        SequenceCase{"EveryIgnoredKindMerges",
                     {Move(5, 5), Wheel(), Key(Kind::KeyDown), Key(Kind::KeyUp),
                      Press(Button::Middle, 1), Release(Button::Middle), Press(Button::Other, 1),
                      Release(Button::Other), InputEvent{Kind::Other}, Move(6, 6)},
                     {System(SYSTEM_MOUSE_MOVE)}},
        SequenceCase{"WheelBetweenTheClicksOfADoubleClick",
                     {Press(Button::Left, 1), Wheel(), Wheel(), Release(Button::Left), Wheel(),
                      Press(Button::Left, 2), Wheel(), Release(Button::Left)},
                     {Control(ACTION_LEFT_CLICK), LEFT_UP, DOUBLE_PRESS,
                      Control(ACTION_LEFT_DOUBLE_CLICK), LEFT_UP}},
        SequenceCase{"RightButtonKeepsItsPolls",
                     {Wheel(), Press(Button::Right, 1), Wheel(), Release(Button::Right), Wheel()},
                     {System(SYSTEM_WHEEL), System(SYSTEM_RIGHT_DOWN), System(SYSTEM_RIGHT_UP),
                      Control(ACTION_RIGHT_CLICK)}},
        SequenceCase{
            "AltF4IsNotTakenWithOtherKeys",
            {Key(Kind::KeyDown), Key(Kind::KeyUp), ALT_F4, Key(Kind::KeyUp)},
            {System(SYSTEM_KEY_DOWN), System(SYSTEM_SYS_KEY_DOWN), System(EVENT_CLOSE_REQUEST)}},
        SequenceCase{"CloseRequestsStillComeFirst",
                     Joined({Repeated(50, {Wheel()}), {Window(Kind::WindowClose)}, DOUBLE_CLICK}),
                     {System(EVENT_CLOSE_REQUEST), System(SYSTEM_WHEEL), Control(ACTION_LEFT_CLICK),
                      LEFT_UP, DOUBLE_PRESS, Control(ACTION_LEFT_DOUBLE_CLICK), LEFT_UP}}),
    [](const testing::TestParamInfo<SequenceCase>& p) { return p.param.name; });

TEST(InputModel, PollWithNothingWaitingKeepsTheLastEvent) {
  InputModel model(W, H);
  ListSource source;
  source.add(Press(Button::Left, 1));
  ASSERT_EQ(model.poll(source), EVENT_CONTROL);
  EXPECT_EQ(model.poll(source), EVENT_NONE);
  EXPECT_EQ(model.action(), ACTION_LEFT_CLICK);
  EXPECT_EQ(model.control(), 0);
}

TEST(InputModel, DropInputForgetsAWaitingDoubleClick) {
  InputModel model(W, H);
  ListSource source;
  source.add(Press(Button::Left, 1));
  source.add(Press(Button::Left, 2));
  ASSERT_EQ(model.poll(source), EVENT_CONTROL);
  ASSERT_EQ(model.poll(source), SYSTEM_LEFT_DOUBLE);
  model.dropInput();
  EXPECT_EQ(model.poll(source), EVENT_NONE);
}

// SDL's count goes on across the game-over box; after it, the next press is a first click, and
// the count runs on from there.
TEST(InputModel, ClickCountStartsAfreshAfterDropInput) {
  InputModel model(W, H);
  ListSource source;
  source.add(Press(Button::Left, 1));
  ASSERT_EQ(PollAll(model, source), std::vector<Answer>{Control(ACTION_LEFT_CLICK)});
  model.dropInput();
  for (int clicks : {2, 3, 4}) source.add(Press(Button::Left, clicks));
  EXPECT_EQ(PollAll(model, source),
            (std::vector<Answer>{Control(ACTION_LEFT_CLICK), DOUBLE_PRESS,
                                 Control(ACTION_LEFT_DOUBLE_CLICK), Control(ACTION_LEFT_CLICK)}));
}

TEST(InputModel, DropInputEndsADrag) {
  InputModel model(W, H);
  ListSource source;
  source.add(Press(Button::Left, 1, 100, 100));
  ASSERT_EQ(model.poll(source), EVENT_CONTROL);
  model.dropInput();
  source.add(Move(200, 200));
  EXPECT_EQ(PollAll(model, source), std::vector<Answer>{System(SYSTEM_MOUSE_MOVE)});
}

}  // namespace
}  // namespace pax::sdl
