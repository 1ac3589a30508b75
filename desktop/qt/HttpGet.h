#pragma once
// One blocking HTTP GET for the version check. The window keeps painting
// while it waits; a server that never answers is given up after the time-out.
#include <optional>
#include <string>

namespace quorvel::qt {

constexpr int HttpTimeoutMs = 10000;

// The whole body of the response as bytes, whatever the HTTP status (an error
// page is text too). Nothing when no response came back at all: no
// connection, an unknown host, a time-out.
std::optional<std::string> HttpGet(const std::string& url, int timeoutMs = HttpTimeoutMs);

}  // namespace quorvel::qt
