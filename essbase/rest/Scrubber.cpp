#include "essbase/rest/Scrubber.h"

#include <algorithm>
#include <cstdint>

namespace essbase::rest {

namespace {

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The value of `digits` hex digits at text[at], -1 when there are not.
long HexAt(std::string_view text, size_t at, size_t digits) {
  if (at + digits > text.size()) return -1;
  long v = 0;
  for (size_t i = 0; i < digits; ++i) {
    const int h = HexValue(text[at + i]);
    if (h < 0) return -1;
    v = v * 16 + h;
  }
  return v;
}

char ShortEscape(uint8_t c) {
  switch (c) {
    case '"': return '"';
    case '\\': return '\\';
    case '/': return '/';
    case '\n': return 'n';
    case '\r': return 'r';
    case '\t': return 't';
    case '\b': return 'b';
    case '\f': return 'f';
    default: return 0;
  }
}

// The code point of the UTF-8 sequence at text[at] and its length; 0 length
// when none starts there.
uint32_t CodePoint(std::string_view text, size_t at, size_t& length) {
  const auto c = static_cast<uint8_t>(text[at]);
  length = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
  if (length == 0 || at + length > text.size()) return length = 0;
  uint32_t cp = c & (0xFF >> (length + 1));
  for (size_t k = 1; k < length; ++k) cp = (cp << 6) | (static_cast<uint8_t>(text[at + k]) & 0x3F);
  return cp;
}

// The ways the password's byte pw[k] (with what follows it, for a
// character above ASCII) may show at text[t]: as it is, URL-encoded (%XX,
// '+' for a blank) or JSON-escaped (\", \/, \n, \uXXXX, surrogate pairs).
// Each way: the text bytes and password bytes it takes.
struct Step {
  size_t text, pw;
};

size_t Ways(std::string_view text, size_t t, std::string_view pw, size_t k, Step (&ways)[4]) {
  size_t n = 0;
  const auto b = static_cast<uint8_t>(pw[k]);
  if (text[t] == pw[k]) ways[n++] = {1, 1};
  if (text[t] == '%' && HexAt(text, t + 1, 2) == b) ways[n++] = {3, 1};
  if (b == ' ' && text[t] == '+') ways[n++] = {1, 1};
  if (text[t] != '\\' || t + 1 >= text.size()) return n;
  if (ShortEscape(b) && text[t + 1] == ShortEscape(b)) ways[n++] = {2, 1};
  const long unit = text[t + 1] == 'u' ? HexAt(text, t + 2, 4) : -1;
  if (unit < 0) return n;
  size_t length = 1;
  const uint32_t cp = b < 0x80 ? b : CodePoint(pw, k, length);
  if (length == 0) return n;
  if (cp < 0x10000 && static_cast<uint32_t>(unit) == cp) {
    ways[n++] = {6, length};
  } else if (cp >= 0x10000 && static_cast<uint32_t>(unit) == 0xD800 + ((cp - 0x10000) >> 10) &&
             text.substr(t + 6, 2) == "\\u" &&
             HexAt(text, t + 8, 4) == static_cast<long>(0xDC00 + ((cp - 0x10000) & 0x3FF))) {
    ways[n++] = {12, length};
  }
  return n;
}

// The password's bytes from `k` at text[t], in any mix of the ways above:
// the length of text they take, 0 when they are not there. `partial` gets
// the most of them that matched when the text ends first.
// A password of many backslashes could branch at every byte: the ways
// tried are bounded.
constexpr size_t kMaxTries = 100000;

size_t Match(std::string_view text, size_t t, std::string_view pw, size_t k, size_t& partial,
             size_t& tries, size_t matched = 0) {
  if (k == pw.size()) return t;
  if (++tries > kMaxTries) return 0;
  if (t >= text.size()) {
    partial = std::max(partial, matched);
    return 0;
  }
  Step ways[4];
  const size_t n = Ways(text, t, pw, k, ways);
  for (size_t i = 0; i < n; ++i)
    if (const size_t end =
            Match(text, t + ways[i].text, pw, k + ways[i].pw, partial, tries, matched + ways[i].pw))
      return end;
  return 0;
}

// Match from text[at]: the length taken, 0 when the password is not there.
size_t MatchAt(std::string_view text, size_t at, std::string_view pw, size_t from,
               size_t& partial) {
  partial = 0;
  size_t tries = 0;
  const size_t end = Match(text, at, pw, from, partial, tries);
  return end ? end - at : 0;
}

std::string Base64(std::string_view bytes, bool urlSafe, bool pad) {
  const char* alphabet = urlSafe
                             ? "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"
                             : "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const uint32_t v = (static_cast<uint8_t>(bytes[i]) << 16) |
                       (static_cast<uint8_t>(bytes[i + 1]) << 8) |
                       static_cast<uint8_t>(bytes[i + 2]);
    for (int shift = 18; shift >= 0; shift -= 6) out += alphabet[(v >> shift) & 0x3F];
  }
  const size_t rest = bytes.size() - i;
  if (rest > 0) {
    uint32_t v = static_cast<uint8_t>(bytes[i]) << 16;
    if (rest == 2) v |= static_cast<uint8_t>(bytes[i + 1]) << 8;
    out += alphabet[(v >> 18) & 0x3F];
    out += alphabet[(v >> 12) & 0x3F];
    if (rest == 2) out += alphabet[(v >> 6) & 0x3F];
    if (pad) out.append(3 - rest, '=');
  }
  return out;
}

}  // namespace

Scrubber::Scrubber(std::string_view user, std::string_view password) : password_(password) {
  if (password.empty()) return;
  const std::string basic = std::string(user) + ":" + password_;
  for (bool urlSafe : {false, true})
    for (bool pad : {true, false}) {
      encoded_.push_back(Base64(basic, urlSafe, pad));
      encoded_.push_back(Base64(password_, urlSafe, pad));
    }
  std::sort(encoded_.begin(), encoded_.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  encoded_.erase(std::unique(encoded_.begin(), encoded_.end()), encoded_.end());
}

std::string Scrubber::Clean(std::string text) const {
  if (password_.empty()) return text;
  std::string out;
  size_t partial = 0;
  for (size_t i = 0; i < text.size();) {
    if (const size_t n = MatchAt(text, i, password_, 0, partial)) {
      out += Mask;
      i += n;
    } else {
      out += text[i++];
    }
  }
  for (const std::string& form : encoded_)
    for (size_t at = out.find(form); at != std::string::npos; at = out.find(form, at + Mask.size()))
      out.replace(at, form.size(), Mask);
  // A text cut at its end may hold the password's first bytes, one cut at
  // its start its last: such a piece goes too, from MinPiece bytes on.
  const size_t size = out.size();
  size_t tail = 0, head = 0;
  for (size_t i = 0; i < size && tail == 0; ++i)
    if (MatchAt(out, i, password_, 0, partial) == 0 && partial >= MinPiece) tail = size - i;
  for (size_t k = 1; k + MinPiece <= password_.size() && head == 0; ++k)
    head = MatchAt(out, 0, password_, k, partial);
  for (const std::string& form : encoded_) {
    for (size_t n = std::min(form.size(), size); n >= MinPiece && n > std::max(tail, head); --n) {
      const std::string_view first(form.data(), n), last(form.data() + form.size() - n, n);
      const std::string_view end(out.data() + size - n, n), start(out.data(), n);
      if (end == first || end == last) tail = std::max(tail, n);
      if (start == first || start == last) head = std::max(head, n);
    }
  }
  if (tail > 0) out.replace(size - tail, tail, Mask);
  // A piece that is the whole text is gone already.
  if (head > 0 && head + tail <= size) out.replace(0, head, Mask);
  return out;
}

}  // namespace essbase::rest
