#include "essbase/rest/Texts.h"

#include <cstdint>

namespace essbase::rest {

namespace {

// The length of the UTF-8 sequence at text[i], 0 when none starts there.
size_t SequenceAt(std::string_view text, size_t i) {
  const auto byte = [&](size_t k) { return static_cast<uint8_t>(text[k]); };
  const uint8_t c = byte(i);
  if (c < 0x80) return 1;
  size_t n = 0;
  uint32_t cp = 0;
  if (c >= 0xC2 && c <= 0xDF) {
    n = 2;
    cp = c & 0x1F;
  } else if (c >= 0xE0 && c <= 0xEF) {
    n = 3;
    cp = c & 0x0F;
  } else if (c >= 0xF0 && c <= 0xF4) {
    n = 4;
    cp = c & 0x07;
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  // Overlong forms, surrogates and code points past U+10FFFF.
  if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF)) ||
      (cp >= 0xD800 && cp <= 0xDFFF))
    return 0;
  return n;
}

bool IsC1(std::string_view text, size_t i, size_t n) {
  return n == 2 && static_cast<uint8_t>(text[i]) == 0xC2 &&
         static_cast<uint8_t>(text[i + 1]) < 0xA0;
}

bool IsControl(uint8_t c) {
  return c < 0x20 || c == 0x7F;
}

void Hex(std::string& out, const char* prefix, uint8_t c) {
  static const char kHex[] = "0123456789abcdef";
  out += prefix;
  out += kHex[c >> 4];
  out += kHex[c & 0x0F];
}

}  // namespace

bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const size_t n = SequenceAt(text, i);
    if (n == 0) return false;
    i += n;
  }
  return true;
}

std::string Shown(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    const size_t n = SequenceAt(text, i);
    const auto c = static_cast<uint8_t>(text[i]);
    if (n == 0 || (n == 1 && IsControl(c))) {
      Hex(out, "\\x", c);
      ++i;
    } else if (IsC1(text, i, n)) {
      Hex(out, "\\u00", static_cast<uint8_t>(text[i + 1]));
      i += n;
    } else {
      out.append(text.substr(i, n));
      i += n;
    }
  }
  return out;
}

std::string Quoted(std::string_view text) {
  return "\"" + Shown(text) + "\"";
}

std::string NameFault(std::string_view name) {
  if (name.empty()) return "is empty";
  if (!IsUtf8(name)) return "is not UTF-8";
  for (size_t i = 0; i < name.size();) {
    const size_t n = SequenceAt(name, i);
    if ((n == 1 && IsControl(static_cast<uint8_t>(name[i]))) || IsC1(name, i, n))
      return "holds a control character";
    i += n;
  }
  return {};
}

std::string RowFault(std::string_view text) {
  if (text.empty()) return "is empty";
  if (text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos)
    return "holds a CR, LF or NUL";
  if (!IsUtf8(text)) return "is not UTF-8";
  return {};
}

bool EqualNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

std::string Cut(std::string_view text, size_t max) {
  if (text.size() <= max) return std::string(text);
  size_t end = max;
  // Back to the start of the character the cut falls in.
  while (end > 0 && (static_cast<uint8_t>(text[end]) & 0xC0) == 0x80) --end;
  return std::string(text.substr(0, end));
}

}  // namespace essbase::rest
