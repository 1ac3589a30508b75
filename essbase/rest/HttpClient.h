#pragma once
// The only door to libcurl. One client per login context: its easy handles
// and the multi handle that runs them are kept and reused, so connections stay
// open between calls. Peer and host verification are always on; redirects are
// never followed; an answer over MaxAnswerBytes fails its request.
// Environment: QUORVEL_HTTP_TIMEOUT (seconds for a whole request, default 120)
// and QUORVEL_CA_FILE (a private CA added to the system's), read at construction.
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

namespace essbase::rest {

constexpr size_t MaxAnswerBytes = size_t{64} << 20;
constexpr size_t MaxGetsInFlight = 8;

struct HttpRequest {
  std::string method = "GET";
  std::string url;
  std::string body;  // JSON; sent when not empty or when the method is not GET
};

enum class Transport { Ok, Connect, Timeout, Tls, TooLarge, Setup, Failed };

struct HttpResponse {
  Transport transport = Transport::Ok;
  std::string error;  // why the transfer failed (never holds the password)
  long code = 0;      // HTTP status when the transfer got an answer
  std::string body;
  std::string location;  // where a 3xx answer points
};

class HttpClient {
 public:
  HttpClient(std::string user, std::string password);
  ~HttpClient();
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  HttpResponse Send(const HttpRequest& request);
  // GETs with up to MaxGetsInFlight in flight at once; answers in order.
  std::vector<HttpResponse> GetAll(const std::vector<std::string>& urls);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace essbase::rest
