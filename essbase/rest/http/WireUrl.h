#pragma once
// URLs at the edge of an HTTP library that takes them less literally than
// libcurl does: bytes it would escape its own way are escaped beforehand,
// and a redirect's target is made whole as libcurl reports it.
#include <string>

namespace essbase::rest::http {

// The URL with every byte outside printable ASCII (and the space) in the
// path and query percent-encoded; the scheme and host are left as they are.
std::string EscapeForWire(const std::string& url);

// Location read against the URL it answered: absolute, as it would be
// followed.
std::string ResolveLocation(const std::string& requested, const std::string& location);

// The URL without a "user:password@" before its host.
std::string WithoutUserInfo(const std::string& url);

}  // namespace essbase::rest::http
