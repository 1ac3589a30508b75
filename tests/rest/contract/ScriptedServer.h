#pragma once
// A plain HTTP/1.1 server in the test's own process on 127.0.0.1, whose
// answers the test scripts: a status, headers and body, a delay, a body sent
// a byte at a time, or cut short by a larger Content-Length. It keeps what each request carried and
// the most requests it held at once. Its sockets are POSIX's or Winsock's, so that one test holds
// libcurl on Linux and WinHTTP under Windows alike.
#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace contract {

struct Seen {
  std::string method, target, body;
  std::map<std::string, std::string> headers;  // names in lower case
  bool Has(const std::string& name) const { return headers.count(name) > 0; }
  std::string Header(const std::string& name) const {
    const auto at = headers.find(name);
    return at == headers.end() ? std::string() : at->second;
  }
};

struct Answer {
  int status = 200;
  std::vector<std::pair<std::string, std::string>> headers;
  std::string body;
  std::chrono::milliseconds delay{0};    // before the answer's first byte
  std::chrono::milliseconds trickle{0};  // between the body's bytes
  bool silent = false;                   // the connection closes without an answer
};

class ScriptedServer {
 public:
  using Script = std::function<Answer(const Seen&)>;
  explicit ScriptedServer(Script script);
  ~ScriptedServer();
  ScriptedServer(const ScriptedServer&) = delete;
  ScriptedServer& operator=(const ScriptedServer&) = delete;

  // "http://127.0.0.1:PORT" followed by path.
  std::string Url(const std::string& path = "/") const;
  std::vector<Seen> Log();
  int requests() const { return requests_; }
  int maxInFlight() const { return maxInFlight_; }

 private:
  void Accept();
  void Serve(uintptr_t socket);
  bool Sleep(std::chrono::milliseconds time) const;

  Script script_;
  uintptr_t listener_;
  int port_ = 0;
  std::atomic<bool> stop_{false};
  std::thread acceptor_;
  std::mutex mutex_;
  std::vector<std::thread> connections_;
  std::vector<Seen> log_;
  std::atomic<int> requests_{0}, inFlight_{0}, maxInFlight_{0};
};

// A port on 127.0.0.1 that nothing listens on.
int ClosedPort();

}  // namespace contract
