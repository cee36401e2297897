#pragma once

// The random source of the real platforms: a Mersenne Twister that seeds itself on its first
// draw (the first board at start-up) from words that the platform gathers where it runs, so
// that every run deals a different board. Only the gathering differs from platform to platform.

#include <cstdint>
#include <random>
#include <vector>

namespace pax {

class SeededRandom {
 public:
  // `gather` answers the seed's words; called once, on the first draw.
  using Gather = std::vector<std::uint32_t> (*)();
  explicit SeededRandom(Gather gather) : gather_(gather) {}

  std::uint32_t next() {
    if (!seeded_) {
      const std::vector<std::uint32_t> words = gather_();
      std::seed_seq seed(words.begin(), words.end());
      engine_.seed(seed);
      seeded_ = true;
    }
    return static_cast<std::uint32_t>(engine_());
  }

 private:
  Gather gather_;
  std::mt19937 engine_;
  bool seeded_ = false;
};

}  // namespace pax
