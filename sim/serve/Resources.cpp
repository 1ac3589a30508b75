#include "sim/serve/Resources.h"

#include <algorithm>

namespace esbsim::serve {

Resource Identify(const std::vector<std::string>& p) {
  const size_t n = p.size();
  if (n == 1 && p[0] == "about") return Resource::About;
  if (n == 1 && p[0] == "session") return Resource::Session;
  if (n == 1 && p[0] == "sessions") return Resource::Sessions;
  if (n == 0 || p[0] != "applications") return Resource::None;
  if (n == 1) return Resource::Applications;
  if (n == 2) return Resource::Application;
  if (p[2] != "databases") return Resource::None;
  if (n == 3) return Resource::Databases;
  if (n == 4) return Resource::Database;
  if (p[4] != "filters") return Resource::None;
  if (n == 5) return Resource::Filters;
  if (n == 6) return Resource::Filter;
  if (n == 7 && p[6] == "rows") return Resource::Rows;
  return Resource::None;
}

const char* Allowed(Resource r) {
  switch (r) {
    case Resource::None: return "";
    case Resource::Session: return "GET, DELETE";
    case Resource::Application:
    case Resource::Database: return "GET, PUT";
    case Resource::Filters: return "GET, POST";
    case Resource::Filter: return "GET, PUT, DELETE";
    default: return "GET";
  }
}

bool Serves(Resource r, const std::string& method) {
  const std::string allowed = Allowed(r);
  for (size_t at = 0; at < allowed.size();) {
    const size_t end = std::min(allowed.find(", ", at), allowed.size());
    if (allowed.compare(at, end - at, method) == 0) return true;
    at = end + 2;
  }
  return false;
}

}  // namespace esbsim::serve
