#include "essbase/ServerAddress.h"

#include <cctype>

namespace essbase {

namespace {

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  if (s.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(s[i])) != prefix[i]) return false;
  return true;
}

// The authority of a URL: what stands between "://" and the next '/', '?' or '#'.
std::string_view Authority(std::string_view url) {
  const size_t start = url.find("://");
  if (start == std::string_view::npos) return {};
  std::string_view rest = url.substr(start + 3);
  return rest.substr(0, rest.find_first_of("/?#"));
}

}  // namespace

bool IsServerUrl(std::string_view server) {
  return StartsWithNoCase(server, "http://") || StartsWithNoCase(server, "https://");
}

bool UrlCarriesCredentials(std::string_view url) {
  return Authority(url).find('@') != std::string_view::npos;
}

std::string ServerLabel(std::string_view server) {
  if (!IsServerUrl(server)) return std::string(server);
  std::string_view host = Authority(server);
  if (const size_t at = host.rfind('@'); at != std::string_view::npos) host.remove_prefix(at + 1);
  return std::string(host);
}

}  // namespace essbase
