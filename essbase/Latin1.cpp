#include "essbase/Latin1.h"

#include <cstdint>
#include <cstring>

namespace essbase {

// Rows are mostly ASCII, and a run appended whole costs a fraction of a byte
// at a time; eight bytes are tested at once.
size_t AsciiEnd(std::string_view text, size_t from) {
  constexpr uint64_t kHigh = 0x8080808080808080ull;
  for (uint64_t word; from + 8 <= text.size(); from += 8) {
    std::memcpy(&word, text.data() + from, 8);
    if (word & kHigh) break;
  }
  while (from < text.size() && static_cast<unsigned char>(text[from]) < 0x80) ++from;
  return from;
}

std::string Latin1ToUtf8(std::string_view latin1) {
  std::string out;
  Latin1ToUtf8(latin1, out);
  return out;
}

void Latin1ToUtf8(std::string_view latin1, std::string& out) {
  const size_t ascii = AsciiEnd(latin1);
  if (ascii == latin1.size()) {
    out.assign(latin1);
    return;
  }
  out.clear();
  out.reserve(latin1.size() + (latin1.size() - ascii));
  for (size_t i = 0; i < latin1.size();) {
    const size_t end = AsciiEnd(latin1, i);
    out.append(latin1.data() + i, end - i);
    if (end == latin1.size()) break;
    const auto c = static_cast<unsigned char>(latin1[end]);
    const char pair[2] = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    out.append(pair, 2);
    i = end + 1;
  }
}

bool Utf8ToLatin1(std::string_view utf8, std::string& latin1, size_t& badAt) {
  latin1.clear();
  latin1.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size();) {
    const size_t end = AsciiEnd(utf8, i);
    latin1.append(utf8.data() + i, end - i);
    if (end == utf8.size()) break;
    i = end;
    const auto c = static_cast<unsigned char>(utf8[i]);
    // Only C2 and C3 lead to U+0080..U+00FF; anything else is either outside
    // Latin-1 or not UTF-8 at all.
    const bool pair = (c == 0xC2 || c == 0xC3) && i + 1 < utf8.size() &&
                      (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80;
    if (!pair) {
      badAt = i;
      return false;
    }
    latin1 +=
        static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3F));
    i += 2;
  }
  return true;
}

}  // namespace essbase
