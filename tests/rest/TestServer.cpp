#include "tests/rest/TestServer.h"

#include <nlohmann/json.hpp>

namespace resttest {

using nlohmann::json;

namespace {

constexpr const char* kPrefix = "/essbase/rest/v1";

int Hex(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string Base64(const std::string& in) {
  static const char* a = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  size_t i = 0;
  for (; i + 2 < in.size(); i += 3) {
    const unsigned v = (static_cast<unsigned char>(in[i]) << 16) |
                       (static_cast<unsigned char>(in[i + 1]) << 8) |
                       static_cast<unsigned char>(in[i + 2]);
    for (int s = 18; s >= 0; s -= 6) out += a[(v >> s) & 63];
  }
  if (i < in.size()) {
    unsigned v = static_cast<unsigned char>(in[i]) << 16;
    if (i + 1 < in.size()) v |= static_cast<unsigned char>(in[i + 1]) << 8;
    out += a[(v >> 18) & 63];
    out += a[(v >> 12) & 63];
    out += i + 1 < in.size() ? a[(v >> 6) & 63] : '=';
    out += '=';
  }
  return out;
}

std::string SessionCookie(const httplib::Request& req) {
  const std::string cookie = req.get_header_value("Cookie");
  const size_t at = cookie.find("JSESSIONID=");
  if (at == std::string::npos) return {};
  const size_t start = at + 11;
  return cookie.substr(start, cookie.find(';', start) - start);
}

}  // namespace

bool Segments(const std::string& target, std::vector<std::string>& out) {
  std::string path = target.substr(0, target.find('?'));
  if (path.rfind(kPrefix, 0) != 0) return false;
  path.erase(0, std::char_traits<char>::length(kPrefix));
  out.clear();
  for (size_t at = 0; at < path.size();) {
    if (path[at] != '/') return false;
    const size_t end = std::min(path.find('/', at + 1), path.size());
    std::string segment;
    for (size_t i = at + 1; i < end; ++i) {
      if (path[i] == '%' && i + 2 < end && Hex(path[i + 1]) >= 0 && Hex(path[i + 2]) >= 0) {
        segment += static_cast<char>(Hex(path[i + 1]) * 16 + Hex(path[i + 2]));
        i += 2;
      } else {
        segment += path[i];
      }
    }
    out.push_back(std::move(segment));
    at = end;
  }
  return true;
}

void Error(httplib::Response& res, int status, int code, const std::string& message) {
  res.status = status;
  json body = {{"errorMessage", "Essbase Error(" + std::to_string(code) + "): " + message}};
  if (code) body["errorCode"] = code;
  res.set_content(body.dump(), "application/json");
}

TestServer::TestServer(Options options) : options_(std::move(options)) {
  if (options_.cert.empty())
    server_ = std::make_unique<httplib::Server>();
  else
    server_ = std::make_unique<httplib::SSLServer>(options_.cert.c_str(), options_.key.c_str());
  // Room for every request the client may have in flight, and more.
  server_->new_task_queue = [] { return new httplib::ThreadPool(48); };
  server_->set_keep_alive_max_count(100000);
  auto handler = [this](const httplib::Request& req, httplib::Response& res) { Handle(req, res); };
  server_->Get(".*", handler);
  server_->Put(".*", handler);
  server_->Post(".*", handler);
  server_->Delete(".*", handler);
  port_ = server_->bind_to_any_port("127.0.0.1");
  thread_ = std::thread([this] { server_->listen_after_bind(); });
  while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

TestServer::~TestServer() {
  Stop();
}

void TestServer::Stop() {
  if (!thread_.joinable()) return;
  server_->stop();
  thread_.join();
}

std::string TestServer::Url() const {
  return std::string(options_.cert.empty() ? "http" : "https") +
         "://127.0.0.1:" + std::to_string(port_) + "/essbase";
}

void TestServer::AddApplication(const std::string& app, const std::string& status) {
  std::lock_guard<std::mutex> lock(mutex_);
  apps_.push_back({app, status});
}

void TestServer::AddDatabase(const std::string& app, const std::string& db) {
  std::lock_guard<std::mutex> lock(mutex_);
  dbs_.push_back({app, db, {}});
}

void TestServer::PutFilter(const std::string& app, const std::string& db, const std::string& name,
                           std::vector<Row> rows) {
  std::lock_guard<std::mutex> lock(mutex_);
  Db* d = FindDb(app, db);
  if (Filter* f = FindFilter(*d, name))
    f->rows = std::move(rows);
  else
    d->filters.push_back({name, std::move(rows)});
}

void TestServer::RemoveFilter(const std::string& app, const std::string& db,
                              const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (Db* d = FindDb(app, db))
    std::erase_if(d->filters, [&](const Filter& f) { return f.name == name; });
}

std::unique_ptr<std::vector<TestServer::Row>> TestServer::Rows(const std::string& app,
                                                               const std::string& db,
                                                               const std::string& name) {
  std::lock_guard<std::mutex> lock(mutex_);
  Db* d = FindDb(app, db);
  Filter* f = d ? FindFilter(*d, name) : nullptr;
  return f ? std::make_unique<std::vector<Row>>(f->rows) : nullptr;
}

std::vector<std::string> TestServer::FilterNames(const std::string& app, const std::string& db) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<std::string> names;
  if (Db* d = FindDb(app, db))
    for (const Filter& f : d->filters) names.push_back(f.name);
  return names;
}

void TestServer::SetHook(Hook hook) {
  std::lock_guard<std::mutex> lock(mutex_);
  hook_ = std::move(hook);
}

void TestServer::EndSessions() {
  std::lock_guard<std::mutex> lock(mutex_);
  sessionIds_.clear();
}

std::vector<Seen> TestServer::Log() {
  std::lock_guard<std::mutex> lock(mutex_);
  return log_;
}

int TestServer::Count(const std::string& method, const std::string& pathPart) {
  std::lock_guard<std::mutex> lock(mutex_);
  int n = 0;
  for (const Seen& s : log_)
    n += s.method == method && s.target.find(pathPart) != std::string::npos;
  return n;
}

TestServer::Db* TestServer::FindDb(const std::string& app, const std::string& db) {
  for (Db& d : dbs_)
    if (d.app == app && d.db == db) return &d;
  return nullptr;
}

TestServer::Filter* TestServer::FindFilter(Db& db, const std::string& name) {
  for (Filter& f : db.filters)
    if (f.name == name) return &f;
  return nullptr;
}

void TestServer::Handle(const httplib::Request& req, httplib::Response& res) {
  const int now = ++inFlight_;
  for (int seen = maxInFlight_; now > seen && !maxInFlight_.compare_exchange_weak(seen, now);) {
  }
  ++requests_;
  if (options_.latency.count() > 0) std::this_thread::sleep_for(options_.latency);
  Hook hook;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    log_.push_back({req.method, req.target, req.get_header_value("Accept"),
                    req.get_header_value("Content-Type"), req.body, req.has_header("Authorization"),
                    !SessionCookie(req).empty(), req.remote_port,
                    req.get_header_value("Accept-Encoding")});
    hook = hook_;
  }
  if (!(hook && hook(req, res)) && Authenticated(req, res)) {
    std::vector<std::string> path;
    if (!Segments(req.target, path))
      Error(res, 404, 0, "no such resource");
    else
      Route(req, res, path);
  }
  --inFlight_;
}

bool TestServer::Authenticated(const httplib::Request& req, httplib::Response& res) {
  const std::string basic = "Basic " + Base64(options_.user + ":" + options_.password);
  const bool isLogin =
      req.method == "GET" && req.target.rfind(std::string(kPrefix) + "/session", 0) == 0;
  std::lock_guard<std::mutex> lock(mutex_);
  if (options_.cookies && sessionIds_.count(SessionCookie(req))) return true;
  if (req.get_header_value("Authorization") == basic) {
    if (isLogin) ++logins_;
    if (options_.cookies) {
      // Basic authentication opens a session, whichever request carries it.
      const std::string id = "s" + std::to_string(++sessions_);
      sessionIds_.insert(id);
      res.set_header("Set-Cookie", "JSESSIONID=" + id + "; Path=/essbase; HttpOnly");
    }
    return true;
  }
  res.set_header("WWW-Authenticate", "Basic realm=\"essbase\"");
  Error(res, 401, 0, "the session is not valid; log in again");
  return false;
}

template <class Item, class Make>
void TestServer::Page(const httplib::Request& req, httplib::Response& res,
                      const std::vector<Item>& all, Make make) {
  json items = json::array();
  if (options_.pageSize == 0) {
    for (const Item& item : all) items.push_back(make(item));
    res.set_content(json{{"items", std::move(items)}}.dump(), "application/json");
    return;
  }
  const size_t offset = req.has_param("offset") ? std::stoul(req.get_param_value("offset")) : 0;
  size_t limit = req.has_param("limit") ? std::stoul(req.get_param_value("limit")) : 50;
  limit = std::min(limit, options_.pageSize);
  for (size_t i = offset; i < all.size() && i < offset + limit; ++i) items.push_back(make(all[i]));
  const size_t count = items.size();
  res.set_content(json{{"items", std::move(items)},
                       {"offset", offset},
                       {"limit", limit},
                       {"count", count},
                       {"totalResults", all.size()},
                       {"hasMore", offset + count < all.size()}}
                      .dump(),
                  "application/json");
}

void TestServer::Route(const httplib::Request& req, httplib::Response& res,
                       const std::vector<std::string>& p) {
  const std::string& m = req.method;
  const size_t n = p.size();
  std::lock_guard<std::mutex> lock(mutex_);
  if (n == 1 && p[0] == "session") {
    if (m == "GET")
      return res.set_content(R"({"id": "u", "name": "u", "role": "Service Administrator"})",
                             "application/json");
    if (m == "DELETE") {
      sessionIds_.erase(SessionCookie(req));
      return;
    }
  }
  if (n == 1 && p[0] == "applications" && m == "GET")
    return Page(req, res, apps_, [](const auto& a) {
      return json{{"name", a.first}, {"status", a.second}, {"links", json::array()}};
    });
  if (n < 2 || p[0] != "applications") return Error(res, 404, 0, "no such resource");
  bool appKnown = false;
  std::string status;
  for (const auto& a : apps_)
    if (a.first == p[1]) appKnown = true, status = a.second;
  if (!appKnown) return Error(res, 400, 1051030, "Application " + p[1] + " does not exist");
  if (n == 2 && m == "GET")
    return res.set_content(json{{"name", p[1]}, {"status", status}}.dump(), "application/json");
  if (n == 2 && m == "PUT") return;
  if (n == 3 && p[2] == "databases" && m == "GET") {
    std::vector<std::string> names;
    for (const Db& d : dbs_)
      if (d.app == p[1]) names.push_back(d.db);
    return Page(req, res, names, [&](const std::string& d) {
      return json{{"name", d}, {"application", p[1]}};
    });
  }
  Db* db = n >= 4 ? FindDb(p[1], p[3]) : nullptr;
  if (!db) return Error(res, 400, 1051031, "Database does not exist");
  if (n == 4 && m == "PUT") return;
  if (n == 5 && p[4] == "filters" && m == "GET")
    return Page(req, res, db->filters, [](const Filter& f) {
      return json{{"name", f.name}, {"links", json::array({{{"rel", "rows"}}})}};
    });
  if (n == 5 && p[4] == "filters" && m == "POST") return Write(req, res, *db, {}, true);
  if (n < 6 || p[4] != "filters") return Error(res, 404, 0, "no such resource");
  Filter* f = FindFilter(*db, p[5]);
  if (n == 6 && m == "PUT") return Write(req, res, *db, p[5], false);
  if (!f) return Error(res, 400, 1051047, "Filter " + p[5] + " does not exist");
  if (n == 6 && m == "GET")
    return res.set_content(json{{"name", f->name}}.dump(), "application/json");
  if (n == 6 && m == "DELETE") {
    db->filters.erase(db->filters.begin() + (f - db->filters.data()));
    res.status = 204;
    return;
  }
  if (n == 7 && p[6] == "rows" && m == "GET")
    return Page(req, res, f->rows, [](const Row& r) {
      return json{{"access", r.first}, {"mbrSpec", r.second}};
    });
  Error(res, 404, 0, "no such resource");
}

void TestServer::Write(const httplib::Request& req, httplib::Response& res, Db& db,
                       const std::string& pathName, bool create) {
  const json body = json::parse(req.body, nullptr, false);
  if (!body.is_object() || !body.contains("name") || !body.contains("rows"))
    return Error(res, 400, 0, "not a filter");
  const std::string name = create ? body["name"].get<std::string>() : pathName;
  Filter* existing = FindFilter(db, name);
  if (create && existing) return Error(res, 400, 1051041, "Filter " + name + " already exists");
  if (!create && !existing) return Error(res, 400, 1051047, "Filter " + name + " does not exist");
  std::vector<Row> rows;
  for (const json& r : body["rows"]) rows.push_back({r["access"], r["mbrSpec"]});
  if (existing)
    existing->rows = std::move(rows);
  else
    db.filters.push_back({name, std::move(rows)});
  res.set_content(json{{"name", name}}.dump(), "application/json");
}

}  // namespace resttest
