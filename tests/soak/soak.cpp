// pax_soak STEPS SEED: plays STEPS frame steps on the scripted platform with random double
// clicks on random pixels (inside the window and out), random other events and random answers
// to the game-over question, and checks the game's invariants after every step. Prints one line
// and exits 0 when they all held, 1 at the first one broken.

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "game/frame_step.h"
#include "platform/scripted/scripted_platform.h"

namespace pax {
namespace {

struct Broken {
  std::string what;
};

void Check(bool ok, const char* what) {
  if (!ok) throw Broken{what};
}

int Soak(long long steps, std::uint32_t seed) {
  std::mt19937 rng(seed);
  auto pick = [&rng](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  ScriptedPlatform platform;
  platform.fallBackToSequence(seed);
  Game game(platform);
  StartGame(game);
  const GameState& s = game.state;

  long long games = 1, removals = 0, step = 0;
  std::int32_t lastScore = 0;
  try {
    for (; step < steps; ++step) {
      switch (pick(0, 9)) {
        case 0:
        case 1:
        case 2: {
          // Mostly on the board, sometimes on the grid, the status strip or outside.
          const bool outside = pick(0, 19) == 0;
          platform.setPointer(outside ? -1 : pick(-5, 430), outside ? -1 : pick(-5, 455));
          platform.queueEvent({EVENT_CONTROL, ACTION_LEFT_DOUBLE_CLICK, BOARD_VIEW});
          break;
        }
        case 3:
          platform.queueEvent({EVENT_CONTROL, pick(0, 3), BOARD_VIEW});
          break;
        case 4:
          platform.setPointer(pick(-50, 500), pick(-50, 500));
          break;
        default:
          break;
      }
      // Yes, or a box that could not be shown: both play again.
      if (platform.questions().size() == static_cast<std::size_t>(games - 1)) {
        platform.queueAnswer(pick(0, 1) ? IDYES : 0);
      }

      const std::uint64_t drawnBefore = platform.randomDrawn();
      const std::size_t askedBefore = platform.questions().size();
      game.state.groupCount = 0;  // a frame without a removal leaves it so
      FrameStep(game);
      const bool newGame = platform.questions().size() > askedBefore;
      const bool removed = s.groupCount >= 2;
      removals += removed;

      for (std::int32_t cell : s.board.cells)
        Check(cell >= 0 && cell < TILE_KINDS, "the board is full");
      Check(s.multiplier >= 10 && s.multiplier <= 100, "multiplier in 10..100");
      Check(s.shownMultiplier >= 10 && s.shownMultiplier <= 100, "shown multiplier in 10..100");
      Check(s.timeLeft <= 100.0 && s.timeLeft > 0.0, "time left in (0, 100]");
      Check(s.shownScore <= s.score, "shown score <= score");
      Check(newGame || s.score >= lastScore, "score never falls within a game");
      const std::uint64_t expectedDraws =
          (removed ? static_cast<std::uint64_t>(s.groupCount) : 0) + (newGame ? 100u : 0u);
      Check(platform.randomDrawn() - drawnBefore == expectedDraws,
            "one draw per removed tile and 100 per new board");
      if (newGame) ++games;
      lastScore = s.score;
    }
  } catch (const Broken& broken) {
    std::printf("pax_soak: step %lld (seed %u): broken: %s\n", step + 1, seed, broken.what.c_str());
    return 1;
  }
  std::printf("pax_soak: %lld steps, %lld games, %lld removals: every invariant held\n", steps,
              games, removals);
  return 0;
}

}  // namespace
}  // namespace pax

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: pax_soak STEPS SEED\n");
    return 2;
  }
  return pax::Soak(std::atoll(argv[1]),
                   static_cast<std::uint32_t>(std::strtoul(argv[2], nullptr, 10)));
}
