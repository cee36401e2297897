#pragma once

#include <cstdint>

#include "board.h"

namespace pax {

inline constexpr double TIME_BUDGET = 100.0;
inline constexpr std::int32_t MULTIPLIER_MIN = 10;
inline constexpr std::int32_t MULTIPLIER_MAX = 100;
inline constexpr std::int32_t SHOWN_SCORE_STEP = 10;

// The one record of a game. The entry point owns it and passes it to every procedure.
struct GameState {
  double timeLeft = TIME_BUDGET;  // drains 0.1 per frame; never above 100.0 after a removal
  std::int32_t score = 0;
  std::int32_t shownScore = 0;  // what the status strip shows; follows score upward
  std::int32_t multiplier = MULTIPLIER_MIN;
  std::int32_t shownMultiplier = MULTIPLIER_MIN;  // steps 1 per frame toward multiplier
  std::int32_t groupCount = 0;                    // cells taken by the last CollectGroup
  Board board;
};

// Called by FrameStep once per frame, before rendering.
void DrainTime(GameState& state);

// m / 10 rounded to the nearest whole number, halves away from zero: 1..10 for m in 10..100.
std::int32_t MultiplierFactor(std::int32_t m);

// Called by FrameStep after a group of two or more was removed and the board settled: score,
// multiplier and time left move by the group's size.
void ApplyGroupOutcome(GameState& state);

// Called by RenderFrame once per call: the shown score and multiplier take one step toward the
// real ones.
void StepDisplay(GameState& state);

}  // namespace pax
