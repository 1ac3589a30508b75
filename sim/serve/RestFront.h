#pragma once
// The REST API's resources under /essbase/rest/v1, answered by the simulated
// server's own operations through a SimGateway. HTTP basic authentication
// against the store's users; a failed operation becomes an HTTP error with the
// status in its body ({"errorCode": N, "errorMessage": "Essbase Error(N): ..."}):
// 1051021 and a refused login 401, unknown objects and refused names or rows
// 400 (as the reference answers them), anything else 500.
#include <atomic>
#include <chrono>

namespace httplib {
class Server;
}

namespace esbsim::serve {

class SimGateway;

struct FrontOptions {
  std::chrono::milliseconds latency{0};  // every answer waits this long, outside the lock
};

// Registers the handlers; served counts the requests answered.
void AddRestFront(httplib::Server& server, SimGateway& gateway, const FrontOptions& options,
                  std::atomic<long>& served);

}  // namespace esbsim::serve
