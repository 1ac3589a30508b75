#include "sim/serve/HttpParts.h"

#include <algorithm>
#include <cctype>

namespace esbsim::serve {

namespace {

constexpr std::string_view kPrefix = "/essbase/rest/v1";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
  return s;
}

}  // namespace

std::optional<std::vector<std::string>> Segments(const std::string& target) {
  std::string_view path = std::string_view(target).substr(0, target.find('?'));
  if (path.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
  path.remove_prefix(kPrefix.size());
  std::vector<std::string> out;
  size_t at = 0;
  while (at < path.size()) {
    if (path[at] != '/') return std::nullopt;
    const size_t end = std::min(path.find('/', at + 1), path.size());
    std::string segment;
    for (size_t i = at + 1; i < end; ++i) {
      if (path[i] != '%') {
        segment += path[i];
        continue;
      }
      const int hi = i + 2 < end ? HexValue(path[i + 1]) : -1;
      const int lo = i + 2 < end ? HexValue(path[i + 2]) : -1;
      if (hi < 0 || lo < 0) return std::nullopt;
      segment += static_cast<char>(hi * 16 + lo);
      i += 2;
    }
    out.push_back(std::move(segment));
    at = end;
  }
  return out;
}

std::optional<Credentials> BasicCredentials(std::string_view header) {
  if (header.substr(0, 6) != "Basic ") return std::nullopt;
  static const std::string_view kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string decoded;
  unsigned bits = 0;
  int count = 0;
  for (char c : header.substr(6)) {
    if (c == '=') break;
    const size_t v = kAlphabet.find(c);
    if (v == std::string_view::npos) return std::nullopt;
    bits = (bits << 6) | static_cast<unsigned>(v);
    count += 6;
    if (count >= 8) {
      count -= 8;
      decoded += static_cast<char>((bits >> count) & 0xFF);
    }
  }
  const size_t colon = decoded.find(':');
  if (colon == std::string::npos) return std::nullopt;
  return Credentials{decoded.substr(0, colon), decoded.substr(colon + 1)};
}

std::optional<std::string> SessionCookie(std::string_view header) {
  while (!header.empty()) {
    const size_t end = std::min(header.find(';'), header.size());
    const std::string_view pair = Trimmed(header.substr(0, end));
    const size_t eq = pair.find('=');
    if (eq != std::string_view::npos && Trimmed(pair.substr(0, eq)) == kSessionCookie)
      return std::string(Trimmed(pair.substr(eq + 1)));
    header.remove_prefix(std::min(end + 1, header.size()));
  }
  return std::nullopt;
}

bool IsJson(std::string_view contentType) {
  std::string type(Trimmed(contentType.substr(0, contentType.find(';'))));
  std::transform(type.begin(), type.end(), type.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return type == "application/json";
}

}  // namespace esbsim::serve
