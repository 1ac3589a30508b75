#pragma once
// One request through asynchronous WinHTTP: started from the caller's
// thread, carried on by WinHTTP's callbacks, its completion queued in the
// outbox of the channel that started it. A request the channel gives up on
// (timed out, cancelled) is marked over under its lock and its handle
// closed: no callback after that touches anything but the exchange itself,
// which lives until WinHTTP says its handle is closing.
#include <windows.h>
#include <winhttp.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "essbase/rest/http/HttpClient.h"
#include "essbase/rest/http/WinHttpTrust.h"

namespace essbase::rest::http {

// One login's WinHTTP session: its cookies live and die with it.
struct WinHttpSession {
  HINTERNET handle = nullptr;
  std::atomic<bool> cookieSet{false};
  // Servers the private authority vouched for ("https://host:port"); the
  // channels' thread alone touches it.
  std::set<std::string> vouched;
  WinHttpSession() = default;
  WinHttpSession(const WinHttpSession&) = delete;
  WinHttpSession& operator=(const WinHttpSession&) = delete;
  ~WinHttpSession() {
    if (handle) WinHttpCloseHandle(handle);
  }
};

// An asynchronous session whose callbacks drive exchanges; nullptr when
// WinHTTP cannot open one.
std::shared_ptr<WinHttpSession> OpenWinHttpSession();

struct Outbox {
  std::mutex mutex;
  std::condition_variable ready;
  std::deque<std::pair<uint64_t, Completion>> done;  // by exchange serial
};

struct Exchange {
  uint64_t serial = 0;
  uint64_t tag = 0;
  std::chrono::steady_clock::time_point deadline;
  std::shared_ptr<WinHttpSession> session;
  std::shared_ptr<Outbox> outbox;
  std::shared_ptr<const PrivateAuthority> authority;  // null: the system's roots alone
  std::string url, body;
  std::wstring host, headers;

  std::recursive_mutex mutex;  // a callback may come inside a WinHTTP call
  HINTERNET connect = nullptr, request = nullptr;
  bool closed = false;     // the request handle is closed
  bool over = false;       // its completion is queued, or the channel gave up on it
  bool connected = false;  // the connection stood: the request may have gone out
  bool reading = false, readInline = false;
  DWORD lastRead = 0;
  unsigned long long declared = ~0ull;  // Content-Length of a plain body, when given
  std::vector<char> buffer;
  Response response;
};

// Opens the request and sends it; a failure is queued like any other.
void Launch(const std::shared_ptr<Exchange>& ex, Method method, long timeoutSeconds);

// Under the exchange's lock: the channel gives up on it.
void Abandon(Exchange& ex);

}  // namespace essbase::rest::http
