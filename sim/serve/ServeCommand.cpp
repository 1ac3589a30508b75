#include "sim/serve/ServeCommand.h"

#include <httplib.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <iostream>
#include <memory>
#include <thread>

#include "sim/serve/RestFront.h"
#include "sim/serve/SimGateway.h"

namespace esbsim::serve {

namespace {

// Enough for the client's 8 requests in flight per login, several logins,
// and connections kept open between requests.
constexpr size_t kThreads = 64;

struct Options {
  std::string store, cert, key;
  int port = 0;
  long latencyMs = 0;
  long pageSize = 0;  // 0: lists are not cut by the server
  bool upperAccess = false;
};

bool Number(const std::string& text, long max, long& value) {
  try {
    size_t used = 0;
    value = std::stol(text, &used);
    return used == text.size() && value >= 0 && value <= max;
  } catch (...) {
    return false;
  }
}

bool Parse(const std::vector<std::string>& args, Options& o) {
  if (args.empty() || args[0].rfind("--", 0) == 0) return false;
  o.store = args[0];
  for (size_t i = 1; i < args.size(); ++i) {
    long n = 0;
    if (args[i] == "--port" && i + 1 < args.size() && Number(args[i + 1], 65535, n)) {
      o.port = static_cast<int>(n);
      ++i;
    } else if (args[i] == "--latency-ms" && i + 1 < args.size() && Number(args[i + 1], 600000, n)) {
      o.latencyMs = n;
      ++i;
    } else if (args[i] == "--page-size" && i + 1 < args.size() && Number(args[i + 1], 1000000, n) &&
               n >= 1) {
      o.pageSize = n;
      ++i;
    } else if (args[i] == "--access-case" && i + 1 < args.size() &&
               (args[i + 1] == "upper" || args[i + 1] == "mixed")) {
      o.upperAccess = args[i + 1] == "upper";
      ++i;
    } else if (args[i] == "--tls" && i + 2 < args.size()) {
      o.cert = args[i + 1];
      o.key = args[i + 2];
      i += 2;
    } else {
      return false;
    }
  }
  return true;
}

}  // namespace

int RunServe(const std::vector<std::string>& args) {
  Options o;
  if (!Parse(args, o)) {
    std::cerr << "usage: esbsim serve STORE [--port N] [--tls CERT KEY] [--latency-ms N] "
                 "[--page-size N] [--access-case upper|mixed]\n";
    return 2;
  }
  // The stop signals are taken by sigwait below, never by a handler: every
  // thread started from here on inherits the mask.
  sigset_t stops;
  sigemptyset(&stops);
  sigaddset(&stops, SIGTERM);
  sigaddset(&stops, SIGINT);
  pthread_sigmask(SIG_BLOCK, &stops, nullptr);

  SimGateway gateway;
  std::string error;
  if (!gateway.Open(o.store, error)) {
    std::cerr << "esbsim: " << error << "\n";
    return 1;
  }
  std::unique_ptr<httplib::Server> server;
  if (o.cert.empty()) {
    server = std::make_unique<httplib::Server>();
  } else {
    server = std::make_unique<httplib::SSLServer>(o.cert.c_str(), o.key.c_str());
    if (!server->is_valid()) {
      std::cerr << "esbsim: cannot serve TLS with " << o.cert << " and " << o.key << "\n";
      return 1;
    }
  }
  server->new_task_queue = [] { return new httplib::ThreadPool(kThreads); };
  server->set_keep_alive_max_count(100000);
  // Headers and body go out as separate writes: without this, every answer
  // waits for the client's delayed acknowledgement.
  server->set_tcp_nodelay(true);
  std::atomic<long> served{0};
  FrontOptions front;
  front.latency = std::chrono::milliseconds(o.latencyMs);
  front.scheme = o.cert.empty() ? "http" : "https";
  front.pageSize = static_cast<size_t>(o.pageSize);
  front.upperAccess = o.upperAccess;
  AddRestFront(*server, gateway, front, served);

  const int port = o.port == 0 ? server->bind_to_any_port("127.0.0.1")
                               : (server->bind_to_port("127.0.0.1", o.port) ? o.port : -1);
  if (port < 0) {
    std::cerr << "esbsim: cannot listen on port " << o.port << "\n";
    return 1;
  }
  std::cout << "listening on " << (o.cert.empty() ? "http" : "https") << "://127.0.0.1:" << port
            << "/essbase" << std::endl;

  std::atomic<bool> stopping{false}, ended{false};
  std::thread worker([&] {
    server->listen_after_bind();
    ended = true;
    // Ended without a stop signal: wake the waiting main thread.
    if (!stopping) kill(getpid(), SIGTERM);
  });
  int signal = 0;
  sigwait(&stops, &signal);
  stopping = true;
  // A stop before the server runs would be lost, and the join would wait forever.
  while (!server->is_running() && !ended) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  server->stop();
  worker.join();
  std::cerr << "served " << served << " requests" << std::endl;
  return 0;
}

}  // namespace esbsim::serve
