#pragma once

// The Linux font engine: fontconfig picks the face file, FreeType turns glyphs into grey coverage.
// The SDL platform owns one of these and hands it to the drawing code as its TextEngine.

#include <memory>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace pax {

class FreeTypeTextEngine : public TextEngine {
 public:
  // `verticalDpi` turns point sizes into pixels, as the display would: 10 points are 13 pixels
  // at 96 dpi.
  explicit FreeTypeTextEngine(int verticalDpi = 96);
  ~FreeTypeTextEngine() override;
  FreeTypeTextEngine(const FreeTypeTextEngine&) = delete;
  FreeTypeTextEngine& operator=(const FreeTypeTextEngine&) = delete;

  // Where the system lacks `face`, uses the face fontconfig offers in its place. Answers 0 when
  // no face at all can be loaded; every text then measures 0 and paints nothing.
  FontHandle createFont(std::string_view face, int points) override;
  void freeFont(FontHandle font) override;
  int measureText(FontHandle font, std::string_view text) override;
  void rasterizeText(FontHandle font, std::string_view text, TextMask& mask) override;

  // The family and style of the face a font ended up with ("DejaVu Sans Book"), empty for a
  // handle that names no loaded face. For logs and for tests that depend on the face.
  std::string faceName(FontHandle font);

 private:
  struct State;
  std::unique_ptr<State> state_;
};

}  // namespace pax
