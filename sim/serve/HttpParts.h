#pragma once
// What the REST front reads from a request besides its body: the resource
// path, the basic credentials, the session cookie, the body's media type.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sim/serve/SimGateway.h"

namespace esbsim::serve {

inline constexpr const char* kSessionCookie = "JSESSIONID";

// The path's segments after /essbase/rest/v1, each percent-decoded; the raw
// target is split first so that an encoded '/' stays inside its name.
// nullopt for a path outside the API or with a malformed escape.
std::optional<std::vector<std::string>> Segments(const std::string& target);

// From "Authorization: Basic ..."; nullopt when there is none or it is malformed.
std::optional<Credentials> BasicCredentials(std::string_view header);

// The session cookie's value among a Cookie header's pairs.
std::optional<std::string> SessionCookie(std::string_view header);

// True for application/json, with or without parameters (charset=...).
bool IsJson(std::string_view contentType);

}  // namespace esbsim::serve
