#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace pax {

// The browser build's font engine: the page's canvas text, in the face asked for with the page's
// own faces behind it. Coverage is the alpha of the text drawn in an offscreen canvas, so the
// shared blending code mixes it into the picture as on the other platforms.
class CanvasTextEngine final : public TextEngine {
 public:
  FontHandle createFont(std::string_view face, int points) override;
  void freeFont(FontHandle font) override;
  int measureText(FontHandle font, std::string_view text) override;
  void rasterizeText(FontHandle font, std::string_view text, TextMask& mask) override;

 private:
  const std::string* cssFont(FontHandle font) const;

  std::vector<std::string> fonts_;  // CSS fonts by handle - 1; empty once freed
};

}  // namespace pax
