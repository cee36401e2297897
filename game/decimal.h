#pragma once

#include <cstdint>
#include <string>

namespace pax {

// Every number the game shows: plain signed decimal, no leading zeros, grouping or fill.
inline std::string Decimal(std::int32_t value) {
  return std::to_string(value);
}

}  // namespace pax
