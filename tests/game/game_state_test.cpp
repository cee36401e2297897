#include "game/game_state.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

namespace pax {
namespace {

GameState Removed(GameState state, std::int32_t n) {
  state.groupCount = n;
  ApplyGroupOutcome(state);
  return state;
}

TEST(MultiplierFactor, RoundsTenthsWithHalvesAwayFromZero) {
  const std::pair<std::int32_t, std::int32_t> cases[] = {
      {10, 1}, {14, 1}, {15, 2}, {24, 2}, {25, 3},  {44, 4},
      {45, 5}, {84, 8}, {85, 9}, {94, 9}, {95, 10}, {100, 10},
  };
  for (auto [m, factor] : cases) EXPECT_EQ(MultiplierFactor(m), factor) << m;
}

TEST(ApplyGroupOutcome, WorkedSequenceWithTheShownValuesFrameByFrame) {
  GameState s;
  s = Removed(s, 5);
  EXPECT_EQ(s.score, 50);
  EXPECT_EQ(s.multiplier, 12);
  EXPECT_EQ(s.timeLeft, 100.0);

  s = Removed(s, 10);
  EXPECT_EQ(s.score, 650);
  EXPECT_EQ(s.multiplier, 17);
  EXPECT_EQ(s.timeLeft, 100.0);

  s = Removed(s, 2);
  EXPECT_EQ(s.score, 690);
  EXPECT_EQ(s.multiplier, 10);
  EXPECT_EQ(s.timeLeft, 95.0);
  EXPECT_EQ(s.shownScore, 650);
  EXPECT_EQ(s.shownMultiplier, 17);

  // The shown score climbs by 10 and rests on the score; the multiplier steps down by one.
  const std::vector<std::int32_t> shownScores = {660, 670, 680, 690, 690, 690, 690, 690};
  const std::vector<std::int32_t> shownFactors = {2, 2, 1, 1, 1, 1, 1, 1};
  for (std::size_t frame = 0; frame < shownScores.size(); ++frame) {
    StepDisplay(s);
    EXPECT_EQ(s.shownScore, shownScores[frame]) << "frame " << frame;
    EXPECT_EQ(s.shownMultiplier, std::max(16 - static_cast<std::int32_t>(frame), 10));
    EXPECT_EQ(MultiplierFactor(s.shownMultiplier), shownFactors[frame]) << "frame " << frame;
  }
}

TEST(ApplyGroupOutcome, GroupSizesMoveMultiplierTimeAndScore) {
  struct Case {
    std::int32_t n, multiplierBefore;
    double timeBefore;
    std::int32_t gain, multiplierAfter;
    double timeAfter;
  } cases[] = {
      {2, 50, 60.0, 100, 10, 55.0},     // a pair: multiplier back to its minimum, 5.0 lost
      {2, 10, 3.0, 20, 10, -2.0},       // a penalty may take the time below zero
      {3, 10, 50.0, 30, 10, 50.0},      // 9 is clamped up to 10
      {3, 40, 50.0, 120, 39, 50.0},     //
      {4, 10, 99.5, 40, 11, 100.0},     // capped at the budget, not 100.5
      {6, 20, 50.0, 120, 23, 51.0},     //
      {7, 10, 50.0, 70, 14, 55.0},      //
      {9, 30, 50.0, 270, 34, 55.0},     //
      {10, 14, 50.0, 600, 19, 60.0},    // factor from before: 1 x 10 x 10 + 500 bonus
      {10, 98, 50.0, 1500, 100, 60.0},  // 103 clamped to 100
      {100, 100, 1.0, 15000, 100, 11.0},
  };
  for (const Case& c : cases) {
    GameState s;
    s.score = 1000;
    s.multiplier = c.multiplierBefore;
    s.timeLeft = c.timeBefore;
    s = Removed(s, c.n);
    EXPECT_EQ(s.score - 1000, c.gain) << "n=" << c.n << " m=" << c.multiplierBefore;
    EXPECT_EQ(s.multiplier, c.multiplierAfter) << "n=" << c.n << " m=" << c.multiplierBefore;
    EXPECT_EQ(s.timeLeft, c.timeAfter) << "n=" << c.n << " m=" << c.multiplierBefore;
  }
}

TEST(ApplyGroupOutcome, ScoreSaturatesInsteadOfOverflowing) {
  GameState s;
  s.score = std::numeric_limits<std::int32_t>::max() - 30;
  s.multiplier = 100;
  s = Removed(s, 100);
  EXPECT_EQ(s.score, std::numeric_limits<std::int32_t>::max());
  s = Removed(s, 2);
  EXPECT_EQ(s.score, std::numeric_limits<std::int32_t>::max());
}

TEST(StepDisplay, NothingMovesWhileShownValuesMatch) {
  GameState s;
  StepDisplay(s);
  EXPECT_EQ(s.shownScore, 0);
  EXPECT_EQ(s.shownMultiplier, 10);
  s.multiplier = 12;
  StepDisplay(s);
  StepDisplay(s);
  StepDisplay(s);
  EXPECT_EQ(s.shownMultiplier, 12) << "steps up one per frame and stops on the multiplier";
}

TEST(DrainTime, TimeIsFirstUsedUpOnTheThousandAndFirstDrain) {
  GameState s;
  for (int frame = 1; frame <= 1000; ++frame) {
    DrainTime(s);
    ASSERT_GT(s.timeLeft, 0.0) << "frame " << frame;
  }
  EXPECT_LT(s.timeLeft, 1e-11);
  DrainTime(s);
  EXPECT_FALSE(s.timeLeft > 0.0);
}

}  // namespace
}  // namespace pax
