#pragma once
// Which client API generation a program is built for: fixed at build time by
// QUORVEL_API_GENERATION (6 or 5), never detected at run time.
#include <cstdint>

namespace essbase {

enum class Generation { V6, V5 };

constexpr uint32_t InitVersion(Generation g) {
  return g == Generation::V6 ? 0x60000u : 0x50200u;
}

#ifdef QUORVEL_API_GENERATION
#if QUORVEL_API_GENERATION == 6
constexpr Generation BuildGeneration = Generation::V6;
#elif QUORVEL_API_GENERATION == 5
constexpr Generation BuildGeneration = Generation::V5;
#else
#error "QUORVEL_API_GENERATION must be 6 or 5"
#endif
#endif

}  // namespace essbase
