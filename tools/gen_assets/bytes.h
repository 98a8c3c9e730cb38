// Little-endian values and raw bytes appended to a file being built in memory.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

inline void put_u16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}
inline void put_u32(std::vector<uint8_t>& out, uint32_t v) {
  for (int k = 0; k < 4; ++k) out.push_back(static_cast<uint8_t>(v >> (8 * k)));
}
// A tag such as "RIFF" (byte by byte: inserting a braced list trips a false overflow warning
// in GCC 12's optimiser).
inline void put_bytes(std::vector<uint8_t>& out, std::string_view bytes) {
  for (char c : bytes) out.push_back(static_cast<uint8_t>(c));
}
