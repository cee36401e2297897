#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace pax {

// Unsigned little-endian fields of the file formats the platforms read (BMP, ICO). The caller
// checks that the bytes exist.
inline std::uint32_t ReadLe16(std::span<const std::uint8_t> data, std::size_t at) {
  return std::uint32_t{data[at]} | std::uint32_t{data[at + 1]} << 8;
}

inline std::uint32_t ReadLe32(std::span<const std::uint8_t> data, std::size_t at) {
  return ReadLe16(data, at) | ReadLe16(data, at + 2) << 16;
}

}  // namespace pax
