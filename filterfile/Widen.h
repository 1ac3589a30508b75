#pragma once
// A file written in Latin-1 that meets a text Latin-1 cannot hold turns UTF-8
// as a whole: what was written is copied behind the UTF-8 byte order mark,
// each character widened.
#include <cstdint>
#include <vector>

namespace filterfile {

// Copies the Latin-1 bytes of descriptor `from` (from its start to its end)
// to descriptor `to` as the mark and UTF-8. Each of `offsets`, a position in
// the old bytes, becomes the position of the same character in the new
// ones. Returns 0 or the errno of the first failure.
int WidenLatin1(int from, int to, std::vector<uint64_t>& offsets, uint64_t& written);

// The position in a widened file of position `offset` of the Latin-1 one,
// given how many bytes at or above 0x80 stand before it.
inline uint64_t WidenedOffset(uint64_t offset, uint64_t highBefore) {
  return 3 + offset + highBefore;
}

}  // namespace filterfile
