#include "gdi_text.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/canvas.h"

namespace pax::win32 {

namespace {

int Length(std::string_view text) {
  return static_cast<int>(std::min<std::size_t>(text.size(), 0x7fffffff));
}

}  // namespace

GdiTextEngine::~GdiTextEngine() {
  releaseDc();
  for (HFONT font : fonts_) {
    if (font) DeleteObject(font);
  }
}

FontHandle GdiTextEngine::createFont(std::string_view face, int points) {
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  // A negative height asks for the em height (the character height without internal leading).
  const int emPixels = static_cast<int>(std::lround(points * dpi / 72.0));
  const std::string name(face);
  HFONT font = CreateFontA(-emPixels, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                           OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_DONTCARE, name.c_str());
  if (!font) return 0;
  fonts_.push_back(font);
  return static_cast<FontHandle>(fonts_.size());
}

void GdiTextEngine::freeFont(FontHandle font) {
  if (font <= 0 || static_cast<std::size_t>(font) > fonts_.size()) return;
  HFONT& slot = fonts_[static_cast<std::size_t>(font) - 1];
  if (!slot) return;
  if (dc_ && GetCurrentObject(dc_, OBJ_FONT) == slot) SelectObject(dc_, dcFont_);
  DeleteObject(slot);
  slot = nullptr;
  // The game frees its one font on the way out; the DC and the scratch bitmap go with it.
  if (std::none_of(fonts_.begin(), fonts_.end(), [](HFONT f) { return f != nullptr; })) {
    releaseDc();
  }
}

HFONT GdiTextEngine::nativeFont(FontHandle font) const {
  if (font <= 0 || static_cast<std::size_t>(font) > fonts_.size()) return nullptr;
  return fonts_[static_cast<std::size_t>(font) - 1];
}

HDC GdiTextEngine::selectFont(FontHandle font) {
  if (!dc_) {
    dc_ = CreateCompatibleDC(nullptr);
    if (!dc_) return nullptr;
    dcFont_ = GetCurrentObject(dc_, OBJ_FONT);
    dcBitmap_ = GetCurrentObject(dc_, OBJ_BITMAP);
  }
  HGDIOBJ chosen = dcFont_;
  if (font > 0 && static_cast<std::size_t>(font) <= fonts_.size() &&
      fonts_[static_cast<std::size_t>(font) - 1]) {
    chosen = fonts_[static_cast<std::size_t>(font) - 1];
  }
  SelectObject(dc_, chosen);
  return dc_;
}

int GdiTextEngine::measureText(FontHandle font, std::string_view text) {
  if (text.empty()) return 0;
  HDC dc = selectFont(font);
  SIZE size{};
  if (!dc || !GetTextExtentPoint32A(dc, text.data(), Length(text), &size)) return 0;
  return static_cast<int>(size.cx);
}

void GdiTextEngine::rasterizeText(FontHandle font, std::string_view text, TextMask& mask) {
  mask.width = 0;
  mask.height = 0;
  mask.coverage.clear();
  HDC dc = selectFont(font);
  TEXTMETRICA metrics{};
  if (!dc || !GetTextMetricsA(dc, &metrics)) return;
  const int width = measureText(font, text);
  const int height = static_cast<int>(metrics.tmAscent + metrics.tmDescent);
  if (width <= 0 || height <= 0 || !ensureScratch(width, height)) return;

  // The box is drawn from the top, so the baseline lies the ascent below it; ETO_CLIPPED keeps
  // glyph parts outside the box out of a scratch bitmap that may be larger than the box.
  PatBlt(dc, 0, 0, width, height, BLACKNESS);
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
  RECT box{0, 0, width, height};
  ExtTextOutA(dc, 0, 0, ETO_CLIPPED, &box, text.data(), static_cast<UINT>(Length(text)), nullptr);
  // GDI may still be drawing into the section; its pixels are read directly next.
  GdiFlush();

  mask.width = width;
  mask.height = height;
  mask.coverage.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
  const std::size_t stride = static_cast<std::size_t>(Image::StrideFor(scratchWidth_));
  std::uint8_t* out = mask.coverage.data();
  for (int y = 0; y < height; ++y) {
    const std::uint8_t* p = scratchBits_ + static_cast<std::size_t>(y) * stride;
    // With sub-pixel smoothing the three channels differ; their mean is the coverage. A DIB
    // section stores blue, green, red.
    for (int x = 0; x < width; ++x, p += 3) *out++ = CoverageOfSubpixels(p[2], p[1], p[0]);
  }
}

bool GdiTextEngine::ensureScratch(int width, int height) {
  if (scratch_ && width <= scratchWidth_ && height <= scratchHeight_) return true;
  const int newWidth = std::max(width, scratchWidth_);
  const int newHeight = std::max(height, scratchHeight_);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = newWidth;
  info.bmiHeader.biHeight = -newHeight;  // top-down, like the game's images
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return false;
  }
  SelectObject(dc_, bitmap);
  if (scratch_) DeleteObject(scratch_);
  scratch_ = bitmap;
  scratchBits_ = static_cast<std::uint8_t*>(bits);
  scratchWidth_ = newWidth;
  scratchHeight_ = newHeight;
  return true;
}

void GdiTextEngine::releaseDc() {
  if (!dc_) return;
  SelectObject(dc_, dcFont_);
  SelectObject(dc_, dcBitmap_);
  DeleteDC(dc_);
  dc_ = nullptr;
  if (scratch_) DeleteObject(scratch_);
  scratch_ = nullptr;
  scratchBits_ = nullptr;
  scratchWidth_ = 0;
  scratchHeight_ = 0;
}

}  // namespace pax::win32
