#include "sim/serve/RestFront.h"

#include <httplib.h>

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "essbase/library/esbapin.h"
#include "sim/serve/SimGateway.h"

namespace esbsim::serve {

using nlohmann::json;

namespace {

constexpr const char* kPrefix = "/essbase/rest/v1";

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The path's segments after the prefix, each percent-decoded; the raw target
// is split first so that an encoded '/' stays inside its name.
std::optional<std::vector<std::string>> Segments(const std::string& target) {
  std::string path = target.substr(0, target.find('?'));
  if (path.rfind(kPrefix, 0) != 0) return std::nullopt;
  path.erase(0, std::char_traits<char>::length(kPrefix));
  std::vector<std::string> out;
  size_t at = 0;
  while (at < path.size()) {
    if (path[at] != '/') return std::nullopt;
    const size_t end = std::min(path.find('/', at + 1), path.size());
    std::string segment;
    for (size_t i = at + 1; i < end; ++i) {
      if (path[i] != '%') {
        segment += path[i];
        continue;
      }
      const int hi = i + 2 < end ? HexValue(path[i + 1]) : -1;
      const int lo = i + 2 < end ? HexValue(path[i + 2]) : -1;
      if (hi < 0 || lo < 0) return std::nullopt;
      segment += static_cast<char>(hi * 16 + lo);
      i += 2;
    }
    out.push_back(std::move(segment));
    at = end;
  }
  return out;
}

std::optional<Credentials> BasicCredentials(const httplib::Request& req) {
  const std::string header = req.get_header_value("Authorization");
  if (header.rfind("Basic ", 0) != 0) return std::nullopt;
  static const std::string kAlphabet =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string decoded;
  unsigned bits = 0;
  int count = 0;
  for (char c : header.substr(6)) {
    if (c == '=') break;
    const size_t v = kAlphabet.find(c);
    if (v == std::string::npos) return std::nullopt;
    bits = (bits << 6) | static_cast<unsigned>(v);
    count += 6;
    if (count >= 8) {
      count -= 8;
      decoded += static_cast<char>((bits >> count) & 0xFF);
    }
  }
  const size_t colon = decoded.find(':');
  if (colon == std::string::npos) return std::nullopt;
  return Credentials{decoded.substr(0, colon), decoded.substr(colon + 1)};
}

int HttpCode(int32_t status) {
  switch (status) {
    case ESB_STS_RELOGIN:
    case ESB_STS_BAD_LOGIN: return 401;
    case ESB_STS_UNKNOWN_APPLICATION:
    case ESB_STS_UNKNOWN_DATABASE:
    case ESB_STS_UNKNOWN_FILTER:
    case ESB_STS_BAD_NAME:
    case ESB_STS_BAD_ROW:
    case ESB_STS_NULL_ARGUMENT:
    case ESB_STS_TOO_MANY_ITEMS: return 400;
    default: return 500;
  }
}

void Answer(httplib::Response& res, const Reply& reply, int success = 200) {
  if (reply.status == 0) {
    res.status = success;
    if (!reply.body.is_null()) res.set_content(reply.body.dump(), "application/json");
    return;
  }
  res.status = HttpCode(reply.status);
  if (res.status == 401) res.set_header("WWW-Authenticate", "Basic realm=\"essbase\"");
  const std::string message =
      "Essbase Error(" + std::to_string(reply.status) + "): " + reply.message;
  const json body = {{"errorCode", reply.status}, {"errorMessage", message}};
  res.set_content(body.dump(-1, ' ', false, json::error_handler_t::replace), "application/json");
}

void Refuse(httplib::Response& res, int code, const std::string& message) {
  res.status = code;
  res.set_content(json{{"errorMessage", message}}.dump(), "application/json");
}

size_t Number(const httplib::Request& req, const char* name, size_t fallback) {
  if (!req.has_param(name)) return fallback;
  try {
    return std::stoul(req.get_param_value(name));
  } catch (...) {
    return fallback;
  }
}

// The rows of a Create or Update Filter body; nullopt when it is not one.
std::optional<std::vector<WireRow>> BodyRows(const json& body) {
  if (!body.is_object()) return std::nullopt;
  std::vector<WireRow> rows;
  auto it = body.find("rows");
  if (it == body.end()) return rows;
  if (!it->is_array()) return std::nullopt;
  for (const json& r : *it) {
    if (!r.is_object() || !r.contains("access") || !r.contains("mbrSpec") ||
        !r["access"].is_string() || !r["mbrSpec"].is_string())
      return std::nullopt;
    rows.push_back({r["access"].get<std::string>(), r["mbrSpec"].get<std::string>()});
  }
  return rows;
}

class Router {
 public:
  Router(SimGateway& gateway, FrontOptions options) : gateway_(gateway), options_(options) {}

  void Handle(const httplib::Request& req, httplib::Response& res) {
    // A network's delay: requests in flight wait side by side.
    if (options_.latency.count() > 0) std::this_thread::sleep_for(options_.latency);
    const auto who = BasicCredentials(req);
    if (!who) {
      res.set_header("WWW-Authenticate", "Basic realm=\"essbase\"");
      return Refuse(res, 401, "basic authentication required");
    }
    const auto path = Segments(req.target);
    if (!path) return Refuse(res, 404, "no such resource");
    Route(req, res, *who, *path);
  }

 private:
  void Route(const httplib::Request& req, httplib::Response& res, const Credentials& who,
             const std::vector<std::string>& p) {
    const std::string& m = req.method;
    const size_t n = p.size();
    const bool apps = n >= 1 && p[0] == "applications";
    const bool dbs = apps && n >= 3 && p[2] == "databases";
    const bool filters = dbs && n >= 5 && p[4] == "filters";
    const std::string action = req.get_param_value("action");
    if (n == 1 && p[0] == "session" && m == "GET") return Answer(res, gateway_.Session(who));
    if (apps && n == 1 && m == "GET")
      return Answer(res,
                    gateway_.Applications(who, Number(req, "offset", 0), Number(req, "limit", 50)));
    if (apps && n == 2 && m == "GET") return Answer(res, gateway_.Application(who, p[1]));
    if (apps && n == 2 && m == "PUT") {
      if (action != "stop" && action != "Stop") return Refuse(res, 400, "action not served");
      return Answer(res, gateway_.StopApplication(who, p[1]));
    }
    if (dbs && n == 3 && m == "GET") return Answer(res, gateway_.Databases(who, p[1]));
    if (dbs && n == 4 && m == "PUT") {
      if (action != "start" && action != "Start") return Refuse(res, 400, "action not served");
      return Answer(res, gateway_.StartDatabase(who, p[1], p[3]));
    }
    if (filters && n == 5 && m == "GET") return Answer(res, gateway_.Filters(who, p[1], p[3]));
    if (filters && n == 5 && m == "POST") return Write(req, res, who, p, true);
    if (filters && n == 6 && m == "GET")
      return Answer(res, gateway_.Filter(who, p[1], p[3], p[5], false));
    if (filters && n == 7 && p[6] == "rows" && m == "GET")
      return Answer(res, gateway_.Filter(who, p[1], p[3], p[5], true));
    if (filters && n == 6 && m == "PUT") return Write(req, res, who, p, false);
    if (filters && n == 6 && m == "DELETE")
      return Answer(res, gateway_.DeleteFilter(who, p[1], p[3], p[5]), 204);
    Refuse(res, 404, "no such resource");
  }

  void Write(const httplib::Request& req, httplib::Response& res, const Credentials& who,
             const std::vector<std::string>& p, bool create) {
    const json body = json::parse(req.body, nullptr, false);
    const auto rows = BodyRows(body);
    std::string name = create ? std::string() : p[5];
    if (create && body.is_object() && body.contains("name") && body["name"].is_string())
      name = body["name"].get<std::string>();
    if (!rows || name.empty()) return Refuse(res, 400, "not a filter: name and rows expected");
    Answer(res, gateway_.WriteFilter(who, p[1], p[3], name, *rows, create));
  }

  SimGateway& gateway_;
  FrontOptions options_;
};

}  // namespace

void AddRestFront(httplib::Server& server, SimGateway& gateway, const FrontOptions& options,
                  std::atomic<long>& served) {
  auto router = std::make_shared<Router>(gateway, options);
  auto handler = [router](const httplib::Request& req, httplib::Response& res) {
    router->Handle(req, res);
  };
  const std::string any = "/.*";
  server.Get(any, handler);
  server.Put(any, handler);
  server.Post(any, handler);
  server.Delete(any, handler);
  server.set_logger([&served](const httplib::Request&, const httplib::Response&) { ++served; });
}

}  // namespace esbsim::serve
