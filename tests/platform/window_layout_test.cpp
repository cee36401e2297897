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

TEST(WindowLayout, DesktopScale) {
  struct Case {
    const char* gdkScale;
    const char* resources;
    int scale;
  };
  const Case cases[] = {
      {nullptr, nullptr, 1},
      {nullptr, "Xft.dpi:\t96\n", 1},
      {nullptr, "Xft.dpi:\t144\n", 1},  // 1.5 rounds down: the frame is never resampled
      {nullptr, "Xft.dpi:\t191.9\n", 1},
      {nullptr, "Xft.dpi:\t192\n", 2},
      {nullptr, "Xft.antialias:\t1\nXft.dpi:\t288\nXft.hinting:\t1\n", 3},
      {nullptr, "Xft.dpi:\t72\n", 1},
      {nullptr, "Xft.dpi:\t-192\n", 1},
      {nullptr, "Xft.dpi:\tlarge\n", 1},
      {nullptr, "Xft.dpi:\t100000\n", 1},  // no screen has that: ignored, not the largest scale
      {nullptr, "Xft.dpi:\tnan\n", 1},
      {nullptr, "Xft.dpi:\t192", 2},  // the last line without its newline
      {nullptr, "*dpi:\t192\nXcursor.size:\t48\n", 1},
      {"2", nullptr, 2},
      {"2", "Xft.dpi:\t288\n", 2},  // GDK_SCALE wins
      {"1", "Xft.dpi:\t192\n", 1},
      {"", "Xft.dpi:\t192\n", 2},
      {"0", "Xft.dpi:\t192\n", 2},
      {"1.5", "Xft.dpi:\t96\n", 1},
      {"-2", nullptr, 1},
      {"2x", nullptr, 1},
      {"20", nullptr, MAX_SCALE},
      {"99999999999", nullptr, 1},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DesktopScale(c.gdkScale, c.resources), c.scale)
        << (c.gdkScale ? c.gdkScale : "(unset)") << " / " << (c.resources ? c.resources : "(none)");
  }
}

TEST(WindowLayout, FittingScale) {
  EXPECT_EQ(FittingScale(2, 421, 450, 1920, 1080), 2);
  // 900 rows do not fit 800; the game is played at 1 rather than cut off.
  EXPECT_EQ(FittingScale(2, 421, 450, 1280, 800), 1);
  EXPECT_EQ(FittingScale(3, 421, 450, 1280, 1024), 2);
  EXPECT_EQ(FittingScale(2, 421, 450, 842, 900), 2);
  EXPECT_EQ(FittingScale(2, 421, 450, 841, 900), 1);
  EXPECT_EQ(FittingScale(1, 421, 450, 200, 200), 1);
  EXPECT_EQ(FittingScale(0, 421, 450, 1920, 1080), 1);
}

TEST(WindowLayout, ToFrame) {
  struct Case {
    int device;
    int scale;
    int frame;
  };
  const Case cases[] = {{0, 1, 0},    {420, 1, 420}, {-1, 1, -1}, {0, 2, 0},   {1, 2, 0},
                        {2, 2, 1},    {841, 2, 420}, {-1, 2, -1}, {-2, 2, -1}, {-3, 2, -2},
                        {125, 3, 41}, {126, 3, 42},  {-1, 3, -1}};
  for (const Case& c : cases) {
    EXPECT_EQ(ToFrame(c.device, c.scale), c.frame) << c.device << " at " << c.scale;
  }
}

}  // namespace
}  // namespace pax::sdl
