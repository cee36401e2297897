#pragma once

// For bench/compare-processes only, which runs the game beside a minimal SDL program: when
// PAX_FIRST_FRAME_FILE names a file, each notes there the moment its first frame is on screen
// (CLOCK_MONOTONIC, nanoseconds).

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace pax::sdl {

inline void ReportFirstFrame() {
  const char* path = std::getenv("PAX_FIRST_FRAME_FILE");
  if (!path || !*path) return;
  const auto now = std::chrono::steady_clock::now().time_since_epoch();
  if (std::FILE* file = std::fopen(path, "w")) {
    std::fprintf(
        file, "%lld\n",
        static_cast<long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
    std::fclose(file);
  }
}

}  // namespace pax::sdl
