#pragma once
// What a user gives as the server: a server name as the client library knows
// it (at most NameWidth characters), or the address of a server's REST API,
// an http:// or https:// URL as an administrator opens it in a browser.
#include <cstddef>
#include <string>
#include <string_view>

namespace essbase {

constexpr size_t MaxServerUrl = 2048;
// Room for the longest server a login prompt can give back, and its NUL.
constexpr size_t ServerAnswerBuffer = MaxServerUrl + 1;

// Whether `server` names a REST API: it begins with http:// or https://
// (letter case aside). Anything else is a name for the client library.
bool IsServerUrl(std::string_view server);

// Whether the URL carries a user name or password ("https://u:p@host"):
// credentials belong in the login, never in an address that is logged.
bool UrlCarriesCredentials(std::string_view url);

// A short form of the server for a file name: the URL's host and port, or
// the name itself.
std::string ServerLabel(std::string_view server);

// The one form of a server's address in which two spellings of one server
// are equal: scheme and host in lower case, the scheme's default port
// dropped, and a trailing "/" and "/rest/v1" removed
// ("HTTPS://Host:443/essbase/rest/v1/" -> "https://host/essbase"). A name
// that is no URL comes back as it is.
std::string NormalServer(std::string_view server);

}  // namespace essbase
