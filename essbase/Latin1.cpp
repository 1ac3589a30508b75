#include "essbase/Latin1.h"

namespace essbase {
namespace {

// Where the run of ASCII bytes from `from` ends: rows are mostly ASCII, and
// a run appended whole costs a fraction of a byte at a time.
size_t AsciiEnd(std::string_view text, size_t from) {
  while (from < text.size() && static_cast<unsigned char>(text[from]) < 0x80) ++from;
  return from;
}

}  // namespace

std::string Latin1ToUtf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (size_t i = 0; i < latin1.size();) {
    const size_t end = AsciiEnd(latin1, i);
    out.append(latin1.data() + i, end - i);
    if (end == latin1.size()) break;
    const auto c = static_cast<unsigned char>(latin1[end]);
    const char pair[2] = {static_cast<char>(0xC0 | (c >> 6)), static_cast<char>(0x80 | (c & 0x3F))};
    out.append(pair, 2);
    i = end + 1;
  }
  return out;
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
