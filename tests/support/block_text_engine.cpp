#include "block_text_engine.h"

namespace pax::test {

void BlockTextEngine::rasterizeText(FontHandle font, std::string_view text, TextMask& mask) {
  texts.emplace_back(text);
  mask.width = measureText(font, text);
  mask.height = HEIGHT;
  mask.coverage.assign(static_cast<std::size_t>(mask.width * mask.height), 0);
  for (std::size_t c = 0; c < text.size(); ++c) {
    if (text[c] == ' ') continue;
    for (int y = INK_TOP; y <= INK_BOTTOM; ++y) {
      for (int x = 0; x < INK_WIDTH; ++x) {
        const int column = static_cast<int>(c) * ADVANCE + x;
        mask.coverage[static_cast<std::size_t>(y * mask.width + column)] = 255;
      }
    }
  }
}

}  // namespace pax::test
