#include "essbase/rest/http/WireUrl.h"

namespace essbase::rest::http {

namespace {

// Where the path begins: after "scheme://authority", or 0 when the URL has
// no authority.
size_t PathStart(const std::string& url) {
  const size_t scheme = url.find("://");
  if (scheme == std::string::npos) return 0;
  const size_t path = url.find_first_of("/?#", scheme + 3);
  return path == std::string::npos ? url.size() : path;
}

bool HasScheme(const std::string& ref) {
  const size_t colon = ref.find(':');
  if (colon == std::string::npos || colon == 0) return false;
  for (size_t i = 0; i < colon; ++i) {
    const char c = ref[i];
    const bool letter = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    if (!letter && (i == 0 || !((c >= '0' && c <= '9') || c == '+' || c == '-' || c == '.')))
      return false;
  }
  return true;
}

}  // namespace

std::string EscapeForWire(const std::string& url) {
  static const char kHex[] = "0123456789ABCDEF";
  const size_t start = PathStart(url);
  std::string out = url.substr(0, start);
  for (size_t i = start; i < url.size(); ++i) {
    const auto c = static_cast<unsigned char>(url[i]);
    if (c > 0x20 && c < 0x7F) {
      out += url[i];
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

std::string ResolveLocation(const std::string& requested, const std::string& location) {
  if (location.empty() || HasScheme(location)) return location;
  const size_t scheme = requested.find("://");
  if (scheme == std::string::npos) return location;
  if (location.rfind("//", 0) == 0) return requested.substr(0, scheme + 1) + location;
  const size_t path = PathStart(requested);
  const std::string origin = requested.substr(0, path);
  if (location[0] == '/') return origin + location;
  std::string base = requested.substr(path);
  base = base.substr(0, base.find_first_of("?#"));
  if (location[0] == '?') return origin + (base.empty() ? "/" : base) + location;
  const size_t slash = base.rfind('/');
  return origin + (slash == std::string::npos ? "/" : base.substr(0, slash + 1)) + location;
}

std::string WithoutUserInfo(const std::string& url) {
  const size_t scheme = url.find("://");
  if (scheme == std::string::npos) return url;
  const size_t path = PathStart(url);
  const size_t at = url.rfind('@', path == 0 ? std::string::npos : path - 1);
  if (at == std::string::npos || at < scheme) return url;
  return url.substr(0, scheme + 3) + url.substr(at + 1);
}

}  // namespace essbase::rest::http
