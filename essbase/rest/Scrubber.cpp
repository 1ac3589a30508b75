#include "essbase/rest/Scrubber.h"

#include <algorithm>
#include <cstdint>

#include "essbase/rest/Texts.h"

namespace essbase::rest {

namespace {

std::string Percent(std::string_view text, std::string_view kept, bool upper, bool plusForSpace) {
  const char* hex = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string out;
  for (char ch : text) {
    const auto c = static_cast<uint8_t>(ch);
    const bool alnum = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
    if (alnum || kept.find(ch) != std::string_view::npos) {
      out += ch;
    } else if (plusForSpace && ch == ' ') {
      out += '+';
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 0x0F];
    }
  }
  return out;
}

// As JSON writes a string's content; asciiOnly: every non-ASCII character
// as \uXXXX (pairs above the BMP).
std::string JsonEscaped(std::string_view text, bool upper, bool asciiOnly, bool slash) {
  const char* hex = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  std::string out;
  const auto u = [&](uint32_t unit) {
    out += "\\u";
    for (int shift = 12; shift >= 0; shift -= 4) out += hex[(unit >> shift) & 0xF];
  };
  for (size_t i = 0; i < text.size(); ++i) {
    const auto c = static_cast<uint8_t>(text[i]);
    switch (c) {
      case '"': out += "\\\""; continue;
      case '\\': out += "\\\\"; continue;
      case '\n': out += "\\n"; continue;
      case '\r': out += "\\r"; continue;
      case '\t': out += "\\t"; continue;
      case '\b': out += "\\b"; continue;
      case '\f': out += "\\f"; continue;
      case '/':
        out += slash ? "\\/" : "/";
        continue;
      default: break;
    }
    if (c < 0x20) {
      u(c);
    } else if (c < 0x80 || !asciiOnly) {
      out += static_cast<char>(c);
    } else {
      // A whole UTF-8 sequence to its code point; a stray byte as itself.
      size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
      if (n == 1 || i + n > text.size()) {
        out += static_cast<char>(c);
        continue;
      }
      uint32_t cp = c & (0xFF >> (n + 1));
      for (size_t k = 1; k < n; ++k) cp = (cp << 6) | (static_cast<uint8_t>(text[i + k]) & 0x3F);
      i += n - 1;
      if (cp >= 0x10000) {
        cp -= 0x10000;
        u(0xD800 + (cp >> 10));
        u(0xDC00 + (cp & 0x3FF));
      } else {
        u(cp);
      }
    }
  }
  return out;
}

std::string Base64(std::string_view bytes, bool urlSafe, bool pad) {
  const char* alphabet = urlSafe
                             ? "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"
                             : "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < bytes.size(); i += 3) {
    const uint32_t v = (static_cast<uint8_t>(bytes[i]) << 16) |
                       (static_cast<uint8_t>(bytes[i + 1]) << 8) | static_cast<uint8_t>(bytes[i + 2]);
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

void ReplaceAll(std::string& text, std::string_view form) {
  for (size_t at = text.find(form); at != std::string::npos;
       at = text.find(form, at + Scrubber::Mask.size()))
    text.replace(at, form.size(), Scrubber::Mask);
}

}  // namespace

Scrubber::Scrubber(std::string_view user, std::string_view password) {
  if (password.empty()) return;
  const std::string p(password);
  const std::string basic = std::string(user) + ":" + p;
  std::vector<std::string> forms{p, Shown(p)};
  for (bool upper : {true, false}) {
    forms.push_back(Percent(p, "-._~", upper, false));
    forms.push_back(Percent(p, "-._~!*'()", upper, false));
    forms.push_back(Percent(p, "-._~", upper, true));
    for (bool ascii : {false, true})
      for (bool slash : {false, true}) forms.push_back(JsonEscaped(p, upper, ascii, slash));
  }
  for (bool urlSafe : {false, true})
    for (bool pad : {true, false}) {
      forms.push_back(Base64(basic, urlSafe, pad));
      forms.push_back(Base64(p, urlSafe, pad));
    }
  std::sort(forms.begin(), forms.end(),
            [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
  forms.erase(std::unique(forms.begin(), forms.end()), forms.end());
  forms_ = std::move(forms);
}

std::string Scrubber::Clean(std::string text) const {
  for (const std::string& form : forms_) ReplaceAll(text, form);
  // A text cut at its end (or start) may hold the first (or last) part of
  // a form: the longest such piece goes too.
  size_t tail = 0, head = 0;
  for (const std::string& form : forms_) {
    const size_t most = std::min(form.size(), text.size());
    for (size_t n = most; n >= MinPiece && n > std::max(tail, head); --n) {
      const std::string_view end(text.data() + text.size() - n, n);
      const std::string_view start(text.data(), n);
      const std::string_view first(form.data(), n), last(form.data() + form.size() - n, n);
      if (end == first || end == last) tail = std::max(tail, n);
      if (start == first || start == last) head = std::max(head, n);
    }
  }
  const size_t size = text.size();
  if (tail > 0) text.replace(size - tail, tail, Mask);
  // A piece that is the whole text is gone already.
  if (head > 0 && head + tail <= size) text.replace(0, head, Mask);
  return text;
}

}  // namespace essbase::rest
