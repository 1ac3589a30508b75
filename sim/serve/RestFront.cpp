#include "sim/serve/RestFront.h"

#include <httplib.h>

#include <cctype>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "sim/serve/Bodies.h"
#include "sim/serve/ErrorAnswers.h"
#include "sim/serve/HttpParts.h"
#include "sim/serve/Links.h"
#include "sim/serve/Paging.h"
#include "sim/serve/Resources.h"
#include "sim/serve/SimGateway.h"

namespace esbsim::serve {

using nlohmann::json;

namespace {

// The reference's default page of List Applications.
constexpr size_t kApplicationsLimit = 50;

// Servers differ in the case of the access words they write; clients read
// either spelling.
std::vector<WireRow> Spelled(std::vector<WireRow> rows, bool upper) {
  if (upper)
    for (WireRow& row : rows)
      for (char& c : row.access) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return rows;
}

std::optional<std::string> Param(const httplib::Request& req, const char* name) {
  if (!req.has_param(name)) return std::nullopt;
  return req.get_param_value(name);
}

// One request being answered, in its session.
struct Exchange {
  const httplib::Request& req;
  httplib::Response& res;
  std::string token;
  std::vector<std::string> path;
  std::string base;   // the API's address as the client reached it
  bool links = true;  // false for ?links=none

  json Links(json links) const { return this->links ? std::move(links) : json(); }
};

class Router {
 public:
  Router(SimGateway& gateway, FrontOptions options)
      : gateway_(gateway), options_(std::move(options)) {}

  void Handle(const httplib::Request& req, httplib::Response& res) {
    // A network's delay: requests in flight wait side by side.
    if (options_.latency.count() > 0) std::this_thread::sleep_for(options_.latency);
    Exchange x{req, res, {}, {}, {}, true};
    if (!Enter(x)) return;
    const auto path = Segments(req.target);
    const Resource resource = path ? Identify(*path) : Resource::None;
    if (resource == Resource::None) return Refuse(res, 404, "no such resource");
    if (!Serves(resource, req.method)) {
      res.set_header("Allow", Allowed(resource));
      return Refuse(res, 405, req.method + " is not served here");
    }
    if ((req.method == "POST" || req.method == "PUT") && !req.body.empty() &&
        !IsJson(req.get_header_value("Content-Type")))
      return Refuse(res, 415, "the body must be application/json");
    x.path = *path;
    x.base = ApiBase(options_.scheme, req.has_header("Host")
                                          ? req.get_header_value("Host")
                                          : "127.0.0.1:" + std::to_string(req.local_port));
    x.links = req.get_param_value("links") != "none";
    Route(x, resource);
  }

 private:
  // The request's session: the live one its cookie names, else a new one
  // for its basic credentials. False when it has none (answered 401).
  bool Enter(Exchange& x) {
    if (const auto cookie = SessionCookie(x.req.get_header_value("Cookie"))) {
      // A dead session is never replaced behind the client's back, even with
      // credentials at hand: the client logs in again, without the cookie.
      if (!gateway_.Live(*cookie)) {
        Refuse(x.res, 401, "the session has ended or is unknown: log in again");
        return false;
      }
      x.token = *cookie;
      return true;
    }
    const auto who = BasicCredentials(x.req.get_header_value("Authorization"));
    if (!who) {
      Refuse(x.res, 401, "basic authentication required");
      return false;
    }
    const Reply login = gateway_.Login(*who, x.req.remote_addr, x.token);
    if (login.status) {
      Fail(x.res, login);
      return false;
    }
    std::string cookie = std::string(kSessionCookie) + "=" + x.token + "; Path=/essbase; HttpOnly";
    if (options_.scheme == "https") cookie += "; Secure";
    x.res.set_header("Set-Cookie", cookie);
    return true;
  }

  void Route(Exchange& x, Resource resource) {
    switch (resource) {
      case Resource::About: return Send(x.res, 200, AboutBody());
      case Resource::Session: return Session(x);
      case Resource::Sessions: return Sessions(x);
      case Resource::Applications: return Applications(x);
      case Resource::Application: return Application(x);
      case Resource::Databases: return Databases(x);
      case Resource::Database: return Database(x);
      case Resource::Filters: return Filters(x);
      case Resource::Filter: return Filter(x);
      case Resource::Rows: return Rows(x);
      case Resource::None: return Refuse(x.res, 404, "no such resource");
    }
  }

  // An answer without a body, or the failure.
  static void Done(Exchange& x, const Reply& r, int success = 200) {
    if (r.status) return Fail(x.res, r);
    x.res.status = success;
  }

  void Session(Exchange& x) {
    if (x.req.method == "DELETE") return Done(x, gateway_.Logout(x.token));
    int16_t access = 0;
    const Reply r = gateway_.User(x.token, access);
    if (r.status) return Fail(x.res, r);
    Send(x.res, 200, UserBody(r.names[0], access, x.Links(SessionLinks(x.base))));
  }

  void Sessions(Exchange& x) {
    std::vector<SessionView> sessions;
    const Reply r = gateway_.Sessions(x.token, sessions);
    if (r.status) return Fail(x.res, r);
    const auto user = Param(x.req, "userId");
    // A bare array, as the List Sessions example answers: it is not paged.
    json items = json::array();
    for (const SessionView& s : sessions)
      if (!user || s.user == *user) items.push_back(SessionBody(s));
    Send(x.res, 200, items);
  }

  void Applications(Exchange& x) {
    const Reply r = gateway_.Applications(x.token);
    if (r.status) return Fail(x.res, r);
    List(x, r.names.size(), kApplicationsLimit, [&](const Page& page) {
      const std::vector<std::string> shown(r.names.begin() + static_cast<long>(page.begin),
                                           r.names.begin() + static_cast<long>(page.end));
      const std::vector<bool> started = gateway_.Started(shown);
      json items = json::array();
      for (size_t i = 0; i < shown.size(); ++i)
        items.push_back(
            ApplicationBody(shown[i], started[i], x.Links(ApplicationLinks(x.base, shown[i]))));
      return items;
    });
  }

  void Application(Exchange& x) {
    const std::string& app = x.path[1];
    if (x.req.method == "PUT") {
      const std::string action = x.req.get_param_value("action");
      if (action != "stop" && action != "Stop")
        return Refuse(x.res, 400, "action \"" + action + "\" is not served: stop is");
      return Done(x, gateway_.StopApplication(x.token, app));
    }
    const Reply r = gateway_.Application(x.token, app);
    if (r.status) return Fail(x.res, r);
    Send(x.res, 200, ApplicationBody(app, r.started, x.Links(ApplicationLinks(x.base, app))));
  }

  void Databases(Exchange& x) {
    const std::string& app = x.path[1];
    const Reply r = gateway_.Databases(x.token, app);
    if (r.status) return Fail(x.res, r);
    List(x, r.names.size(), 0, [&](const Page& page) {
      json items = json::array();
      for (size_t i = page.begin; i < page.end; ++i)
        items.push_back(CubeBody(app, r.names[i], x.Links(DatabaseLinks(x.base, app, r.names[i]))));
      return items;
    });
  }

  void Database(Exchange& x) {
    const std::string &app = x.path[1], &db = x.path[3];
    if (x.req.method == "PUT") {
      const std::string action = x.req.get_param_value("action");
      if (action != "start" && action != "Start")
        return Refuse(x.res, 400, "action \"" + action + "\" is not served: start is");
      return Done(x, gateway_.StartDatabase(x.token, app, db));
    }
    const Reply r = gateway_.Database(x.token, app, db);
    if (r.status) return Fail(x.res, r);
    Send(x.res, 200, CubeBody(app, db, x.Links(DatabaseLinks(x.base, app, db))));
  }

  void Filters(Exchange& x) {
    if (x.req.method == "POST") return Write(x, true);
    const std::string &app = x.path[1], &db = x.path[3];
    const Reply r = gateway_.Filters(x.token, app, db);
    if (r.status) return Fail(x.res, r);
    List(x, r.names.size(), 0, [&](const Page& page) {
      json items = json::array();
      for (size_t i = page.begin; i < page.end; ++i)
        items.push_back(FilterBody(r.names[i], std::nullopt,
                                   x.Links(FilterLinks(x.base, app, db, r.names[i]))));
      return items;
    });
  }

  void Filter(Exchange& x) {
    const std::string &app = x.path[1], &db = x.path[3], &filter = x.path[5];
    if (x.req.method == "PUT") return Write(x, false);
    if (x.req.method == "DELETE")
      return Done(x, gateway_.DeleteFilter(x.token, app, db, filter), 204);
    const Reply r = gateway_.Filter(x.token, app, db, filter, false);
    if (r.status) return Fail(x.res, r);
    Send(x.res, 200,
         FilterBody(filter, std::nullopt, x.Links(FilterLinks(x.base, app, db, filter))));
  }

  void Rows(Exchange& x) {
    const Reply r = gateway_.Filter(x.token, x.path[1], x.path[3], x.path[5], true);
    if (r.status) return Fail(x.res, r);
    const std::vector<WireRow> rows = Spelled(r.rows, options_.upperAccess);
    List(x, rows.size(), 0, [&](const Page& page) { return RowItems(rows, page.begin, page.end); });
  }

  void List(Exchange& x, size_t total, size_t fallback,
            const std::function<json(const Page&)>& items) {
    PageQuery query;
    std::string why;
    if (!ReadPageQuery(Param(x.req, "offset"), Param(x.req, "limit"), query, why))
      return Refuse(x.res, 400, why);
    const Page page = Cut(query, total, options_.pageSize, fallback);
    Send(x.res, 200, ListBody(items(page), page));
  }

  void Write(Exchange& x, bool create) {
    const std::string &app = x.path[1], &db = x.path[3];
    std::string name, why;
    std::vector<WireRow> rows;
    if (!ReadFilterBean(x.req.body, name, rows, why))
      return Refuse(x.res, 400, "not a filter: " + why);
    if (create && name.empty()) return Refuse(x.res, 400, "not a filter: it has no name");
    if (!create) {
      const std::string& named = x.path[5];
      if (!name.empty() && name != named)
        return Refuse(x.res, 400,
                      "the body names filter \"" + name + "\", the path \"" + named + "\"");
      name = named;
    }
    const Reply r = gateway_.WriteFilter(x.token, app, db, name, rows, create);
    if (r.status) return Fail(x.res, r);
    Send(x.res, 200,
         FilterBody(name, Spelled(r.rows, options_.upperAccess),
                    x.Links(FilterLinks(x.base, app, db, name))));
  }

  SimGateway& gateway_;
  const FrontOptions options_;
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
  server.Patch(any, handler);
  server.Options(any, handler);
  server.set_logger([&served](const httplib::Request&, const httplib::Response&) { ++served; });
}

}  // namespace esbsim::serve
