#include "sim/serve/Links.h"

namespace esbsim::serve {

using nlohmann::json;

namespace {

// A DELETE answers no body, so its link names no type.
json Link(const char* rel, const std::string& href, const char* method) {
  json link = {{"rel", rel}, {"href", href}, {"method", method}};
  if (std::string_view(method) != "DELETE") link["type"] = "application/json";
  return link;
}

std::string ApplicationUrl(const std::string& base, std::string_view app) {
  return base + "/applications/" + Segment(app);
}

std::string DatabaseUrl(const std::string& base, std::string_view app, std::string_view db) {
  return ApplicationUrl(base, app) + "/databases/" + Segment(db);
}

}  // namespace

std::string ApiBase(std::string_view scheme, std::string_view host) {
  return std::string(scheme) + "://" + std::string(host) + "/essbase/rest/v1";
}

std::string Segment(std::string_view name) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : name) {
    const bool unreserved = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                            (c >= '0' && c <= '9') || c == '-' || c == '.' || c == '_' || c == '~';
    if (unreserved) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
  return out;
}

json FilterLinks(const std::string& base, std::string_view app, std::string_view db,
                 std::string_view filter) {
  const std::string url = DatabaseUrl(base, app, db) + "/filters/" + Segment(filter);
  return json::array({Link("get", url, "GET"), Link("delete", url, "DELETE"),
                      Link("edit", url, "PUT"), Link("rows", url + "/rows", "GET")});
}

json ApplicationLinks(const std::string& base, std::string_view app) {
  const std::string url = ApplicationUrl(base, app);
  return json::array({Link("self", url, "GET"), Link("child", url + "/databases", "GET")});
}

json DatabaseLinks(const std::string& base, std::string_view app, std::string_view db) {
  return json::array({Link("self", DatabaseUrl(base, app, db), "GET")});
}

json SessionLinks(const std::string& base) {
  return json::array({Link("self", base + "/session", "GET")});
}

}  // namespace esbsim::serve
