#pragma once

#include <string_view>

#include "image.h"
#include "platform.h"

namespace pax {

// Drawing into one image, the same on every platform. Rectangles, lines and image copies are
// clipped to the image; setPixel outside it changes nothing. A new canvas draws text with the
// default font, painting the text's whole box (black behind the glyphs) until transparent text
// is selected.
class Canvas {
 public:
  Canvas(Image& target, TextEngine& text) : target_(target), text_(text) {}

  // Columns x to x + width - 1 and rows y to y + height - 1.
  void fillRect(int x, int y, int width, int height, Rgb colour);
  // Every pixel of the straight line, both end points included.
  void drawLine(int x1, int y1, int x2, int y2, Rgb colour);
  void setPixel(int x, int y, Rgb colour);
  // Puts pixel (i, j) of `image` at (x + i, y + j), replacing it exactly.
  void copyImage(const Image& image, int x, int y);

  void selectTransparentText() { transparentText_ = true; }
  void selectFont(FontHandle font) { font_ = font; }
  int measureText(std::string_view text) { return text_.measureText(font_, text); }
  // The text's box has its top-left corner at (x, y); the glyphs are mixed into the picture
  // with their coverage (BlendCoverage).
  void drawText(int x, int y, std::string_view text, Rgb colour);

 private:
  Image& target_;
  TextEngine& text_;
  FontHandle font_ = 0;
  bool transparentText_ = false;
  TextMask mask_;  // kept between texts so that drawing allocates nothing once warm
};

// One channel of a text pixel: coverage a of 0 keeps the old value, 255 gives the text colour,
// and in between the integer quotient of the weighted sum.
constexpr std::uint8_t BlendCoverage(std::uint8_t old, std::uint8_t text, std::uint8_t a) {
  return static_cast<std::uint8_t>((old * (255 - a) + text * a) / 255);
}

// Coverage from glyphs rendered white on black with separate sub-pixel values.
constexpr std::uint8_t CoverageOfSubpixels(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
  return static_cast<std::uint8_t>((r + g + b) / 3);
}

}  // namespace pax
