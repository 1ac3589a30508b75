#include "sim/Utf8.h"

namespace esbsim {

namespace {

size_t AsciiPrefix(std::string_view s) {
  size_t i = 0;
  while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) ++i;
  return i;
}

}  // namespace

size_t Utf8Length(std::string_view text) {
  size_t chars = 0;
  for (size_t i = 0; i < text.size(); ++chars) {
    const auto lead = static_cast<unsigned char>(text[i]);
    if (lead < 0x80) {
      ++i;
      continue;
    }
    size_t more;
    unsigned char lo = 0x80, hi = 0xBF;  // the second byte's range
    if (lead >= 0xC2 && lead <= 0xDF) {
      more = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      more = 2;
      if (lead == 0xE0) lo = 0xA0;  // overlong
      if (lead == 0xED) hi = 0x9F;  // surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      more = 3;
      if (lead == 0xF0) lo = 0x90;  // overlong
      if (lead == 0xF4) hi = 0x8F;  // past U+10FFFF
    } else {
      return NotUtf8;
    }
    if (text.size() - i <= more) return NotUtf8;
    const auto second = static_cast<unsigned char>(text[i + 1]);
    if (second < lo || second > hi) return NotUtf8;
    for (size_t k = 2; k <= more; ++k)
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return NotUtf8;
    i += more + 1;
  }
  return chars;
}

bool FitsLatin1(std::string_view utf8) {
  for (char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    // Past ASCII, only the leads C2 and C3 (and their continuations) stay within U+00FF.
    if (c >= 0xC4 || (c >= 0xC0 && c < 0xC2)) return false;
  }
  return true;
}

void Latin1ToUtf8(std::string_view latin1, std::string& out) {
  const size_t ascii = AsciiPrefix(latin1);
  out.assign(latin1.substr(0, ascii));
  for (size_t i = ascii; i < latin1.size(); ++i) {
    const auto c = static_cast<unsigned char>(latin1[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
}

bool Utf8ToLatin1(std::string_view utf8, std::string& out) {
  const size_t ascii = AsciiPrefix(utf8);
  out.assign(utf8.substr(0, ascii));
  for (size_t i = ascii; i < utf8.size(); ++i) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    if (c < 0x80) {
      out += static_cast<char>(c);
      continue;
    }
    // Only C2 and C3 lead to U+0080..U+00FF.
    if ((c != 0xC2 && c != 0xC3) || i + 1 == utf8.size()) return false;
    const auto next = static_cast<unsigned char>(utf8[++i]);
    if ((next & 0xC0) != 0x80) return false;
    out += static_cast<char>(((c & 0x03) << 6) | (next & 0x3F));
  }
  return true;
}

}  // namespace esbsim
