// The cost of what the game does every frame, beside a floor measured in the same run: the
// memory traffic that any renderer of this picture must cause.

#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "game/frame_step.h"
#include "platform/bmp.h"
#include "platform/scripted/scripted_platform.h"
#include "render/tile_images.h"
#ifdef PAX_HAVE_FREETYPE
#include "platform/fonts/freetype_text_engine.h"
#endif

namespace pax {
namespace {

std::unique_ptr<TextEngine> MakeTextEngine() {
#ifdef PAX_HAVE_FREETYPE
  return std::make_unique<FreeTypeTextEngine>(96);
#else
  return std::make_unique<NullTextEngine>();
#endif
}

// A started game with a full board of all four kinds and all three texts on show.
struct BenchGame {
  BenchGame() : text(MakeTextEngine()), platform(text.get()), game(platform) {
    platform.fallBackToSequence(7);
    StartGame(game);
    game.state.timeLeft = 60.0;
    game.state.score = 123450;
    game.state.shownScore = 123450;
  }
  std::unique_ptr<TextEngine> text;
  ScriptedPlatform platform;
  Game game;
};

void BM_RenderFrame(benchmark::State& st) {
  BenchGame g;
  for (auto _ : st) {
    RenderFrame(g.game.state, g.game.picture, *g.text);
    benchmark::DoNotOptimize(g.game.picture.frameImage.row(0));
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_RenderFrame);

// Filling the 421 x 450 picture and copying 100 tiles of 41 x 41 into it, row by row.
void BM_MemoryFloor(benchmark::State& st) {
  std::vector<std::uint8_t> frame(static_cast<std::size_t>(Image::StrideFor(FRAME_WIDTH)) *
                                  FRAME_HEIGHT);
  std::vector<std::uint8_t> tile(static_cast<std::size_t>(Image::StrideFor(TILE_SIZE)) * TILE_SIZE,
                                 0x55);
  const auto frameStride = static_cast<std::size_t>(Image::StrideFor(FRAME_WIDTH));
  const auto tileStride = static_cast<std::size_t>(Image::StrideFor(TILE_SIZE));
  for (auto _ : st) {
    std::memset(frame.data(), 0x22, frame.size());
    for (int cx = 0; cx < BOARD_SIZE; ++cx) {
      for (int cy = 0; cy < BOARD_SIZE; ++cy) {
        for (int y = 0; y < TILE_SIZE; ++y) {
          const auto row = static_cast<std::size_t>(TileOrigin(cy) + y);
          std::memcpy(
              frame.data() + row * frameStride + static_cast<std::size_t>(3 * TileOrigin(cx)),
              tile.data() + static_cast<std::size_t>(y) * tileStride, 3 * TILE_SIZE);
        }
      }
    }
    benchmark::DoNotOptimize(frame.data());
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_MemoryFloor);

// The deepest removal there is: a board of one kind, all 100 tiles, the refill chain at its
// full depth.
void BM_WorstRemoval(benchmark::State& st) {
  ScriptedPlatform platform;
  platform.fallBackToSequence(3);
  GameState state;
  for (auto _ : st) {
    state.board.cells.fill(1);
    state.groupCount = CollectGroup(state.board, 4, 4, 1);
    SettleBoard(state.board, platform, state.timeLeft);
    benchmark::DoNotOptimize(state.board.cells.data());
  }
}
BENCHMARK(BM_WorstRemoval)->Unit(benchmark::kMicrosecond);

// One whole frame step on the scripted platform, which does not sleep.
void BM_FrameStep(benchmark::State& st) {
  BenchGame g;
  for (auto _ : st) {
    FrameStep(g.game);
    if (!(g.game.state.timeLeft > 1.0)) g.game.state.timeLeft = 100.0;
  }
}
BENCHMARK(BM_FrameStep);

void BM_DecodeTiles(benchmark::State& st) {
  for (auto _ : st) {
    for (TileKind kind = 0; kind < TILE_KINDS; ++kind) {
      Image image = DecodeBmp(TileBitmap(kind));
      benchmark::DoNotOptimize(image.row(0));
    }
  }
}
BENCHMARK(BM_DecodeTiles);

}  // namespace
}  // namespace pax

BENCHMARK_MAIN();
