// Draws the game's pictures: the four 41 x 41 tile bitmaps and the application icon (an .ico file
// with 48, 32 and 16 pixel images, and PNG files of those three sizes and of 64, 128 and 256
// pixels for the desktop's software centres).
//
//   pax-make-assets <output folder>
//
// Everything is computed from the colour tables below, so the output is the same, byte for byte,
// on every run. The committed files in assets/ are this program's output.

#include <png.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

namespace {

constexpr int kTileSize = 41;
constexpr int kMid = kTileSize / 2;  // column 20, the lightest column of every row
constexpr int kLast = kTileSize - 1;

// A colour with real-valued channels, for the shading arithmetic before rounding.
struct Colour {
  double r = 0;
  double g = 0;
  double b = 0;
};

constexpr Colour Hex(std::uint32_t hex) {
  return Colour{static_cast<double>((hex >> 16) & 0xFF), static_cast<double>((hex >> 8) & 0xFF),
                static_cast<double>(hex & 0xFF)};
}

std::uint8_t ToByte(double v) {
  return static_cast<std::uint8_t>(std::clamp(std::floor(v + 0.5), 0.0, 255.0));
}

// Monotone piecewise-cubic interpolation through (x[i], y[i]): smooth, no overshoot between the
// given points, flat wherever neighbouring points are equal.
class MonotoneCurve {
 public:
  MonotoneCurve(std::vector<double> xs, std::vector<double> ys)
      : x_(std::move(xs)), y_(std::move(ys)), m_(x_.size(), 0.0) {
    const std::size_t n = x_.size();
    if (n < 2) return;
    std::vector<double> h(n - 1);
    std::vector<double> d(n - 1);
    for (std::size_t i = 0; i + 1 < n; ++i) {
      h[i] = x_[i + 1] - x_[i];
      d[i] = (y_[i + 1] - y_[i]) / h[i];
    }
    if (n == 2) {
      m_[0] = m_[1] = d[0];
      return;
    }
    for (std::size_t i = 1; i + 1 < n; ++i) {
      if (d[i - 1] * d[i] <= 0) continue;
      const double w1 = 2 * h[i] + h[i - 1];
      const double w2 = h[i] + 2 * h[i - 1];
      m_[i] = (w1 + w2) / (w1 / d[i - 1] + w2 / d[i]);
    }
    m_[0] = EndSlope(h[0], h[1], d[0], d[1]);
    m_[n - 1] = EndSlope(h[n - 2], h[n - 3], d[n - 2], d[n - 3]);
  }

  double operator()(double x) const {
    const std::size_t n = x_.size();
    if (x <= x_.front()) return y_.front();
    if (x >= x_.back()) return y_.back();
    std::size_t i = 0;
    while (i + 2 < n && x > x_[i + 1]) ++i;
    const double h = x_[i + 1] - x_[i];
    const double t = (x - x_[i]) / h;
    const double t2 = t * t;
    const double t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * y_[i] + (t3 - 2 * t2 + t) * h * m_[i] +
           (-2 * t3 + 3 * t2) * y_[i + 1] + (t3 - t2) * h * m_[i + 1];
  }

 private:
  static double EndSlope(double h0, double h1, double d0, double d1) {
    double m = ((2 * h0 + h1) * d0 - h0 * d1) / (h0 + h1);
    if (m * d0 <= 0) return 0;
    if (d0 * d1 <= 0 && std::abs(m) > std::abs(3 * d0)) m = 3 * d0;
    return m;
  }

  std::vector<double> x_;
  std::vector<double> y_;
  std::vector<double> m_;
};

// ---------------------------------------------------------------------------------------------
// Tiles
//
// Each tile is shaded like a tube lying on its side: deepest on row 19, paler toward the top and
// bottom edges, with the top edge a little paler than the bottom one. Across a row the colour is
// flat over the middle and falls off toward both sides; the fall-off is steeper in the upper half,
// which leaves a soft highlight across the top third.
//
// A pixel mixes the colour of its row at the middle column with the colour of its row at the side
// edge: pixel(x, y) = centre(y) + (edge(y) - centre(y)) * side(d, y), d being the distance from
// the nearer side edge. centre(y) and edge(y) run smoothly through the colours given for a few
// rows; side() is 1 at the edge and 0 from column 14 inward. The right edge is a touch paler than
// the left at the top and a touch deeper at the bottom, so it gets its own small offset.

// The rows at which the tile colours are pinned.
constexpr std::array<int, 12> kRows = {0, 4, 8, 12, 16, 19, 20, 24, 28, 32, 36, 40};

struct TileColours {
  std::array<std::uint32_t, kRows.size()> centre;  // column 20 at each row of kRows
  std::array<std::uint32_t, kRows.size()> left;    // column 0 at each row of kRows
  std::array<std::uint32_t, 3> right;              // column 40 at rows 0, 20 and 40
};

// Indexed by tile kind: 0 grey, 1 blue-violet, 2 red, 3 yellow. The grey tile is a darker shading
// of its own; the three coloured tiles share one shading, with one strong channel near full and
// one or two weak channels near empty.
constexpr std::array<TileColours, 4> kTiles = {{
    {{0x9D9D9D, 0x8E8E8E, 0x737373, 0x525252, 0x3B3B3B, 0x363636, 0x373737, 0x424242, 0x595959,
      0x747474, 0x898989, 0x949494},
     {0x929292, 0x7B7B7B, 0x606060, 0x434343, 0x333333, 0x2F2F2F, 0x303030, 0x3B3B3B, 0x515151,
      0x6E6E6E, 0x868686, 0x969696},
     {0x949494, 0x313131, 0x939393}},
    {{0xBFB3EF, 0xAB98F8, 0x886AFC, 0x5F35FF, 0x4411FF, 0x3D09FF, 0x3E09FF, 0x4B1BFF, 0x6740FF,
      0x886CFC, 0xA490F8, 0xB4A5EF},
     {0xAB9DE6, 0x927CEA, 0x7253EC, 0x5126EE, 0x3D0DEF, 0x3908EF, 0x3A09EF, 0x461AEF, 0x603CEF,
      0x8267ED, 0x9F8CEA, 0xB2A5E5},
     {0xAD9EEA, 0x3A09EF, 0xAFA3E4}},
    {{0xF1B5B5, 0xF99899, 0xFD6B6B, 0xFF3535, 0xFF1111, 0xFF0909, 0xFF0909, 0xFF1B1B, 0xFF4040,
      0xFD6C6D, 0xF99091, 0xF1A6A6},
     {0xE89E9F, 0xEC7C7D, 0xEE5353, 0xF02727, 0xF00D0D, 0xF00808, 0xF00909, 0xF01A1B, 0xF03C3D,
      0xEE6869, 0xED8D8E, 0xE8A7A7},
     {0xECA0A0, 0xF1090A, 0xE6A4A5}},
    {{0xF0E9B4, 0xF8EE98, 0xFDEE6B, 0xFFEC35, 0xFFEA11, 0xFFE909, 0xFFE909, 0xFFE91B, 0xFFEC40,
      0xFDED6C, 0xF8ED90, 0xF0E7A5},
     {0xE7DF9E, 0xEBDF7C, 0xEDDF53, 0xEFDC27, 0xEFDB0D, 0xF0DB08, 0xF0DB09, 0xEFDB1A, 0xEFDD3C,
      0xEDE068, 0xEBE18D, 0xE6DFA6},
     {0xEAE39F, 0xF0DB09, 0xE5DEA3}},
}};

// Side fall-off by distance from the side edge, for the upper rows (0 to 8) and for the middle and
// lower rows (12 to 40); rows 8 to 12 blend the two.
const std::vector<double> kSideDistances = {0, 1, 2, 5, 10, 14, 20};
const std::vector<double> kSideUpper = {1.0, 0.88, 0.73, 0.43, 0.14, 0.0, 0.0};
const std::vector<double> kSideLower = {1.0, 0.80, 0.667, 0.333, 0.067, 0.0, 0.0};

double Side(double d, double y) {
  static const MonotoneCurve upper(kSideDistances, kSideUpper);
  static const MonotoneCurve lower(kSideDistances, kSideLower);
  const double t = std::clamp((y - 8) / 4.0, 0.0, 1.0);
  const double w = t * t * (3 - 2 * t);
  return upper(d) + (lower(d) - upper(d)) * w;
}

// One channel of a tile as three curves over the rows.
struct ChannelCurves {
  MonotoneCurve centre;
  MonotoneCurve left;
  MonotoneCurve rightOffset;
};

using Channel = double Colour::*;

ChannelCurves CurvesFor(const TileColours& t, Channel c) {
  std::vector<double> rows(kRows.begin(), kRows.end());
  std::vector<double> centre;
  std::vector<double> left;
  for (std::size_t i = 0; i < kRows.size(); ++i) {
    centre.push_back(Hex(t.centre[i]).*c);
    left.push_back(Hex(t.left[i]).*c);
  }
  // Rows 0, 20 and 40 are entries 0, 6 and 11 of kRows.
  constexpr std::array<std::size_t, 3> kRightRows = {0, 6, 11};
  std::vector<double> offset;
  for (std::size_t i = 0; i < 3; ++i) offset.push_back(Hex(t.right[i]).*c - left[kRightRows[i]]);
  return ChannelCurves{MonotoneCurve(rows, centre), MonotoneCurve(rows, left),
                       MonotoneCurve({0, 20, 40}, offset)};
}

// Top-down rows of real-valued colours.
using Picture = std::vector<std::vector<Colour>>;

// The tile at `size` x `size` pixels: the curves are sampled at the centres of the pixels,
// which at 41 pixels are the whole columns and rows themselves. The large icons draw their tiles
// this way rather than enlarging the 41-pixel bitmap, which would show its pixels as blocks.
Picture DrawTile(const TileColours& t, int size = kTileSize) {
  const std::array<Channel, 3> channels = {&Colour::r, &Colour::g, &Colour::b};
  const double scale = static_cast<double>(kTileSize) / size;
  const auto n = static_cast<std::size_t>(size);
  Picture pic(n, std::vector<Colour>(n));
  for (Channel c : channels) {
    const ChannelCurves curves = CurvesFor(t, c);
    for (int y = 0; y < size; ++y) {
      const double v = std::clamp((y + 0.5) * scale - 0.5, 0.0, double{kLast});
      const double centre = curves.centre(v);
      const double left = curves.left(v);
      const double right = left + curves.rightOffset(v);
      for (int x = 0; x < size; ++x) {
        const double u = std::clamp((x + 0.5) * scale - 0.5, 0.0, double{kLast});
        const bool onRight = u > kMid;
        const double edge = onRight ? right : left;
        const double s = Side(onRight ? kLast - u : u, v);
        pic[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)].*c =
            centre + (edge - centre) * s;
      }
    }
  }
  return pic;
}

// The coloured tiles are one shading in three colours. Their own curves are pinned to colours that
// agree closely, but between the pinned rows they can drift a little apart; where a group of
// matching channels spreads wider than `limit`, squeeze it toward its middle.
void Squeeze(std::vector<double*> group, double limit) {
  const auto [lo, hi] = std::minmax_element(
      group.begin(), group.end(), [](const double* a, const double* b) { return *a < *b; });
  const double low = **lo;
  const double spread = **hi - low;
  if (spread <= limit) return;
  const double mid = low + spread / 2;
  for (double* v : group) *v = mid + (*v - mid) * limit / spread;
}

void ShareShading(std::array<Picture, 4>& tiles) {
  // A spread of at most n before rounding stays at most n after it.
  constexpr double kStrongSpread = 3 - 1e-6;
  constexpr double kWeakSpread = 2 - 1e-6;
  const std::size_t n = tiles[0].size();
  for (std::size_t y = 0; y < n; ++y) {
    for (std::size_t x = 0; x < n; ++x) {
      Colour& violet = tiles[1][y][x];
      Colour& red = tiles[2][y][x];
      Colour& yellow = tiles[3][y][x];
      Squeeze({&violet.b, &red.r, &yellow.r}, kStrongSpread);
      Squeeze({&violet.g, &red.g, &red.b, &yellow.b}, kWeakSpread);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// File writing

class Bytes {
 public:
  void U8(std::uint8_t v) { data_.push_back(v); }
  void U16(std::uint32_t v) {
    U8(static_cast<std::uint8_t>(v));
    U8(static_cast<std::uint8_t>(v >> 8));
  }
  void U32(std::uint32_t v) {
    U16(v & 0xFFFF);
    U16(v >> 16);
  }
  void I32(std::int32_t v) { U32(static_cast<std::uint32_t>(v)); }
  std::size_t size() const { return data_.size(); }
  const std::vector<std::uint8_t>& data() const { return data_; }

 private:
  std::vector<std::uint8_t> data_;
};

void BitmapInfoHeader(Bytes& out, int width, int height, int bits, std::uint32_t imageSize,
                      std::int32_t resolution) {
  out.U32(40);
  out.I32(width);
  out.I32(height);
  out.U16(1);
  out.U16(static_cast<std::uint32_t>(bits));
  out.U32(0);  // uncompressed
  out.U32(imageSize);
  out.I32(resolution);
  out.I32(resolution);
  out.U32(0);
  out.U32(0);
}

// A 24-bit bottom-up BMP file. Each row ends in one 0xFF fill byte.
Bytes TileBitmap(const Picture& pic, std::int32_t resolution) {
  constexpr std::uint32_t kRowBytes = 124;
  constexpr std::uint32_t kPixelOffset = 54;
  Bytes out;
  out.U8('B');
  out.U8('M');
  out.U32(kPixelOffset + kRowBytes * kTileSize);
  out.U16(0);
  out.U16(0);
  out.U32(kPixelOffset);
  BitmapInfoHeader(out, kTileSize, kTileSize, 24, 0, resolution);
  for (int y = kLast; y >= 0; --y) {
    for (const Colour& c : pic[static_cast<std::size_t>(y)]) {
      out.U8(ToByte(c.b));
      out.U8(ToByte(c.g));
      out.U8(ToByte(c.r));
    }
    out.U8(0xFF);
  }
  return out;
}

bool WriteFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& data) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
  return static_cast<bool>(f);
}

// ---------------------------------------------------------------------------------------------
// Icon
//
// Four reduced tiles in a 2 x 2 block: yellow top left, grey top right, blue-violet bottom left,
// red bottom right. The outer corners are rounded off through the alpha channel, and the outermost
// ring of pixels is slightly see-through, which softens the outline on any background.

struct Rgba {
  std::uint8_t r = 0;
  std::uint8_t g = 0;
  std::uint8_t b = 0;
  std::uint8_t a = 0;
};

struct IconImage {
  int size = 0;
  std::vector<Rgba> pixels;  // top-down, size * size
};

// Area-weighted reduction of a tile to n x n pixels.
std::vector<Colour> Reduce(const Picture& pic, int n) {
  const int from = static_cast<int>(pic.size());
  const double scale = static_cast<double>(from) / n;
  std::vector<Colour> out(static_cast<std::size_t>(n * n));
  for (int oy = 0; oy < n; ++oy) {
    for (int ox = 0; ox < n; ++ox) {
      Colour sum;
      double weight = 0;
      const double y0 = oy * scale;
      const double y1 = y0 + scale;
      const double x0 = ox * scale;
      const double x1 = x0 + scale;
      for (int sy = static_cast<int>(y0); sy < from && sy < y1; ++sy) {
        const double wy = std::min(y1, sy + 1.0) - std::max(y0, static_cast<double>(sy));
        for (int sx = static_cast<int>(x0); sx < from && sx < x1; ++sx) {
          const double w = wy * (std::min(x1, sx + 1.0) - std::max(x0, static_cast<double>(sx)));
          const Colour& c = pic[static_cast<std::size_t>(sy)][static_cast<std::size_t>(sx)];
          sum.r += c.r * w;
          sum.g += c.g * w;
          sum.b += c.b * w;
          weight += w;
        }
      }
      out[static_cast<std::size_t>(oy * n + ox)] =
          Colour{sum.r / weight, sum.g / weight, sum.b / weight};
    }
  }
  return out;
}

// How the outline of one icon size is rounded: the alpha of the edge pixels nearest each corner,
// and the radius of the rounding.
struct CornerShape {
  int size;
  double radius;
  // Alpha along an edge, starting at the corner pixel. Empty for the large sizes, whose outline
  // simply fades out within one pixel beyond the arc.
  std::vector<double> edgeRun;
};

constexpr double kRimAlpha = 220;    // the outermost ring of pixels
constexpr double kInnerAlpha = 245;  // the ring just inside it

// Alpha of a pixel at column i and row j counted from the nearest corner (both from 0).
double CornerAlpha(const CornerShape& shape, int i, int j) {
  const double r = shape.radius;
  double depth = std::min(i, j);  // rings counted from the outline, along the straight edges
  if (i < r && j < r) {
    const double d = std::hypot(r - i, r - j);
    if (d > r && shape.edgeRun.empty()) return kRimAlpha * std::max(0.0, r + 1 - d);
    if (d > r) {
      // Beyond the arc: follow the edge run, keyed by the distance from the arc's centre.
      std::vector<double> ds;
      std::vector<double> as;
      for (int k = static_cast<int>(shape.edgeRun.size()) - 1; k >= 0; --k) {
        ds.push_back(std::hypot(r - k, r));
        as.push_back(shape.edgeRun[static_cast<std::size_t>(k)]);
      }
      return MonotoneCurve(ds, as)(d);
    }
    depth = r - d;
  }
  if (depth >= 2) return 255;
  if (depth >= 1) return kInnerAlpha + (255 - kInnerAlpha) * (depth - 1);
  return kRimAlpha + (kInnerAlpha - kRimAlpha) * depth;
}

// Each quadrant is a tile at half the icon's size: reduced from the 41-pixel tiles for the small
// icons, drawn at that size for the icons whose quadrants are larger than a tile.
IconImage DrawIcon(const std::array<Picture, 4>& tiles, const CornerShape& shape) {
  const int n = shape.size;
  const int q = n / 2;
  std::array<Picture, 4> large;
  if (q > kTileSize) {
    for (std::size_t kind = 0; kind < large.size(); ++kind) large[kind] = DrawTile(kTiles[kind], q);
    ShareShading(large);
  }
  // Quadrants in reading order: top left, top right, bottom left, bottom right.
  constexpr std::array<std::size_t, 4> kQuadrantKinds = {3, 0, 1, 2};
  std::array<std::vector<Colour>, 4> reduced;
  for (std::size_t k = 0; k < 4; ++k) {
    const std::size_t kind = kQuadrantKinds[k];
    reduced[k] = Reduce(q > kTileSize ? large[kind] : tiles[kind], q);
  }

  IconImage img{n, std::vector<Rgba>(static_cast<std::size_t>(n * n))};
  for (int y = 0; y < n; ++y) {
    for (int x = 0; x < n; ++x) {
      const std::size_t quadrant = static_cast<std::size_t>((y >= q ? 2 : 0) + (x >= q ? 1 : 0));
      const Colour c = reduced[quadrant][static_cast<std::size_t>((y % q) * q + (x % q))];
      const int i = std::min(x, n - 1 - x);
      const int j = std::min(y, n - 1 - y);
      img.pixels[static_cast<std::size_t>(y * n + x)] =
          Rgba{ToByte(c.r), ToByte(c.g), ToByte(c.b), ToByte(CornerAlpha(shape, i, j))};
    }
  }
  return img;
}

// Pixels below this alpha are also marked transparent in the AND mask, for old icon renderers.
constexpr std::uint8_t kMaskBelow = 64;

// One image of the .ico file: info header, BGRA pixels bottom-up, then the 1-bit AND mask.
Bytes IconEntry(const IconImage& img) {
  const int n = img.size;
  const std::uint32_t maskRow = static_cast<std::uint32_t>((n + 31) / 32 * 4);
  const std::uint32_t pixelBytes = static_cast<std::uint32_t>(n * n * 4);
  const std::uint32_t maskBytes = maskRow * static_cast<std::uint32_t>(n);
  Bytes out;
  BitmapInfoHeader(out, n, 2 * n, 32, pixelBytes + maskBytes, 0);
  for (int y = n - 1; y >= 0; --y) {
    for (int x = 0; x < n; ++x) {
      const Rgba& p = img.pixels[static_cast<std::size_t>(y * n + x)];
      out.U8(p.b);
      out.U8(p.g);
      out.U8(p.r);
      out.U8(p.a);
    }
  }
  for (int y = n - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(maskRow, 0);
    for (int x = 0; x < n; ++x) {
      if (img.pixels[static_cast<std::size_t>(y * n + x)].a < kMaskBelow) {
        row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
    for (std::uint8_t b : row) out.U8(b);
  }
  return out;
}

Bytes IconFile(const std::vector<IconImage>& images) {
  std::vector<Bytes> entries;
  for (const IconImage& img : images) entries.push_back(IconEntry(img));
  Bytes out;
  out.U16(0);
  out.U16(1);  // icon
  out.U16(static_cast<std::uint32_t>(images.size()));
  std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const auto size = static_cast<std::uint8_t>(images[i].size);
    out.U8(size);
    out.U8(size);
    out.U8(0);  // colour count: not a palette image
    out.U8(0);
    out.U16(1);   // planes
    out.U16(32);  // bits per pixel
    out.U32(static_cast<std::uint32_t>(entries[i].size()));
    out.U32(offset);
    offset += static_cast<std::uint32_t>(entries[i].size());
  }
  for (const Bytes& e : entries) {
    for (std::uint8_t b : e.data()) out.U8(b);
  }
  return out;
}

// An 8-bit RGBA PNG of one icon image. No time stamp or text chunks, so the bytes depend only on
// the pixels.
bool WritePng(const char* path, const IconImage& img) {
  const auto n = static_cast<png_uint_32>(img.size);
  std::vector<png_byte> rgba;
  for (const Rgba& p : img.pixels) rgba.insert(rgba.end(), {p.r, p.g, p.b, p.a});
  const png_byte* rows = rgba.data();

  std::FILE* f = std::fopen(path, "wb");
  if (f == nullptr) return false;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png != nullptr ? png_create_info_struct(png) : nullptr;
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_compression_level(png, 9);
  png_set_IHDR(png, info, n, n, 8, PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_write_info(png, info);
  for (png_uint_32 y = 0; y < n; ++y) png_write_row(png, rows + y * n * 4);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << "usage: pax-make-assets <output folder>\n";
    return 2;
  }
  const std::filesystem::path out = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(out / "icons", ec);
  if (ec) {
    std::cerr << "cannot create " << (out / "icons").string() << ": " << ec.message() << '\n';
    return 1;
  }

  bool ok = true;
  std::array<Picture, 4> tiles;
  for (std::size_t kind = 0; kind < tiles.size(); ++kind) tiles[kind] = DrawTile(kTiles[kind]);
  ShareShading(tiles);
  for (std::size_t kind = 0; kind < tiles.size(); ++kind) {
    // The grey tile was saved at a slightly different resolution; nothing reads it.
    const std::int32_t resolution = kind == 0 ? 3776 : 3777;
    ok &= WriteFile(out / ("tile" + std::to_string(kind) + ".bmp"),
                    TileBitmap(tiles[kind], resolution).data());
  }

  const std::vector<CornerShape> shapes = {
      {48, 5, {0, 13, 104, 170, 173}},
      {32, 5, {0, 13, 107, 175, 179}},
      {16, 3, {10, 125, 188}},
  };
  std::vector<IconImage> images;
  for (const CornerShape& shape : shapes) {
    images.push_back(DrawIcon(tiles, shape));
    const std::string name = "paxmorella-" + std::to_string(shape.size) + ".png";
    ok &= WritePng((out / "icons" / name).string().c_str(), images.back());
  }
  ok &= WriteFile(out / "paxmorella.ico", IconFile(images).data());

  // Only as PNG files: the program's own icon keeps the three sizes above. The rounding keeps
  // the proportion of the 48-pixel icon, about a tenth of the side.
  const std::vector<CornerShape> largeShapes = {{64, 7, {}}, {128, 13, {}}, {256, 26, {}}};
  for (const CornerShape& shape : largeShapes) {
    const std::string name = "paxmorella-" + std::to_string(shape.size) + ".png";
    ok &= WritePng((out / "icons" / name).string().c_str(), DrawIcon(tiles, shape));
  }

  if (!ok) {
    std::cerr << "pax-make-assets: could not write every file to " << out.string() << '\n';
    return 1;
  }
  return 0;
}
