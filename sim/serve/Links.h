#pragma once
// The links a real server puts in its answers (rel, href, method, type), with
// absolute addresses as the client reached the server: its scheme and the
// Host it asked for. The rels are those of the reference's examples: a filter
// has get, edit, delete and rows; an application its databases as child; a
// database itself as self.
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>

namespace esbsim::serve {

// "scheme://host/essbase/rest/v1".
std::string ApiBase(std::string_view scheme, std::string_view host);

// A name as one path segment: everything but the unreserved characters
// percent-encoded (a '/' in a name stays inside its segment).
std::string Segment(std::string_view name);

nlohmann::json FilterLinks(const std::string& base, std::string_view app, std::string_view db,
                           std::string_view filter);
nlohmann::json ApplicationLinks(const std::string& base, std::string_view app);
nlohmann::json DatabaseLinks(const std::string& base, std::string_view app, std::string_view db);
nlohmann::json SessionLinks(const std::string& base);

}  // namespace esbsim::serve
