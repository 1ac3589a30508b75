#include "essbase/ServerAddress.h"

#include <algorithm>
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

std::string NormalServer(std::string_view server) {
  if (!IsServerUrl(server)) return std::string(server);
  const size_t schemeEnd = server.find("://");
  std::string scheme(server.substr(0, schemeEnd));
  for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  std::string_view rest = server.substr(schemeEnd + 3);
  const size_t authorityEnd = std::min(rest.find_first_of("/?#"), rest.size());
  std::string host(rest.substr(0, authorityEnd));
  std::string_view path = rest.substr(authorityEnd);
  for (char& c : host) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  // A port after the last ':' that is not inside an IPv6 address's brackets.
  const size_t colon = host.rfind(':');
  if (colon != std::string::npos && host.find(']', colon) == std::string::npos) {
    const std::string_view port = std::string_view(host).substr(colon + 1);
    if ((scheme == "http" && port == "80") || (scheme == "https" && port == "443") ||
        port.empty())
      host.erase(colon);
  }
  const auto trim = [&path] {
    while (!path.empty() && path.back() == '/') path.remove_suffix(1);
  };
  trim();
  if (path.size() >= 8 && path.substr(path.size() - 8) == "/rest/v1") path.remove_suffix(8);
  trim();
  return scheme + "://" + host + std::string(path);
}

}  // namespace essbase
