#include "essbase/rest/Url.h"

namespace essbase::rest {

namespace {

bool EndsWith(std::string_view s, std::string_view suffix) {
  return s.size() >= suffix.size() && s.substr(s.size() - suffix.size()) == suffix;
}

}  // namespace

std::string ApiBase(std::string_view server) {
  if (server.size() > MaxServerUrl || !IsServerUrl(server)) return {};
  const size_t schemeEnd = server.find("://") + 3;
  if (server.size() == schemeEnd) return {};
  // Control characters and blanks have no place in an address a user typed;
  // curl would refuse some of them with a less helpful message.
  for (char c : server)
    if (static_cast<unsigned char>(c) <= 0x20 || c == 0x7F) return {};
  std::string base(server);
  while (base.size() > schemeEnd && base.back() == '/') base.pop_back();
  if (!EndsWith(base, "/rest/v1")) base += "/rest/v1";
  return base;
}

std::string PathSegment(std::string_view utf8) {
  static const char kHex[] = "0123456789ABCDEF";
  // "." and ".." would be read as steps in the path: their dots are encoded.
  const bool dots = utf8 == "." || utf8 == "..";
  std::string out;
  out.reserve(utf8.size() * 3);
  for (char ch : utf8) {
    const auto c = static_cast<unsigned char>(ch);
    const bool unreserved = (c == '.' && !dots) || (c >= 'A' && c <= 'Z') ||
                            (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
                            c == '_' || c == '~';
    if (unreserved) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    }
  }
  return out;
}

}  // namespace essbase::rest
