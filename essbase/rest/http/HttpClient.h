#pragma once
// The HTTP layer the REST backend runs on, whichever library carries it
// (libcurl, or WinHTTP on Windows): requests started side by side and
// collected as they complete. Certificates are always verified, redirects
// never followed, every request has a timeout and every answer a size cap;
// the server's session cookie is kept in memory for the login.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace essbase::rest::http {

enum class Method { Get, Post, Put, Delete };

struct Request {
  Method method = Method::Get;
  std::string url;
  // JSON; a request with a body says Content-Type: application/json.
  std::string body;
  // Carries the login's user and password (basic authentication): the login
  // itself, and every request to a server that keeps no session.
  bool basic = false;
};

// How far a request got.
enum class Reach {
  Answered,    // an HTTP answer came, whatever its status
  Refused,     // no connection: the server refused it
  Unresolved,  // no connection: the host name was not found
  TimedOut,    // no whole answer within the timeout
  Lost,        // the connection broke before the answer was whole
  Tls,         // the TLS handshake failed or the certificate is not trusted
  TooLarge,    // the answer passed the size cap and was cut off
  Setup,       // the request could not be made (the CA file, the library)
  Failed,      // any other failure of the transfer
};

struct Response {
  Reach reach = Reach::Answered;
  // The request may have reached the server, though no whole answer came.
  bool sent = false;
  long status = 0;  // the HTTP status when answered
  std::string body;
  std::string location;  // where a 3xx answer points
  std::string error;     // the client's own words when not answered
};

struct Completion {
  uint64_t tag = 0;
  Response response;
};

// Requests in flight of one caller: its answers come to it alone.
class Channel {
 public:
  virtual ~Channel() = default;
  virtual void Start(uint64_t tag, Request request) = 0;
  virtual size_t InFlight() const = 0;
  // Waits for the next request to complete; nullopt when none is in flight.
  virtual std::optional<Completion> Next() = 0;
  // Drops the requests in flight: their answers never come.
  virtual void CancelAll() = 0;
};

// One per backend: the login's credentials, the server's cookies, the
// connections kept open between requests.
class Client {
 public:
  virtual ~Client() = default;
  // The credentials of a new login; the previous login's cookies are dropped.
  virtual void NewLogin(const std::string& user, const std::string& password) = 0;
  // Whether the server has set a cookie since the last NewLogin.
  virtual bool HoldsCookie() = 0;
  // The seconds a request may take, as the environment set them.
  virtual long TimeoutSeconds() const = 0;
  // Channels live no longer than their client.
  virtual std::unique_ptr<Channel> OpenChannel() = 0;
};

// The platform's client (libcurl, or WinHTTP on Windows), set up from the
// environment.
std::unique_ptr<Client> MakeClient();

}  // namespace essbase::rest::http
