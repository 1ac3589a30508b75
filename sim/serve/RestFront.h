#pragma once
// The REST API's resources under /essbase/rest/v1, answered by the simulated
// server's own operations through a SimGateway, as the public reference
// describes them: sessions named by a cookie (basic authentication opens
// one), paged lists, links, and errors as 400 for what the server refuses
// (unknown objects, names or rows it cannot hold), 401 for authentication
// and ended sessions, 404 for a path that is no resource, 405 for a method a
// resource does not serve, 415 for a body that is not JSON, 500 for anything
// else.
#include <atomic>
#include <chrono>
#include <string>

namespace httplib {
class Server;
}

namespace esbsim::serve {

class SimGateway;

struct FrontOptions {
  std::chrono::milliseconds latency{0};  // every answer waits this long, outside the lock
  std::string scheme = "http";           // for the links' addresses
  size_t pageSize = 0;                   // the most items a list page holds; 0: no cap
  bool upperAccess = false;              // rows' access words as "READ", not "Read"
};

// Registers the handlers; served counts the requests answered.
void AddRestFront(httplib::Server& server, SimGateway& gateway, const FrontOptions& options,
                  std::atomic<long>& served);

}  // namespace esbsim::serve
