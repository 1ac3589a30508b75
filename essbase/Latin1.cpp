#include "essbase/Latin1.h"

namespace essbase {

std::string Latin1ToUtf8(std::string_view latin1) {
  std::string out;
  out.reserve(latin1.size());
  for (char ch : latin1) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x80) {
      out += ch;
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

bool Utf8ToLatin1(std::string_view utf8, std::string& latin1, size_t& badAt) {
  latin1.clear();
  latin1.reserve(utf8.size());
  for (size_t i = 0; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      latin1 += static_cast<char>(c);
      continue;
    }
    // Only C2 and C3 lead to U+0080..U+00FF; anything else is either outside
    // Latin-1 or not UTF-8 at all.
    const bool pair = (c == 0xC2 || c == 0xC3) && i + 1 < utf8.size() &&
                      (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80;
    if (!pair) {
      badAt = i;
      return false;
    }
    latin1 += static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(utf8[++i]) & 0x3F));
  }
  return true;
}

}  // namespace essbase
