#include "platform/sdl/yes_no_box.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/fonts/freetype_text_engine.h"
#include "platform/ppm.h"
#include "tests/support/block_text_engine.h"

namespace pax::sdl {

std::ostream& operator<<(std::ostream& os, const Rect& r) {
  return os << "(" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << ")";
}
std::ostream& operator<<(std::ostream& os, const Point& p) {
  return os << "(" << p.x << ", " << p.y << ")";
}

namespace {

using test::BlockTextEngine;

constexpr std::string_view kText = "Game Over - Score: 1234.\nPlay again?";

struct LayoutCase {
  std::string name;
  std::string_view text;
  int dpi;
  int width, height;
  std::vector<Point> lineAt;
  int stripTop;
  Rect yes, no;
};

class Layouts : public testing::TestWithParam<LayoutCase> {};

// Block glyphs are 7 pixels wide and 15 tall, so every figure below follows from the margins:
// 16 around the text, a strip of 11 + 23 + 11 with buttons of at least 75 x 23, 8 apart and 12
// from the right edge, all scaled with the dpi.
TEST_P(Layouts, PlacesLinesAndButtons) {
  const LayoutCase& c = GetParam();
  BlockTextEngine engine;
  const BoxLayout box = LayOutYesNoBox(engine, 1, c.text, c.dpi);
  EXPECT_EQ(box.width, c.width);
  EXPECT_EQ(box.height, c.height);
  EXPECT_EQ(box.lineAt, c.lineAt);
  EXPECT_EQ(box.stripTop, c.stripTop);
  EXPECT_EQ(box.buttons[0].label, "Yes");
  EXPECT_EQ(box.buttons[0].result, IDYES);
  EXPECT_EQ(box.buttons[0].rect, c.yes);
  EXPECT_EQ(box.buttons[1].label, "No");
  EXPECT_EQ(box.buttons[1].result, IDNO);
  EXPECT_EQ(box.buttons[1].rect, c.no);
}

INSTANTIATE_TEST_SUITE_P(
    YesNoBox, Layouts,
    testing::Values(
        // The longer line (24 characters) sets the width.
        LayoutCase{"TwoLinesWiderThanTheButtons",
                   kText,
                   96,
                   200,
                   107,
                   {{16, 16}, {16, 31}},
                   62,
                   {30, 73, 75, 23},
                   {113, 73, 75, 23}},
        // The buttons with their margins (182) are wider than 21 characters.
        LayoutCase{"ButtonsWiderThanTheText",
                   "Game Over - Score: 0.\nPlay again?",
                   96,
                   182,
                   107,
                   {{16, 16}, {16, 31}},
                   62,
                   {12, 73, 75, 23},
                   {95, 73, 75, 23}},
        LayoutCase{"OneLine",
                   "No line feed",
                   96,
                   182,
                   92,
                   {{16, 16}},
                   47,
                   {12, 58, 75, 23},
                   {95, 58, 75, 23}},
        LayoutCase{"EmptyLastLineKeepsItsPlace",
                   "Score\n",
                   96,
                   182,
                   107,
                   {{16, 16}, {16, 31}},
                   62,
                   {12, 73, 75, 23},
                   {95, 73, 75, 23}},
        // Twice the dpi: twice every margin and button; the block glyphs stay as they are.
        LayoutCase{"AtTwiceTheDpi",
                   kText,
                   192,
                   364,
                   184,
                   {{32, 32}, {32, 47}},
                   94,
                   {24, 116, 150, 46},
                   {190, 116, 150, 46}}),
    [](const testing::TestParamInfo<LayoutCase>& p) { return p.param.name; });

TEST(YesNoBox, SplitsTheTextAtLineFeeds) {
  BlockTextEngine engine;
  EXPECT_EQ(LayOutYesNoBox(engine, 1, kText, 96).lines,
            (std::vector<std::string>{"Game Over - Score: 1234.", "Play again?"}));
  EXPECT_EQ(LayOutYesNoBox(engine, 1, "a\n\nb", 96).lines,
            (std::vector<std::string>{"a", "", "b"}));
}

// One thing the user does to the box.
struct Step {
  enum class What { Key, Down, Move, Up, Close } what;
  BoxKey key = BoxKey::Other;
  Point at{};
};

Step Press(BoxKey k) {
  return {Step::What::Key, k, {}};
}
Step Down(Point p) {
  return {Step::What::Down, BoxKey::Other, p};
}
Step Move(Point p) {
  return {Step::What::Move, BoxKey::Other, p};
}
Step Up(Point p) {
  return {Step::What::Up, BoxKey::Other, p};
}
const Step CLOSE{Step::What::Close};

// In the layout of kText with block glyphs: Yes at (30, 73), No at (113, 73), both 75 x 23.
constexpr Point ON_YES{60, 80};
constexpr Point ON_NO{150, 80};
constexpr Point BESIDE{5, 80};

struct AnswerCase {
  std::string name;
  std::vector<Step> steps;
  int result;  // 0: still waiting
  int focus;   // 0 Yes, 1 No
};

class Answers : public testing::TestWithParam<AnswerCase> {};

TEST_P(Answers, FollowTheKeysAndTheMouse) {
  BlockTextEngine engine;
  YesNoBox box(LayOutYesNoBox(engine, 1, kText, 96));
  for (const Step& s : GetParam().steps) {
    switch (s.what) {
      case Step::What::Key:
        box.key(s.key);
        break;
      case Step::What::Down:
        box.leftDown(s.at);
        break;
      case Step::What::Move:
        box.pointerMoved(s.at);
        break;
      case Step::What::Up:
        box.leftUp(s.at);
        break;
      case Step::What::Close:
        box.close();
        break;
    }
  }
  EXPECT_EQ(box.result(), GetParam().result);
  EXPECT_EQ(box.focus(), GetParam().focus);
}

INSTANTIATE_TEST_SUITE_P(
    YesNoBox, Answers,
    testing::Values(
        AnswerCase{"NothingYet", {}, 0, 0},
        AnswerCase{"ReturnIsYes", {Press(BoxKey::Return)}, IDYES, 0},
        AnswerCase{"SpaceIsYes", {Press(BoxKey::Space)}, IDYES, 0},
        AnswerCase{"TabThenReturnIsNo", {Press(BoxKey::Tab), Press(BoxKey::Return)}, IDNO, 1},
        AnswerCase{"TabRoundToYes",
                   {Press(BoxKey::Tab), Press(BoxKey::Tab), Press(BoxKey::Return)},
                   IDYES,
                   0},
        AnswerCase{"BackTabRoundToNo", {Press(BoxKey::BackTab), Press(BoxKey::Space)}, IDNO, 1},
        AnswerCase{"RightMovesToNo", {Press(BoxKey::Right), Press(BoxKey::Return)}, IDNO, 1},
        AnswerCase{"DownMovesToNo", {Press(BoxKey::Down)}, 0, 1},
        AnswerCase{"LeftRoundToNo", {Press(BoxKey::Left)}, 0, 1},
        AnswerCase{"UpRoundToNo", {Press(BoxKey::Up)}, 0, 1},
        AnswerCase{"RightThenLeftBackOnYes", {Press(BoxKey::Right), Press(BoxKey::Left)}, 0, 0},
        AnswerCase{"YWhateverHasTheFocus", {Press(BoxKey::Tab), Press(BoxKey::Y)}, IDYES, 1},
        AnswerCase{"NWhateverHasTheFocus", {Press(BoxKey::N)}, IDNO, 0},
        AnswerCase{"EscapeIsNo", {Press(BoxKey::Escape)}, IDNO, 0},
        AnswerCase{"OtherKeysDoNothing", {Press(BoxKey::Other), Press(BoxKey::Other)}, 0, 0},
        AnswerCase{"CloseIsNo", {CLOSE}, IDNO, 0},
        AnswerCase{"ClickOnNo", {Down(ON_NO), Up(ON_NO)}, IDNO, 1},
        AnswerCase{"ClickOnYes", {Press(BoxKey::Tab), Down(ON_YES), Up(ON_YES)}, IDYES, 0},
        // A press taken back by moving off the button chooses nothing but keeps the focus.
        AnswerCase{"PressTakenBack", {Down(ON_NO), Move(BESIDE), Up(BESIDE)}, 0, 1},
        AnswerCase{
            "PressMovedOffAndBack", {Down(ON_NO), Move(BESIDE), Move(ON_NO), Up(ON_NO)}, IDNO, 1},
        AnswerCase{"ReleaseOnTheOtherButton", {Down(ON_YES), Up(ON_NO)}, 0, 0},
        AnswerCase{"PressBesideThenReleaseOnAButton", {Down(BESIDE), Up(ON_NO)}, 0, 0}),
    [](const testing::TestParamInfo<AnswerCase>& p) { return p.param.name; });

// The picture with block glyphs, where every pixel's place follows from the layout.
TEST(YesNoBox, DrawsTextAndButtonsWhereTheLayoutSays) {
  BlockTextEngine engine;
  YesNoBox box(LayOutYesNoBox(engine, 1, kText, 96));
  Image image(box.layout().width, box.layout().height);
  DrawYesNoBox(image, engine, 1, box);

  EXPECT_EQ(image.pixel(0, 0), BOX_TEXT_AREA);
  EXPECT_EQ(image.pixel(199, 61), BOX_TEXT_AREA);
  EXPECT_EQ(image.pixel(0, 62), BOX_BUTTON_STRIP);
  EXPECT_EQ(image.pixel(199, 106), BOX_BUTTON_STRIP);
  // Ink of the first glyph of each line (rows 3 to 11 of the glyph box, columns 0 to 4), and
  // the space between the first two glyphs.
  EXPECT_EQ(image.pixel(16, 19), BOX_TEXT);
  EXPECT_EQ(image.pixel(20, 27), BOX_TEXT);
  EXPECT_EQ(image.pixel(21, 19), BOX_TEXT_AREA);
  EXPECT_EQ(image.pixel(16, 18), BOX_TEXT_AREA);
  EXPECT_EQ(image.pixel(16, 34), BOX_TEXT);
  // Yes has the focus: a border of two pixels in the accent colour; No a grey one of one.
  EXPECT_EQ(image.pixel(30, 73), BOX_FOCUS_BORDER);
  EXPECT_EQ(image.pixel(31, 74), BOX_FOCUS_BORDER);
  EXPECT_EQ(image.pixel(104, 95), BOX_FOCUS_BORDER);
  EXPECT_EQ(image.pixel(32, 75), BOX_BUTTON_FACE);
  EXPECT_EQ(image.pixel(113, 73), BOX_BUTTON_BORDER);
  EXPECT_EQ(image.pixel(114, 74), BOX_BUTTON_FACE);
  EXPECT_EQ(image.pixel(105, 80), BOX_BUTTON_STRIP) << "the gap between the buttons";
  // The labels, centred: "Yes" is 21 pixels wide and 15 tall in a button of 75 x 23.
  EXPECT_EQ(image.pixel(57, 80), BOX_TEXT);
  EXPECT_EQ(image.pixel(56, 80), BOX_BUTTON_FACE);
  EXPECT_EQ(image.pixel(113 + 30, 80), BOX_TEXT) << "No";

  // The focus moved to No, held down by the mouse.
  box.key(BoxKey::Tab);
  box.leftDown(ON_NO);
  DrawYesNoBox(image, engine, 1, box);
  EXPECT_EQ(image.pixel(30, 73), BOX_BUTTON_BORDER);
  EXPECT_EQ(image.pixel(31, 74), BOX_BUTTON_FACE);
  EXPECT_EQ(image.pixel(114, 74), BOX_FOCUS_BORDER);
  EXPECT_EQ(image.pixel(116, 76), BOX_PRESSED_FACE);
}

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The box as players see it at 96 dpi, against a reference picture. The face fontconfig gives
// for "sans-serif" on Debian 12 is DejaVu Sans; elsewhere the glyphs differ and the test skips.
// PAX_UPDATE_GOLDEN=1 writes the reference anew (check the picture before committing it).
TEST(YesNoBox, LooksAsTheReferencePicture) {
  FreeTypeTextEngine engine(96);
  const FontHandle font = engine.createFont(BOX_FONT_FACE, BOX_FONT_POINTS);
  if (engine.faceName(font) != "DejaVu Sans Book") {
    GTEST_SKIP() << "\"sans-serif\" is " << engine.faceName(font) << " here";
  }
  const YesNoBox box(LayOutYesNoBox(engine, font, kText, 96));
  Image image(box.layout().width, box.layout().height);
  DrawYesNoBox(image, engine, font, box);

  const std::filesystem::path golden =
      std::filesystem::path(PAX_GOLDEN_DIR) / "yes_no_box_96dpi.ppm";
  const std::vector<std::uint8_t> actual = EncodePpm(image);
  if (std::getenv("PAX_UPDATE_GOLDEN")) {
    std::ofstream(golden, std::ios::binary)
        .write(reinterpret_cast<const char*>(actual.data()),
               static_cast<std::streamsize>(actual.size()));
  }
  const Image expected = DecodePpm(ReadFile(golden));
  ASSERT_FALSE(expected.empty()) << "cannot read " << golden;
  ASSERT_EQ(expected.width(), image.width());
  ASSERT_EQ(expected.height(), image.height());
  int differing = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (expected.pixel(x, y) == image.pixel(x, y)) continue;
      if (differing++ == 0) {
        ADD_FAILURE() << "first difference at (" << x << ", " << y
                      << "): " << HexOf(image.pixel(x, y)) << " instead of "
                      << HexOf(expected.pixel(x, y));
      }
    }
  }
  if (differing > 0) {
    const auto path = std::filesystem::temp_directory_path() / "yes_no_box_96dpi.actual.ppm";
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(actual.data()),
               static_cast<std::streamsize>(actual.size()));
    ADD_FAILURE() << differing << " pixels differ; the picture drawn is in " << path;
  }
}

}  // namespace
}  // namespace pax::sdl
