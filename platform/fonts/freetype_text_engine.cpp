#include "platform/fonts/freetype_text_engine.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_BITMAP_H
#include FT_TRUETYPE_TABLES_H

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <vector>

namespace pax {
namespace {

// The size a font is given when it is asked for by handle 0 before anyone created one.
constexpr std::string_view DEFAULT_FACE = "Verdana";
constexpr int DEFAULT_POINTS = 10;

struct LibraryDeleter {
  void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
  void operator()(FT_Face face) const { FT_Done_Face(face); }
};
struct ConfigDeleter {
  void operator()(FcConfig* config) const { FcConfigDestroy(config); }
};
struct PatternDeleter {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
struct FontSetDeleter {
  void operator()(FcFontSet* set) const { FcFontSetDestroy(set); }
};

using LibraryPtr = std::unique_ptr<FT_LibraryRec_, LibraryDeleter>;
using FacePtr = std::unique_ptr<FT_FaceRec_, FaceDeleter>;
using ConfigPtr = std::unique_ptr<FcConfig, ConfigDeleter>;
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;
using FontSetPtr = std::unique_ptr<FcFontSet, FontSetDeleter>;

// Font units scaled to pixels and rounded to the nearest pixel, the way the metrics of a font
// asked for by em height come out on Windows.
int ScaleToPixels(long units, int pixels, int unitsPerEm) {
  if (units <= 0 || unitsPerEm <= 0) return 0;
  const std::int64_t scaled = static_cast<std::int64_t>(units) * pixels;
  return static_cast<int>((2 * scaled + unitsPerEm) / (2 * static_cast<std::int64_t>(unitsPerEm)));
}

int RoundPixels(FT_Pos fixed26_6) {
  return static_cast<int>((fixed26_6 + 32) >> 6);
}

// One character's rendered glyph: its advance in 26.6 pixels and its coverage, placed relative
// to the pen position on the baseline.
struct Glyph {
  FT_Pos advance = 0;
  int left = 0;
  int top = 0;
  int width = 0;
  int rows = 0;
  std::vector<std::uint8_t> coverage;
};

struct Font {
  FacePtr face;
  std::string name;  // family and style
  std::string file;
  int ascent = 0;
  int descent = 0;
  // The game's texts are single bytes, so one slot per byte value covers every glyph it draws.
  std::array<std::optional<Glyph>, 256> glyphs;
};

// Copies a rendered glyph's bitmap as 0..255 coverage, top row first, whatever pixel mode
// FreeType produced (grey for outlines; bitmap strikes may be mono or colour).
void CopyCoverage(FT_Library library, const FT_Bitmap& rendered, Glyph& glyph) {
  FT_Bitmap converted;
  FT_Bitmap_Init(&converted);
  const FT_Bitmap* source = &rendered;
  if (rendered.pixel_mode != FT_PIXEL_MODE_GRAY) {
    if (FT_Bitmap_Convert(library, &rendered, &converted, 1) != 0) {
      FT_Bitmap_Done(library, &converted);
      return;
    }
    source = &converted;
  }
  const int width = static_cast<int>(source->width);
  const int rows = static_cast<int>(source->rows);
  const int grays = std::max(2, static_cast<int>(source->num_grays));
  glyph.width = width;
  glyph.rows = rows;
  glyph.coverage.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows));
  // A negative pitch means the rows lie bottom-up in memory; the buffer starts at the last row.
  const std::ptrdiff_t pitch = source->pitch;
  const unsigned char* top = source->buffer;
  if (pitch < 0 && rows > 0) top -= pitch * (rows - 1);
  for (int y = 0; y < rows; ++y) {
    const unsigned char* row = top + pitch * y;
    for (int x = 0; x < width; ++x) {
      const int value = std::min(grays - 1, static_cast<int>(row[x])) * 255 / (grays - 1);
      glyph.coverage[static_cast<std::size_t>(y * width + x)] = static_cast<std::uint8_t>(value);
    }
  }
  FT_Bitmap_Done(library, &converted);
}

}  // namespace

struct FreeTypeTextEngine::State {
  int dpi = 96;
  // Declared before the fonts so that the faces are released before the library that made them.
  LibraryPtr library;
  ConfigPtr config;
  std::map<FontHandle, std::unique_ptr<Font>> fonts;
  FontHandle nextHandle = 1;
  std::unique_ptr<Font> defaultFont;
  bool defaultTried = false;
  bool reportedMissing = false;
  bool debug = false;

  std::unique_ptr<Font> load(std::string_view faceName, int points);
  std::unique_ptr<Font> open(const FcPattern& candidate, int pixels) const;
  Font* find(FontHandle handle);
  const Glyph& glyph(Font& font, unsigned char code) const;
};

// Asks fontconfig for its candidates in order of preference and takes the first that FreeType
// can load at the size: where the system lacks the face, fontconfig's own substitute comes first.
std::unique_ptr<Font> FreeTypeTextEngine::State::load(std::string_view faceName, int points) {
  const int pixels =
      std::max(1, static_cast<int>(std::lround(static_cast<double>(points) * dpi / 72.0)));
  std::unique_ptr<Font> font;
  if (library && config) {
    PatternPtr pattern(FcPatternCreate());
    if (pattern) {
      const std::string family(faceName);
      if (!family.empty()) {
        FcPatternAddString(pattern.get(), FC_FAMILY,
                           reinterpret_cast<const FcChar8*>(family.c_str()));
      }
      FcPatternAddInteger(pattern.get(), FC_WEIGHT, FC_WEIGHT_REGULAR);
      FcPatternAddInteger(pattern.get(), FC_SLANT, FC_SLANT_ROMAN);
      FcPatternAddDouble(pattern.get(), FC_PIXEL_SIZE, pixels);
      FcConfigSubstitute(config.get(), pattern.get(), FcMatchPattern);
      FcDefaultSubstitute(pattern.get());
      FcResult result = FcResultNoMatch;
      FontSetPtr candidates(FcFontSort(config.get(), pattern.get(), FcTrue, nullptr, &result));
      for (int i = 0; candidates && i < candidates->nfont && !font; ++i) {
        PatternPtr prepared(FcFontRenderPrepare(config.get(), pattern.get(), candidates->fonts[i]));
        if (prepared) font = open(*prepared, pixels);
      }
    }
  }
  if (!font) {
    if (!reportedMissing) {
      std::fputs("paxmorella: no font found; texts are not drawn\n", stderr);
      reportedMissing = true;
    }
    return nullptr;
  }
  if (debug) {
    std::fprintf(stderr, "paxmorella: font \"%.*s\" %d pt: %s (%s), %d px, ascent %d, descent %d\n",
                 static_cast<int>(faceName.size()), faceName.data(), points, font->name.c_str(),
                 font->file.c_str(), pixels, font->ascent, font->descent);
  }
  return font;
}

std::unique_ptr<Font> FreeTypeTextEngine::State::open(const FcPattern& candidate,
                                                      int pixels) const {
  FcChar8* file = nullptr;
  if (FcPatternGetString(&candidate, FC_FILE, 0, &file) != FcResultMatch || !file) return nullptr;
  int index = 0;
  FcPatternGetInteger(&candidate, FC_INDEX, 0, &index);
  FT_Face raw = nullptr;
  if (FT_New_Face(library.get(), reinterpret_cast<const char*>(file), index, &raw) != 0) {
    return nullptr;
  }
  auto font = std::make_unique<Font>();
  font->face.reset(raw);
  FT_Face face = raw;
  if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) != 0) return nullptr;
  // Byte values are taken as Latin-1, which is the start of Unicode.
  FT_Select_Charmap(face, FT_ENCODING_UNICODE);

  // The line's ascent and descent follow the Windows metrics of the face, so that the box is as
  // tall as the one the game was laid out with.
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  const int unitsPerEm = face->units_per_EM;
  if (os2 && os2->version != 0xFFFF && unitsPerEm > 0 && os2->usWinAscent + os2->usWinDescent > 0) {
    font->ascent = ScaleToPixels(os2->usWinAscent, pixels, unitsPerEm);
    font->descent = ScaleToPixels(os2->usWinDescent, pixels, unitsPerEm);
  } else if (FT_IS_SCALABLE(face) && unitsPerEm > 0) {
    font->ascent = ScaleToPixels(face->ascender, pixels, unitsPerEm);
    font->descent = ScaleToPixels(-static_cast<long>(face->descender), pixels, unitsPerEm);
  } else {
    font->ascent = std::max(0, RoundPixels(face->size->metrics.ascender));
    font->descent = std::max(0, RoundPixels(-face->size->metrics.descender));
  }

  font->name = face->family_name ? face->family_name : "";
  if (face->style_name) font->name += std::string(" ") + face->style_name;
  font->file = reinterpret_cast<const char*>(file);
  return font;
}

FreeTypeTextEngine::FreeTypeTextEngine(int verticalDpi) : state_(std::make_unique<State>()) {
  state_->dpi = verticalDpi > 0 ? verticalDpi : 96;
  state_->debug = std::getenv("PAX_DEBUG_FONTS") != nullptr;
  FT_Library library = nullptr;
  if (FT_Init_FreeType(&library) == 0) state_->library.reset(library);
  state_->config.reset(FcInitLoadConfigAndFonts());
}

FreeTypeTextEngine::~FreeTypeTextEngine() = default;

FontHandle FreeTypeTextEngine::createFont(std::string_view face, int points) {
  std::unique_ptr<Font> font = state_->load(face, points);
  if (!font) return 0;
  const FontHandle handle = state_->nextHandle++;
  state_->fonts.emplace(handle, std::move(font));
  return handle;
}

void FreeTypeTextEngine::freeFont(FontHandle font) {
  state_->fonts.erase(font);
}

Font* FreeTypeTextEngine::State::find(FontHandle handle) {
  if (handle == 0) {
    if (!defaultTried) {
      defaultTried = true;
      defaultFont = load(DEFAULT_FACE, DEFAULT_POINTS);
    }
    return defaultFont.get();
  }
  auto it = fonts.find(handle);
  return it == fonts.end() ? nullptr : it->second.get();
}

// Renders on first use and keeps the result: the game draws the same few texts every frame.
const Glyph& FreeTypeTextEngine::State::glyph(Font& font, unsigned char code) const {
  std::optional<Glyph>& slot = font.glyphs[code];
  if (slot) return *slot;
  slot.emplace();
  FT_Face face = font.face.get();
  const FT_UInt index = FT_Get_Char_Index(face, code);
  if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0) return *slot;
  FT_GlyphSlot loaded = face->glyph;
  slot->advance = loaded->advance.x;
  if (loaded->format != FT_GLYPH_FORMAT_BITMAP &&
      FT_Render_Glyph(loaded, FT_RENDER_MODE_NORMAL) != 0) {
    return *slot;
  }
  slot->left = loaded->bitmap_left;
  slot->top = loaded->bitmap_top;
  CopyCoverage(library.get(), loaded->bitmap, *slot);
  return *slot;
}

int FreeTypeTextEngine::measureText(FontHandle font, std::string_view text) {
  Font* found = state_->find(font);
  if (!found) return 0;
  FT_Pos width = 0;
  for (char c : text) width += state_->glyph(*found, static_cast<unsigned char>(c)).advance;
  return std::max(0, RoundPixels(width));
}

void FreeTypeTextEngine::rasterizeText(FontHandle font, std::string_view text, TextMask& mask) {
  // The mask's storage is kept from call to call: the frame draws its texts without allocating.
  mask.width = 0;
  mask.height = 0;
  mask.coverage.clear();
  Font* found = state_->find(font);
  if (!found) return;
  mask.width = measureText(font, text);
  mask.height = found->ascent + found->descent;
  mask.coverage.assign(static_cast<std::size_t>(mask.width) * static_cast<std::size_t>(mask.height),
                       0);
  FT_Pos pen = 0;
  for (char c : text) {
    const Glyph& g = state_->glyph(*found, static_cast<unsigned char>(c));
    const int originX = RoundPixels(pen) + g.left;
    const int originY = found->ascent - g.top;
    const int firstRow = std::max(0, -originY);
    const int lastRow = std::min(g.rows, mask.height - originY);
    const int firstColumn = std::max(0, -originX);
    const int lastColumn = std::min(g.width, mask.width - originX);
    for (int y = firstRow; y < lastRow; ++y) {
      for (int x = firstColumn; x < lastColumn; ++x) {
        std::uint8_t& out =
            mask.coverage[static_cast<std::size_t>((originY + y) * mask.width + originX + x)];
        // Neighbouring glyphs may overlap; the darker coverage wins, as with ink.
        out = std::max(out, g.coverage[static_cast<std::size_t>(y * g.width + x)]);
      }
    }
    pen += g.advance;
  }
}

std::string FreeTypeTextEngine::faceName(FontHandle font) {
  const Font* found = state_->find(font);
  return found ? found->name : std::string();
}

}  // namespace pax
