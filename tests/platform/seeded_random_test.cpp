#include "platform/seeded_random.h"

#include <gtest/gtest.h>

#include <vector>

namespace pax {
namespace {

int gathered = 0;

std::vector<std::uint32_t> Words() {
  ++gathered;
  return {1, 2, 3};
}
std::vector<std::uint32_t> OtherWords() {
  return {1, 2, 4};
}

std::vector<std::uint32_t> Draw(SeededRandom& random, int count) {
  std::vector<std::uint32_t> values;
  for (int i = 0; i < count; ++i) values.push_back(random.next());
  return values;
}

TEST(SeededRandom, SeedsOnceOnTheFirstDrawFromTheGatheredWords) {
  gathered = 0;
  SeededRandom a(Words);
  EXPECT_EQ(gathered, 0) << "nothing is gathered before the first draw";
  const std::vector<std::uint32_t> first = Draw(a, 100);
  EXPECT_EQ(gathered, 1);
  SeededRandom b(Words);
  EXPECT_EQ(Draw(b, 100), first) << "the same words deal the same tiles";
  SeededRandom c(OtherWords);
  EXPECT_NE(Draw(c, 100), first) << "other words, another run";
  EXPECT_EQ(gathered, 2);
}

}  // namespace
}  // namespace pax
