#pragma once
// Addresses of the REST API: the base a user types, and the resources below
// it, each name one percent-encoded path segment.
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

// Resources below the base.
inline std::string SessionPath() {
  return "/session";
}
inline std::string ApplicationsPath() {
  return "/applications";
}
inline std::string ApplicationPath(std::string_view app) {
  return "/applications/" + PathSegment(app);
}
inline std::string DatabasesPath(std::string_view app) {
  return ApplicationPath(app) + "/databases";
}
inline std::string DatabasePath(std::string_view app, std::string_view db) {
  return DatabasesPath(app) + "/" + PathSegment(db);
}
inline std::string FiltersPath(std::string_view app, std::string_view db) {
  return DatabasePath(app, db) + "/filters";
}
inline std::string FilterPath(std::string_view app, std::string_view db, std::string_view filter) {
  return FiltersPath(app, db) + "/" + PathSegment(filter);
}
inline std::string RowsPath(std::string_view app, std::string_view db, std::string_view filter) {
  return FilterPath(app, db, filter) + "/rows";
}

}  // namespace essbase::rest
