#include "canvas_text_engine.h"

#include <emscripten.h>

#include <array>

namespace pax {

namespace {

// Points are at the page's 96 pixels to the inch, as CSS has them.
constexpr int CSS_PIXELS_PER_INCH = 96;
constexpr int POINTS_PER_INCH = 72;
// Room for a CSS font: the size, the face and the page's list of faces.
constexpr int CSS_FONT_BYTES = 512;

// clang-format off
EM_JS(void, PageCssFont, (const char* face, int pixels, char* css, int bytes), {
  stringToUTF8(paxPage.cssFont(UTF8ToString(face), pixels), css, bytes);
});

EM_JS(void, PageMeasureText, (const char* font, const char* text, int* metrics), {
  HEAP32.set(paxPage.measureText(UTF8ToString(font), UTF8ToString(text)), metrics >> 2);
});

EM_JS(void, PageDrawText, (const char* font, const char* text, int width, int height, int ascent,
                           unsigned char* coverage), {
  HEAPU8.set(paxPage.drawText(UTF8ToString(font), UTF8ToString(text), width, height, ascent),
             coverage);
});
// clang-format on

struct TextMetrics {
  int width;
  int ascent;
  int descent;
};

TextMetrics Measure(const std::string& font, const std::string& text) {
  std::array<int, 3> m{};
  PageMeasureText(font.c_str(), text.c_str(), m.data());
  return TextMetrics{m[0], m[1], m[2]};
}

}  // namespace

FontHandle CanvasTextEngine::createFont(std::string_view face, int points) {
  const int pixels = (points * CSS_PIXELS_PER_INCH + POINTS_PER_INCH / 2) / POINTS_PER_INCH;
  std::array<char, CSS_FONT_BYTES> css{};
  PageCssFont(std::string(face).c_str(), pixels, css.data(), CSS_FONT_BYTES);
  fonts_.emplace_back(css.data());
  return static_cast<FontHandle>(fonts_.size());
}

void CanvasTextEngine::freeFont(FontHandle font) {
  if (cssFont(font)) fonts_[static_cast<std::size_t>(font - 1)].clear();
}

const std::string* CanvasTextEngine::cssFont(FontHandle font) const {
  if (font < 1 || static_cast<std::size_t>(font) > fonts_.size()) return nullptr;
  const std::string& css = fonts_[static_cast<std::size_t>(font - 1)];
  return css.empty() ? nullptr : &css;
}

int CanvasTextEngine::measureText(FontHandle font, std::string_view text) {
  const std::string* css = cssFont(font);
  if (!css || text.empty()) return 0;
  return Measure(*css, std::string(text)).width;
}

void CanvasTextEngine::rasterizeText(FontHandle font, std::string_view text, TextMask& mask) {
  mask = TextMask{};
  const std::string* css = cssFont(font);
  if (!css || text.empty()) return;
  const std::string line(text);
  const TextMetrics m = Measure(*css, line);
  const int height = m.ascent + m.descent;
  if (m.width <= 0 || height <= 0) return;
  mask.width = m.width;
  mask.height = height;
  mask.coverage.assign(static_cast<std::size_t>(m.width) * static_cast<std::size_t>(height), 0);
  PageDrawText(css->c_str(), line.c_str(), m.width, height, m.ascent, mask.coverage.data());
}

}  // namespace pax
