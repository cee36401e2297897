#pragma once

#include <cstdint>
#include <vector>

#include "win32_api.h"

namespace pax::win32 {

// Text through GDI: fonts by face name at the screen's vertical resolution, glyph coverage from
// drawing the text white on black into a scratch DIB section. The shared drawing code blends the
// coverage into the game's images, as on every platform.
class GdiTextEngine final : public TextEngine {
 public:
  GdiTextEngine() = default;
  GdiTextEngine(const GdiTextEngine&) = delete;
  GdiTextEngine& operator=(const GdiTextEngine&) = delete;
  ~GdiTextEngine() override;

  FontHandle createFont(std::string_view face, int points) override;
  void freeFont(FontHandle font) override;
  int measureText(FontHandle font, std::string_view text) override;
  void rasterizeText(FontHandle font, std::string_view text, TextMask& mask) override;

  // The GDI font behind a handle, nullptr for none. The layer's tests read what GDI was asked for.
  HFONT nativeFont(FontHandle font) const;

 private:
  // The memory DC that measuring and drawing share, made on first use, with `font` selected.
  HDC selectFont(FontHandle font);
  // A scratch DIB at least width x height, selected into the DC; false when none can be made.
  bool ensureScratch(int width, int height);
  void releaseDc();

  std::vector<HFONT> fonts_;  // FontHandle n is fonts_[n - 1]; a freed font leaves nullptr
  HDC dc_ = nullptr;
  HGDIOBJ dcFont_ = nullptr;    // what the DC came with, put back before anything is deleted
  HGDIOBJ dcBitmap_ = nullptr;  // likewise
  HBITMAP scratch_ = nullptr;
  std::uint8_t* scratchBits_ = nullptr;
  int scratchWidth_ = 0;
  int scratchHeight_ = 0;
};

}  // namespace pax::win32
