#include "platform/sdl/window_layout.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

namespace pax::sdl {
namespace {

struct PlacementCase {
  std::string name;
  Rect screen;
  FrameExtents frame;
  Point client;
};

class Placement : public testing::TestWithParam<PlacementCase> {};

TEST_P(Placement, CentresTheWholeWindow) {
  const PlacementCase& c = GetParam();
  EXPECT_EQ(CentredClientPosition(c.screen, 421, 450, c.frame), c.client);
}

INSTANTIATE_TEST_SUITE_P(
    WindowLayout, Placement,
    testing::Values(
        // Outer 423 x 471 on 1280 x 1024: the frame at (428, 276), the client inside it.
        PlacementCase{"ThinFrameWithTitleBar", {0, 0, 1280, 1024}, {1, 1, 20, 1}, {429, 296}},
        PlacementCase{"NoFrame", {0, 0, 1280, 1024}, {}, {429, 287}},
        // Odd leftovers round toward the top-left, as the Windows build's integer halves do.
        PlacementCase{"OddLeftover", {0, 0, 1281, 1025}, {2, 2, 23, 2}, {430, 298}},
        PlacementCase{"SecondScreenOrigin", {1920, 0, 1280, 1024}, {1, 1, 20, 1}, {2349, 296}},
        // Too small for the outer window: the frame at the screen's edge on that axis.
        PlacementCase{"NarrowScreen", {0, 0, 400, 1024}, {4, 4, 30, 4}, {4, 300}},
        PlacementCase{"LowScreen", {0, 0, 1280, 300}, {4, 4, 30, 4}, {429, 30}}),
    [](const testing::TestParamInfo<PlacementCase>& p) { return p.param.name; });

TEST(WindowLayout, UsableDpi) {
  struct Case {
    bool known;
    float reported;
    int dpi;
  };
  const Case cases[] = {
      {true, 96.0f, 96},   {true, 120.0f, 120},
      {true, 100.4f, 100}, {true, 143.6f, 144},
      {false, 120.0f, 96}, {true, 0.0f, 96},
      {true, -1.0f, 96},   {true, 20.0f, 96},
      {true, 5000.0f, 96}, {true, std::numeric_limits<float>::quiet_NaN(), 96},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(UsableDpi(c.known, c.reported), c.dpi) << c.known << " " << c.reported;
  }
}

}  // namespace
}  // namespace pax::sdl
