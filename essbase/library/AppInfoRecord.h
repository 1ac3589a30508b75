#pragma once
// The application-information record of EsbGetApplicationInfo.
//            layout A (generation 6, 52 bytes)  layout B (5.0.2, 48 bytes)
//   name     0, 8 bytes                          0
//   server   8, 30 bytes                         8
//   u16      38 (not read)                       38 load state
//   u16      40 load state                       40 (not read)
//   u16      42                                  42
//   u16      44 (A only), 46 two fill bytes
//   u32      48                                  44
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "essbase/Generation.h"

namespace essbase {

struct AppInfo {
  std::string_view application;
  std::string_view server;
  bool loaded = false;
  uint16_t other = 0;      // the 16-bit value beside the load state
  uint16_t databases = 0;  // third 16-bit value
  uint32_t elapsed = 0;    // the trailing 32-bit value
};

constexpr size_t AppInfoSize(Generation g) {
  return g == Generation::V6 ? 52 : 48;
}
constexpr size_t LoadStateOffset(Generation g) {
  return g == Generation::V6 ? 40 : 38;
}

// Fills record (AppInfoSize(g) bytes) in the layout of g; load state 1 or 0.
void WriteAppInfo(std::span<uint8_t> record, Generation g, const AppInfo& info);

// Reads only the load state, at the position of g: non-zero means loaded.
bool ReadLoadState(std::span<const uint8_t> record, Generation g);

}  // namespace essbase
