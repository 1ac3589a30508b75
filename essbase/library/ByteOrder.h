#pragma once
// Little-endian field access for the records exchanged with the library.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

namespace essbase {

inline void PutU16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}
inline void PutU32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}
inline uint16_t GetU16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t GetU32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
inline void PutBlankPadded(uint8_t* p, size_t width, std::string_view text) {
  size_t n = std::min(width, text.size());
  if (n) std::memcpy(p, text.data(), n);  // an empty view may carry a null pointer
  std::memset(p + n, ' ', width - n);
}
// Fixed-width text field: NUL-padded; a text that fills it has no NUL.
inline void PutFixed(uint8_t* p, size_t width, std::string_view text) {
  size_t n = std::min(width, text.size());
  if (n) std::memcpy(p, text.data(), n);
  std::memset(p + n, 0, width - n);
}
// The text of a fixed-width field: up to its first NUL, at most width bytes.
inline std::string_view GetFixed(const char* p, size_t width) {
  const void* nul = std::memchr(p, 0, width);
  return {p, nul ? static_cast<size_t>(static_cast<const char*>(nul) - p) : width};
}

}  // namespace essbase
