#include "game_state.h"

#include <cmath>
#include <limits>

namespace pax {

namespace {

constexpr double DRAIN_PER_FRAME = 0.1;
constexpr double PAIR_PENALTY = 5.0;
constexpr std::int32_t POINTS_PER_TILE = 10;
constexpr std::int32_t BIG_GROUP = 10;
constexpr std::int32_t BIG_GROUP_BONUS_PER_TILE = 50;

// Score never wraps: a sum past the largest 32-bit value stays there.
std::int32_t SaturatingAdd(std::int32_t score, std::int64_t gain) {
  const std::int64_t sum = std::int64_t{score} + gain;
  constexpr std::int64_t kMax = std::numeric_limits<std::int32_t>::max();
  return static_cast<std::int32_t>(sum > kMax ? kMax : sum);
}

struct GroupEffect {
  std::int32_t multiplierChange;  // ignored where resetsMultiplier
  bool resetsMultiplier;
  double timeChange;
};

GroupEffect EffectOf(std::int32_t n) {
  if (n <= 2) return {0, true, -PAIR_PENALTY};
  if (n == 3) return {-1, false, 0.0};
  if (n <= 6) return {n - 3, false, 1.0};
  if (n <= 9) return {4, false, 5.0};
  return {5, false, 10.0};
}

}  // namespace

void DrainTime(GameState& state) {
  state.timeLeft += -DRAIN_PER_FRAME;
}

std::int32_t MultiplierFactor(std::int32_t m) {
  // The quotient is formed in single precision, then rounded with halves away from zero.
  const float v = static_cast<float>(m) / 10.0f;
  const float rounded = v > 0.0f ? std::floor(v + 0.5f) : std::ceil(v - 0.5f);
  return static_cast<std::int32_t>(rounded);
}

void ApplyGroupOutcome(GameState& state) {
  const std::int32_t n = state.groupCount;
  state.shownMultiplier = state.multiplier;
  state.shownScore = state.score;
  // The points use the multiplier from before this removal.
  state.score = SaturatingAdd(
      state.score, std::int64_t{MultiplierFactor(state.multiplier)} * n * POINTS_PER_TILE);

  const GroupEffect effect = EffectOf(n);
  state.multiplier =
      effect.resetsMultiplier ? MULTIPLIER_MIN : state.multiplier + effect.multiplierChange;
  state.timeLeft += effect.timeChange;
  if (n >= BIG_GROUP)
    state.score = SaturatingAdd(state.score, std::int64_t{n} * BIG_GROUP_BONUS_PER_TILE);

  if (state.multiplier > MULTIPLIER_MAX) {
    state.multiplier = MULTIPLIER_MAX;
  } else if (state.multiplier < MULTIPLIER_MIN) {
    state.multiplier = MULTIPLIER_MIN;
  }
  if (state.timeLeft > TIME_BUDGET) state.timeLeft = TIME_BUDGET;
}

void StepDisplay(GameState& state) {
  // The shown score climbs in steps of 10 and comes to rest on the score itself.
  if (state.shownScore < state.score) {
    const std::int64_t next = std::int64_t{state.shownScore} + SHOWN_SCORE_STEP;
    state.shownScore = next < state.score ? static_cast<std::int32_t>(next) : state.score;
  }
  if (state.multiplier < state.shownMultiplier) {
    state.shownMultiplier -= 1;
  } else if (state.multiplier > state.shownMultiplier) {
    state.shownMultiplier += 1;
  }
}

}  // namespace pax
