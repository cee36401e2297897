#include "ppm.h"

#include <cctype>
#include <string>

namespace pax {

std::vector<std::uint8_t> EncodePpm(const Image& image) {
  const std::string header =
      "P6\n" + std::to_string(image.width()) + ' ' + std::to_string(image.height()) + "\n255\n";
  std::vector<std::uint8_t> out(header.begin(), header.end());
  out.reserve(out.size() + 3 * static_cast<std::size_t>(image.width()) *
                               static_cast<std::size_t>(image.height()));
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const Rgb c = image.pixel(x, y);
      out.insert(out.end(), {c.r, c.g, c.b});
    }
  }
  return out;
}

Image DecodePpm(std::span<const std::uint8_t> data) {
  std::size_t at = 0;
  // The next header field; comments run from # to the end of their line.
  auto field = [&]() {
    while (at < data.size()) {
      if (data[at] == '#') {
        while (at < data.size() && data[at] != '\n') ++at;
      } else if (std::isspace(data[at])) {
        ++at;
      } else {
        break;
      }
    }
    std::string text;
    while (at < data.size() && !std::isspace(data[at]) && text.size() < 12) {
      text += static_cast<char>(data[at++]);
    }
    return text;
  };
  auto number = [](const std::string& text) {
    if (text.empty() || text.size() > 6) return 0;
    int value = 0;
    for (char c : text) {
      if (c < '0' || c > '9') return 0;
      value = value * 10 + (c - '0');
    }
    return value;
  };
  if (field() != "P6") return {};
  const int width = number(field());
  const int height = number(field());
  if (field() != "255" || width <= 0 || height <= 0) return {};
  ++at;  // the one whitespace byte before the samples
  const std::size_t bytes = 3 * static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  if (at > data.size() || data.size() - at < bytes) return {};
  Image image(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      image.setPixel(x, y, Rgb{data[at], data[at + 1], data[at + 2]});
      at += 3;
    }
  }
  return image;
}

}  // namespace pax
