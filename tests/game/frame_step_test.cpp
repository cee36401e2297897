#include "game/frame_step.h"

#include <gtest/gtest.h>

#include "tests/support/board_text.h"
#include "tests/support/scripted_game.h"

namespace pax {
namespace {

using test::BoardFromText;
using test::BoardToText;
using test::ScriptedGame;

// Column 0 holds a pair of 1s at rows 0 and 1; every other tile is alone.
constexpr std::string_view kBoard =
    "1023102310\n"
    "1230123012\n"
    "2301230123\n"
    "3012301230\n"
    "0123012301\n"
    "1230123012\n"
    "2301230123\n"
    "3012301230\n"
    "0123012301\n"
    "1230123012\n";

TEST(CellUnderPointer, ActsOnTheTileDrawnUnderThePointer) {
  struct Case {
    int x, y;
    std::optional<Cell> cell;
  } cases[] = {
      {1, 1, Cell{0, 0}},      {41, 41, Cell{0, 0}},    {40, 20, Cell{0, 0}},  // last tile columns
      {43, 85, Cell{1, 2}},    {419, 419, Cell{9, 9}},  {379, 1, Cell{9, 0}},
      {0, 20, std::nullopt},   {42, 20, std::nullopt},  {20, 84, std::nullopt},   // the grid
      {420, 20, std::nullopt}, {20, 420, std::nullopt}, {20, 430, std::nullopt},  // border, strip
      {-1, -1, std::nullopt},  {-1, 20, std::nullopt},  {20, -1, std::nullopt},   // outside
  };
  for (const Case& c : cases) EXPECT_EQ(CellUnderPointer(c.x, c.y), c.cell) << c.x << "," << c.y;
}

TEST(StartGame, DealsTheFirstBoardAndOpensTheWindow) {
  ScriptedGame g(kBoard);
  EXPECT_EQ(BoardToText(g.game.state.board), BoardToText(BoardFromText(kBoard)));
  EXPECT_EQ(g.platform.randomDrawn(), 100u);
  EXPECT_TRUE(g.platform.windowOpen());
  EXPECT_EQ(g.platform.shownImage(), &g.game.picture.frameImage);
  EXPECT_EQ(g.game.picture.frameImage.width(), 421);
  EXPECT_EQ(g.game.picture.frameImage.height(), 450);
  const GameState& s = g.game.state;
  EXPECT_EQ(s.timeLeft, 100.0);
  EXPECT_EQ(s.score, 0);
  EXPECT_EQ(s.multiplier, 10);
  EXPECT_EQ(s.shownMultiplier, 10);
}

TEST(FrameStep, EachStepSleepsDrainsAndPresentsOnce) {
  ScriptedGame g(kBoard);
  const int presented = g.platform.framesPresented();
  g.runFrames(3);
  EXPECT_EQ(g.platform.sleptMs(), 60);
  EXPECT_DOUBLE_EQ(g.game.state.timeLeft, 99.7);
  EXPECT_EQ(g.platform.framesPresented(), presented + 3);
}

TEST(FrameStep, DoubleClickOnAPairRemovesItAndScores) {
  ScriptedGame g(kBoard);
  g.platform.queueRandom(test::ValueForKind(2));
  g.platform.queueRandom(test::ValueForKind(3));
  g.doubleClickCell(0, 1);
  g.runFrames(1);
  const GameState& s = g.game.state;
  EXPECT_EQ(s.groupCount, 2);
  EXPECT_EQ(s.score, 20);
  EXPECT_EQ(s.board.at(0, 0), 3) << "the second new tile lands on top";
  EXPECT_EQ(s.board.at(0, 1), 2);
  EXPECT_DOUBLE_EQ(s.timeLeft, 100.0 - 0.1 - 5.0);
}

// A pointer that moves to `after` once its x has been read: the cell is chosen from the x of
// the old position and the y of the new one only when x is asked first.
class PointerMovingAfterX : public ScriptedPlatform {
 public:
  int pointerX(int window) override {
    const int x = ScriptedPlatform::pointerX(window);
    setPointer(after.x, after.y);
    return x;
  }
  Cell after{};
};

TEST(FrameStep, ReadsThePointersXBeforeItsY) {
  PointerMovingAfterX platform;
  for (std::int32_t cell : BoardFromText(kBoard).cells)
    platform.queueRandom(test::ValueForKind(cell));
  platform.fallBackToSequence(12345);
  Game game(platform);
  StartGame(game);
  // x of column 0 first, then y of row 1: the pair of 1s. The other order reads (7, 9), a lone
  // tile.
  platform.setPointer(21, 9 * CELL_PITCH + 21);
  platform.after = {7 * CELL_PITCH + 21, CELL_PITCH + 21};
  platform.queueEvent({EVENT_CONTROL, ACTION_LEFT_DOUBLE_CLICK, BOARD_VIEW});
  FrameStep(game);
  EXPECT_EQ(game.state.groupCount, 2);
  EXPECT_EQ(game.state.score, 20);
}

TEST(FrameStep, OnlyALeftDoubleClickOnTheBoardActs) {
  const ScriptedPlatform::Event ignored[] = {
      {EVENT_CONTROL, ACTION_LEFT_CLICK, BOARD_VIEW},
      {EVENT_CONTROL, ACTION_RIGHT_CLICK, BOARD_VIEW},
      {EVENT_CONTROL, ACTION_RIGHT_DOUBLE_CLICK, BOARD_VIEW},
      {EVENT_CONTROL, ACTION_DRAG_START, BOARD_VIEW},
      {EVENT_CONTROL, ACTION_LEFT_DOUBLE_CLICK, 1},
      {515, ACTION_NONE, -1},
  };
  for (const auto& event : ignored) {
    ScriptedGame g(kBoard);
    g.platform.setPointer(20, 20);
    g.platform.queueEvent(event);
    g.runFrames(1);
    EXPECT_EQ(BoardToText(g.game.state.board), BoardToText(BoardFromText(kBoard)))
        << event.code << " " << event.action << " " << event.control;
    EXPECT_EQ(g.game.state.score, 0);
  }
}

TEST(FrameStep, MissedDoubleClicksChangeNothing) {
  struct Case {
    const char* what;
    int x, y;
  } cases[] = {
      {"a lone tile", 5 * 42 + 20, 5 * 42 + 20},
      {"the pointer left the window", -1, -1},
      {"the grid line below a pair tile", 20, 42},
      {"the status strip", 20, 440},
  };
  for (const Case& c : cases) {
    ScriptedGame g(kBoard);
    g.doubleClickAt(c.x, c.y);
    g.runFrames(1);
    const GameState& s = g.game.state;
    EXPECT_EQ(BoardToText(s.board), BoardToText(BoardFromText(kBoard))) << c.what;
    EXPECT_EQ(s.score, 0) << c.what;
    EXPECT_EQ(s.multiplier, 10) << c.what;
    EXPECT_DOUBLE_EQ(s.timeLeft, 99.9) << c.what;
    EXPECT_EQ(g.platform.randomDrawn(), 100u) << c.what;
  }
}

TEST(FrameStep, CloseRequestExitsWithCodeZero) {
  ScriptedGame g(kBoard);
  g.platform.queueEvent({EVENT_CLOSE_REQUEST, ACTION_NONE, -1});
  try {
    g.runFrames(1);
    FAIL() << "the game went on after a close request";
  } catch (const ProcessExit& exit) {
    EXPECT_EQ(exit.code, 0);
  }
  EXPECT_FALSE(g.platform.windowOpen());
  EXPECT_TRUE(g.platform.questions().empty());
}

TEST(FrameStep, TimeRunsOutOnTheThousandAndFirstStep) {
  ScriptedGame g(kBoard);
  g.game.state.multiplier = 37;  // the finished game's multiplier, to see it step down later
  g.game.state.shownMultiplier = 37;
  g.game.state.score = 480;
  g.game.state.shownScore = 480;
  g.runFrames(1000);
  EXPECT_TRUE(g.platform.questions().empty());
  g.platform.queueAnswer(IDYES);
  g.runFrames(1);
  ASSERT_EQ(g.platform.questions().size(), 1u);
  const auto& q = g.platform.questions()[0];
  EXPECT_EQ(q.title, "Game Over");
  EXPECT_EQ(q.text, "Game Over - Score: 480.\nPlay again?");
  EXPECT_EQ(q.flags, MB_YESNO);

  // A new game: score and the shown score start from 0, a new board is dealt.
  const GameState& s = g.game.state;
  EXPECT_EQ(s.score, 0);
  EXPECT_EQ(s.shownScore, 0);
  EXPECT_EQ(s.timeLeft, 100.0);
  EXPECT_EQ(s.multiplier, 10);
  EXPECT_EQ(s.shownMultiplier, 37) << "steps down over the next frames";
  EXPECT_EQ(g.platform.randomDrawn(), 200u);
  g.runFrames(1);
  EXPECT_EQ(s.shownMultiplier, 36);
}

TEST(FrameStep, EveryAnswerButNoPlaysAgain) {
  const std::pair<int, bool> cases[] = {{IDYES, true}, {0, true}, {2, true}, {IDNO, false}};
  for (auto [answer, playsAgain] : cases) {
    ScriptedGame g(kBoard);
    g.game.state.timeLeft = 0.05;
    g.platform.queueAnswer(answer);
    bool exited = false;
    try {
      g.runFrames(1);
    } catch (const ProcessExit& exit) {
      exited = true;
      EXPECT_EQ(exit.code, 0);
    }
    EXPECT_EQ(exited, !playsAgain) << "answer " << answer;
    EXPECT_EQ(g.platform.questions().size(), 1u);
  }
}

TEST(FrameStep, EventInTheTimeOutFrameDoesNotActAfterTheQuestion) {
  {
    ScriptedGame g(kBoard);
    g.game.state.timeLeft = 0.05;
    g.platform.queueEvent({EVENT_CLOSE_REQUEST, ACTION_NONE, -1});
    EXPECT_THROW(g.runFrames(1), ProcessExit);
    EXPECT_TRUE(g.platform.questions().empty()) << "a close request leaves without asking";
  }
  {
    ScriptedGame g(kBoard);
    g.game.state.timeLeft = 0.05;
    g.platform.queueAnswer(IDYES);
    g.doubleClickCell(0, 1);
    g.runFrames(1);
    ASSERT_EQ(g.platform.questions().size(), 1u);
    EXPECT_EQ(g.game.state.score, 0);
    EXPECT_EQ(g.platform.randomDrawn(), 200u) << "only the new board was drawn";
  }
}

TEST(FrameStep, PenaltyThatUsesUpTheTimeEndsTheGameAfterShowingTheFinalFrame) {
  ScriptedGame g(kBoard);
  g.game.state.timeLeft = 3.0;
  g.game.state.score = 100;
  g.game.state.multiplier = 30;
  g.game.state.shownMultiplier = 30;
  g.platform.queueAnswer(IDYES);
  g.doubleClickCell(0, 0);
  const int presented = g.platform.framesPresented();
  g.runFrames(1);

  ASSERT_EQ(g.platform.questions().size(), 1u);
  const auto& q = g.platform.questions()[0];
  EXPECT_EQ(q.text, "Game Over - Score: 160.\nPlay again?") << "the pair's points count";
  EXPECT_EQ(q.framesPresented, presented + 2) << "the final frame is on screen before the box";

  const GameState& s = g.game.state;
  EXPECT_EQ(s.score, 0);
  EXPECT_EQ(s.shownScore, 0);
  EXPECT_EQ(s.timeLeft, 100.0);
  EXPECT_EQ(s.multiplier, 10);
  EXPECT_EQ(s.shownMultiplier, 10);
  EXPECT_EQ(g.platform.randomDrawn(), 202u) << "two refill tiles and a new board";
}

}  // namespace
}  // namespace pax
