#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace pax::test {

// A font engine with square glyphs: every character advances 7 pixels in a box 15 pixels tall,
// and every character but a space is a solid block over the cell's columns 0 to 4 and rows 3
// to 11. It remembers the texts it was asked to rasterise.
class BlockTextEngine : public TextEngine {
 public:
  static constexpr int ADVANCE = 7;
  static constexpr int HEIGHT = 15;
  static constexpr int INK_TOP = 3;
  static constexpr int INK_BOTTOM = 11;
  static constexpr int INK_WIDTH = 5;

  FontHandle createFont(std::string_view, int) override { return 1; }
  void freeFont(FontHandle) override {}
  int measureText(FontHandle, std::string_view text) override {
    return ADVANCE * static_cast<int>(text.size());
  }
  void rasterizeText(FontHandle font, std::string_view text, TextMask& mask) override;

  std::vector<std::string> texts;
};

}  // namespace pax::test
