#pragma once
// esbsim serve STORE [--port N] [--tls CERT KEY] [--latency-ms N] [--page-size N]
//               [--access-case upper|mixed]
#include <string>
#include <vector>

namespace esbsim::serve {

// args: what follows "serve". Runs until SIGTERM or SIGINT; the exit status.
int RunServe(const std::vector<std::string>& args);

}  // namespace esbsim::serve
