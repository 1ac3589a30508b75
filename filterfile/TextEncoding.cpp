#include "filterfile/TextEncoding.h"

#include <algorithm>
#include <cstdint>

#include "essbase/Latin1.h"

namespace filterfile {

namespace {

bool Ascii(std::string_view s) {
  return essbase::AsciiEnd(s) == s.size();
}

}  // namespace

FileEncoding ReadEncodingMark(std::istream& in) {
  char mark[3] = {};
  const std::streampos start = in.tellg();
  in.read(mark, 3);
  const std::streamsize got = in.gcount();
  if (got == 3 && std::string_view(mark, 3) == Utf8Mark) return FileEncoding::Utf8;
  // A stream that failed stays failed: its reader reports it.
  if (in.bad()) return FileEncoding::Latin1;
  in.clear();
  if (start != std::streampos(-1)) {
    in.seekg(start);
  } else {
    // A stream that cannot seek gives back what it read.
    for (std::streamsize i = got; i > 0; --i) in.putback(mark[i - 1]);
  }
  return FileEncoding::Latin1;
}

bool IsUtf8(std::string_view text) {
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    size_t n = 0;
    uint32_t cp = 0;
    if (c < 0x80) {
      ++i;
      continue;
    } else if ((c & 0xE0) == 0xC0) {
      n = 1;
      cp = c & 0x1F;
    } else if ((c & 0xF0) == 0xE0) {
      n = 2;
      cp = c & 0x0F;
    } else if ((c & 0xF8) == 0xF0) {
      n = 3;
      cp = c & 0x07;
    } else {
      return false;
    }
    if (i + n >= text.size()) return false;
    for (size_t k = 1; k <= n; ++k) {
      const auto b = static_cast<unsigned char>(text[i + k]);
      if ((b & 0xC0) != 0x80) return false;
      cp = (cp << 6) | (b & 0x3F);
    }
    // Overlong forms, surrogates and values past Unicode are no UTF-8.
    static constexpr uint32_t kLeast[] = {0, 0x80, 0x800, 0x10000};
    if (cp < kLeast[n] || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += n + 1;
  }
  return true;
}

bool FitsLatin1(std::string_view utf8) {
  std::string ignored;
  size_t badAt = 0;
  return Ascii(utf8) || essbase::Utf8ToLatin1(utf8, ignored, badAt);
}

bool DecodeLine(std::string& line, FileEncoding encoding) {
  if (Ascii(line)) return true;
  if (encoding == FileEncoding::Utf8) return IsUtf8(line);
  line = essbase::Latin1ToUtf8(line);
  return true;
}

bool EncodeText(std::string_view utf8, FileEncoding encoding, std::string& out) {
  if (encoding == FileEncoding::Utf8 || Ascii(utf8)) {
    out.assign(utf8);
    return true;
  }
  size_t badAt = 0;
  return essbase::Utf8ToLatin1(utf8, out, badAt);
}

bool EncodeText(std::string_view utf8, FileEncoding encoding, std::string& scratch,
                std::string_view& out) {
  if (encoding == FileEncoding::Utf8 || Ascii(utf8)) {
    out = utf8;
    return true;
  }
  size_t badAt = 0;
  if (!essbase::Utf8ToLatin1(utf8, scratch, badAt)) return false;
  out = scratch;
  return true;
}

}  // namespace filterfile
