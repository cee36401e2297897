#include "render_frame.h"

#include <cmath>
#include <string>

#include "game/decimal.h"
#include "platform/canvas.h"
#include "tile_images.h"

namespace pax {

namespace {

constexpr Rgb BACKGROUND = RgbHex(0x222222);
constexpr Rgb SEPARATOR = RgbHex(0x999999);
constexpr Rgb RULE = RgbHex(0x444444);
constexpr Rgb BAR_FRAME = RgbHex(0x7BA800);
constexpr Rgb BAR_FILL = RgbHex(0xBBFF00);
constexpr Rgb BAR_CORNER = RgbHex(0x1C2600);
constexpr Rgb STATUS_TEXT = RgbHex(0xBBFF00);
constexpr Rgb LABEL_TEXT = RgbHex(0x000000);

constexpr double LABEL_MIN_TIME = 18.0;
constexpr std::string_view TIME_LABEL = "Time left";

// The fill's width in pixels: 2 for no time left, 270 for 99.9. Halfway values go to the even
// neighbour, the default rounding mode.
int BarWidth(double timeLeft) {
  return static_cast<int>(std::nearbyint(timeLeft * 268.0 / 100.0 + 2.0));
}

void DrawTimeBar(Canvas& canvas, int f) {
  canvas.fillRect(BAR_LEFT, BAR_TOP, f + 2, BAR_HEIGHT, BAR_FRAME);
  canvas.fillRect(BAR_LEFT + 1, BAR_TOP + 1, f, BAR_HEIGHT - 2, BAR_FILL);
  const int right = BAR_LEFT + 1 + f;
  const int bottom = BAR_TOP + BAR_HEIGHT - 1;
  canvas.setPixel(BAR_LEFT, BAR_TOP, BAR_CORNER);
  canvas.setPixel(BAR_LEFT, bottom, BAR_CORNER);
  canvas.setPixel(right, BAR_TOP, BAR_CORNER);
  canvas.setPixel(right, bottom, BAR_CORNER);
}

// Appending (rather than "x" + string) also keeps GCC 12's false -Wrestrict alarm away.
std::string WithNumber(std::string_view label, std::int32_t value) {
  std::string text(label);
  text += Decimal(value);
  return text;
}

}  // namespace

void RenderFrame(GameState& state, RenderResources& resources, TextEngine& text) {
  Canvas canvas(resources.frameImage, text);
  canvas.fillRect(0, 0, FRAME_WIDTH, FRAME_HEIGHT, BACKGROUND);
  canvas.fillRect(0, SEPARATOR_TOP, FRAME_WIDTH, SEPARATOR_HEIGHT, SEPARATOR);
  // The end point lies one past the image's last column and is clipped.
  canvas.drawLine(0, RULE_ROW, FRAME_WIDTH, RULE_ROW, RULE);

  const int f = BarWidth(state.timeLeft);
  DrawTimeBar(canvas, f);

  canvas.selectTransparentText();
  canvas.selectFont(resources.statusFont);
  if (state.timeLeft > LABEL_MIN_TIME) {
    const int w = canvas.measureText(TIME_LABEL);
    // Centred on the fill, whose middle column is BAR_LEFT + 1 + f / 2.
    canvas.drawText(f / 2 - w / 2 + BAR_LEFT + 1, TEXT_TOP, TIME_LABEL, LABEL_TEXT);
  }

  // The texts after this point show the values after this frame's step.
  StepDisplay(state);
  canvas.drawText(SCORE_LEFT, TEXT_TOP, WithNumber("Score: ", state.shownScore), STATUS_TEXT);
  canvas.drawText(MULTIPLIER_LEFT, TEXT_TOP,
                  WithNumber("x", MultiplierFactor(state.shownMultiplier)), STATUS_TEXT);

  for (int x = 0; x < BOARD_SIZE; ++x) {
    for (int y = 0; y < BOARD_SIZE; ++y) {
      const std::int32_t cell = state.board.at(x, y);
      if (cell >= 0 && cell < TILE_KINDS) {
        canvas.copyImage(resources.tileImages[static_cast<std::size_t>(cell)], TileOrigin(x),
                         TileOrigin(y));
      }
    }
  }
}

}  // namespace pax
