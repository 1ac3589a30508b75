#pragma once
// Hands an address to the user's web browser.
#include <string>

namespace quorvel::qt {

// An address written without a scheme ("host/path") is taken as http.
std::string WithScheme(const std::string& address);

// False when no browser took it; callers may ignore the result.
bool OpenUrl(const std::string& address);

}  // namespace quorvel::qt
