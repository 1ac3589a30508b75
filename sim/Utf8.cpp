#include "sim/Utf8.h"

#include <cstdint>
#include <cstring>

namespace esbsim {

namespace {

// Eight bytes at a time: rows are nearly always ASCII through and through.
size_t AsciiPrefix(std::string_view s) {
  constexpr uint64_t kHigh = 0x8080808080808080ull;
  size_t i = 0;
  for (uint64_t word; i + 8 <= s.size(); i += 8) {
    std::memcpy(&word, s.data() + i, 8);
    if (word & kHigh) break;
  }
  while (i < s.size() && static_cast<unsigned char>(s[i]) < 0x80) ++i;
  return i;
}

// FitsLatin1's test of one byte.
bool OutsideLatin1(unsigned char c) {
  // Past ASCII, only the leads C2 and C3 (and their continuations) stay within U+00FF.
  return c >= 0xC4 || (c >= 0xC0 && c < 0xC2);
}

}  // namespace

size_t Utf8Length(std::string_view text) {
  // Each byte of the ASCII run a text nearly always starts with, or is, is a
  // character.
  size_t chars = AsciiPrefix(text);
  for (size_t i = chars; i < text.size(); ++chars) {
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
  for (size_t i = AsciiPrefix(utf8); i < utf8.size(); ++i)
    if (OutsideLatin1(static_cast<unsigned char>(utf8[i]))) return false;
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

InPlace ToLatin1InPlace(std::string& text) {
  const size_t n = text.size();
  size_t i = AsciiPrefix(text);
  if (i == n) return InPlace::Latin1;
  char* p = text.data();
  size_t out = i;  // never past i: each pair becomes one byte
  while (i < n) {
    const auto c = static_cast<unsigned char>(p[i]);
    if (c < 0x80) {
      p[out++] = p[i++];
      continue;
    }
    if (OutsideLatin1(c)) return InPlace::NotLatin1;
    // As Utf8ToLatin1: only C2 and C3 lead to U+0080..U+00FF, each with one
    // continuation byte. Anything else here is no UTF-8; whether it fits
    // Latin-1 is up to the bytes from here on, not yet overwritten.
    const bool pair = (c == 0xC2 || c == 0xC3) && i + 1 < n &&
                      (static_cast<unsigned char>(p[i + 1]) & 0xC0) == 0x80;
    if (!pair)
      return FitsLatin1(std::string_view(p + i, n - i)) ? InPlace::NotUtf8 : InPlace::NotLatin1;
    p[out++] = static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(p[i + 1]) & 0x3F));
    i += 2;
  }
  text.resize(out);
  return InPlace::Latin1;
}

}  // namespace esbsim
