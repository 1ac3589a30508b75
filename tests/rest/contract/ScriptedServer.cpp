#include "tests/rest/contract/ScriptedServer.h"

#include <algorithm>
#include <cctype>
#include <cerrno>

#ifdef _WIN32
#include <winsock2.h>
#include <ws2tcpip.h>
#else
#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace contract {

namespace {

#ifdef _WIN32
using Socket = SOCKET;
const Socket kNoSocket = INVALID_SOCKET;
void CloseSocket(Socket s) {
  closesocket(s);
}
constexpr int kSendFlags = 0;
void StartSockets() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  (void)started;
}
#else
using Socket = int;
const Socket kNoSocket = -1;
void CloseSocket(Socket s) {
  close(s);
}
// A client that stops reading must not end the test with SIGPIPE.
constexpr int kSendFlags = MSG_NOSIGNAL;
void StartSockets() {}
#endif

constexpr auto kSlice = std::chrono::milliseconds(20);

// A socket listening on 127.0.0.1 at port (0: any free one).
Socket Listen(int& port) {
  StartSockets();
  Socket s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == kNoSocket) return s;
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  socklen_t size = sizeof(address);
  if (bind(s, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(s, 64) != 0 ||
      getsockname(s, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
    CloseSocket(s);
    return kNoSocket;
  }
  port = ntohs(address.sin_port);
  return s;
}

// Whether the socket can be read (or written) within a slice of time.
bool Ready(Socket s, bool write = false) {
  fd_set set;
  FD_ZERO(&set);
  FD_SET(s, &set);
  timeval wait{0, static_cast<long>(std::chrono::microseconds(kSlice).count())};
  return select(static_cast<int>(s) + 1, write ? nullptr : &set, write ? &set : nullptr, nullptr,
                &wait) > 0;
}

// A client that stops reading must not hold the server's thread: sends
// never block, and end with the server.
void NeverBlock(Socket s) {
#ifdef _WIN32
  u_long on = 1;
  ioctlsocket(s, FIONBIO, &on);
#else
  fcntl(s, F_SETFL, fcntl(s, F_GETFL) | O_NONBLOCK);
#endif
}

bool WouldBlock() {
#ifdef _WIN32
  return WSAGetLastError() == WSAEWOULDBLOCK;
#else
  return errno == EAGAIN || errno == EWOULDBLOCK;
#endif
}

bool SendAll(Socket s, const char* data, size_t size, const std::atomic<bool>& stop) {
  while (size > 0) {
    if (stop) return false;
    if (!Ready(s, true)) continue;
    const int chunk = static_cast<int>(std::min<size_t>(size, 1 << 16));
    const auto sent = send(s, data, chunk, kSendFlags);
    if (sent < 0 && WouldBlock()) continue;
    if (sent <= 0) return false;
    data += sent;
    size -= static_cast<size_t>(sent);
  }
  return true;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return text;
}

// The request's head and body as they came; false when the client went away.
bool ReadRequest(Socket s, const std::atomic<bool>& stop, Seen& seen) {
  std::string data;
  size_t headEnd = std::string::npos, length = 0;
  char buffer[8192];
  while (!stop) {
    if (headEnd != std::string::npos && data.size() >= headEnd + 4 + length) break;
    if (!Ready(s)) continue;
    const auto got = recv(s, buffer, sizeof(buffer), 0);
    if (got < 0 && WouldBlock()) continue;
    if (got <= 0) return false;
    data.append(buffer, static_cast<size_t>(got));
    if (headEnd != std::string::npos || (headEnd = data.find("\r\n\r\n")) == std::string::npos)
      continue;
    size_t line = data.find("\r\n");
    const std::string first = data.substr(0, line);
    seen.method = first.substr(0, first.find(' '));
    const size_t target = first.find(' ') + 1;
    seen.target = first.substr(target, first.rfind(' ') - target);
    while (line < headEnd) {
      const size_t next = data.find("\r\n", line + 2);
      const std::string header = data.substr(line + 2, next - line - 2);
      const size_t colon = header.find(':');
      if (colon != std::string::npos) {
        const size_t value = header.find_first_not_of(' ', colon + 1);
        seen.headers[Lower(header.substr(0, colon))] =
            value == std::string::npos ? std::string() : header.substr(value);
      }
      line = next;
    }
    if (seen.Has("content-length")) length = std::stoul(seen.Header("content-length"));
  }
  if (stop) return false;
  seen.body = data.substr(headEnd + 4, length);
  return true;
}

}  // namespace

ScriptedServer::ScriptedServer(Script script) : script_(std::move(script)) {
  listener_ = static_cast<uintptr_t>(Listen(port_));
  acceptor_ = std::thread([this] { Accept(); });
}

ScriptedServer::~ScriptedServer() {
  stop_ = true;
  acceptor_.join();
  CloseSocket(static_cast<Socket>(listener_));
  for (std::thread& t : connections_) t.join();
}

std::string ScriptedServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<Seen> ScriptedServer::Log() {
  std::lock_guard<std::mutex> lock(mutex_);
  return log_;
}

bool ScriptedServer::Sleep(std::chrono::milliseconds time) const {
  for (auto left = time; left.count() > 0 && !stop_; left -= kSlice)
    std::this_thread::sleep_for(std::min(left, std::chrono::milliseconds(kSlice)));
  return !stop_;
}

void ScriptedServer::Accept() {
  const auto listener = static_cast<Socket>(listener_);
  while (!stop_ && listener != kNoSocket) {
    if (!Ready(listener)) continue;
    const Socket s = accept(listener, nullptr, nullptr);
    if (s == kNoSocket) continue;
    NeverBlock(s);
    std::lock_guard<std::mutex> lock(mutex_);
    connections_.emplace_back([this, s] { Serve(static_cast<uintptr_t>(s)); });
  }
}

void ScriptedServer::Serve(uintptr_t socket) {
  const auto s = static_cast<Socket>(socket);
  // Connections are kept open between requests, as a real server keeps them.
  for (bool open = true; open;) {
    Seen seen;
    if (!ReadRequest(s, stop_, seen)) break;
    ++requests_;
    const int now = ++inFlight_;
    for (int most = maxInFlight_; now > most && !maxInFlight_.compare_exchange_weak(most, now);) {
    }
    {
      std::lock_guard<std::mutex> lock(mutex_);
      log_.push_back(seen);
    }
    const Answer a = script_(seen);
    open = Sleep(a.delay) && !a.silent;
    if (open) {
      std::string head = "HTTP/1.1 " + std::to_string(a.status) + " Scripted\r\n";
      bool declared = false;
      for (const auto& [name, value] : a.headers) {
        head += name + ": " + value + "\r\n";
        declared = declared || Lower(name) == "content-length";
      }
      if (!declared) head += "Content-Length: " + std::to_string(a.body.size()) + "\r\n";
      head += "\r\n";
      open = SendAll(s, head.data(), head.size(), stop_);
      if (open && a.trickle.count() == 0) {
        open = SendAll(s, a.body.data(), a.body.size(), stop_);
      } else {
        for (size_t i = 0; open && i < a.body.size(); ++i)
          open = SendAll(s, &a.body[i], 1, stop_) && Sleep(a.trickle);
      }
      // An answer cut short ends its connection.
      open = open && !declared && Lower(seen.Header("connection")) != "close";
    }
    --inFlight_;
  }
  CloseSocket(s);
}

int ClosedPort() {
  int port = 0;
  const Socket s = Listen(port);
  CloseSocket(s);
  return port;
}

}  // namespace contract
