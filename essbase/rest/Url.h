#pragma once
// Addresses of the REST API: the base a user types, and names as path segments.
#include <string>
#include <string_view>

#include "essbase/ServerAddress.h"

namespace essbase::rest {

using essbase::MaxServerUrl;

// The API's base from the address a user opens in a browser
// ("https://host:9001/essbase" -> ".../essbase/rest/v1"); an address already
// ending in /rest/v1 (trailing slash or not) is taken as it is. Empty when
// server is not an http:// or https:// URL of at most MaxServerUrl characters.
std::string ApiBase(std::string_view server);

// A name (UTF-8) as one path segment: every byte but the unreserved ones is
// percent-encoded, so blanks, '#', '%', '/', '?' and non-ASCII bytes travel intact.
std::string PathSegment(std::string_view utf8);

}  // namespace essbase::rest
