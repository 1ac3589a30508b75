#pragma once
// What the environment sets for every HTTP client, read the same way by
// each implementation: QUORVEL_HTTP_TIMEOUT, the seconds a request may take,
// and QUORVEL_CA_FILE, a private certificate authority added to the
// system's.
#include <cstddef>
#include <string>

namespace essbase::rest::http {

constexpr long DefaultTimeoutSeconds = 120;
// A day: anything longer is a typing slip, not a wish to wait.
constexpr long MaxTimeoutSeconds = 86400;
constexpr size_t MaxAnswerBytes = size_t{64} << 20;
constexpr size_t MaxInFlight = 8;

// Whole seconds from 1 to MaxTimeoutSeconds; anything else (unset, empty,
// 0, negative, not a number) gives the default, so that no request ever
// waits without end.
long TimeoutSeconds(const char* text);

struct CaFile {
  std::string path;     // empty when none is set
  std::string pem;      // its certificates
  std::string failure;  // why it cannot serve, naming it; empty when it can
};

// The file QUORVEL_CA_FILE names: readable, a file, holding at least one PEM
// certificate.
CaFile ReadCaFile(const char* path);

}  // namespace essbase::rest::http
