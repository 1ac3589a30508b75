#pragma once
// An Essbase REST server of the test's own, in process (cpp-httplib): a
// store of applications, databases and filters served as the reference has
// them, every list in pages of `pageSize`, sessions kept by cookie, and
// what a test needs to watch and break it: a log of requests, counts of
// logins and sessions, the most requests in flight at once, and a hook that
// may answer any request in place of the store.
#include <httplib.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

namespace resttest {

struct Options {
  size_t pageSize = 0;  // 0: lists unpaged, without paging fields
  bool cookies = true;  // false: no session, basic authentication each time
  std::string user = "u", password = "pw";
  std::string cert, key;  // TLS when given
  std::chrono::milliseconds latency{0};
};

inline Options PagedAt(size_t pageSize, bool cookies = true) {
  Options o;
  o.pageSize = pageSize;
  o.cookies = cookies;
  return o;
}

struct Seen {
  std::string method, target, accept, contentType, body;
  bool basic = false, cookie = false;
  int port = 0;           // the client's end of the connection
  std::string encodings;  // Accept-Encoding
};

class TestServer {
 public:
  using Row = std::pair<std::string, std::string>;  // access word, text
  // Answers a request in place of the store when it returns true.
  using Hook = std::function<bool(const httplib::Request&, httplib::Response&)>;

  explicit TestServer(Options options = {});
  ~TestServer();
  TestServer(const TestServer&) = delete;
  TestServer& operator=(const TestServer&) = delete;

  // "http://127.0.0.1:PORT/essbase" (https with TLS).
  std::string Url() const;
  void Stop();

  void AddApplication(const std::string& app, const std::string& status = "started");
  void AddDatabase(const std::string& app, const std::string& db);
  void PutFilter(const std::string& app, const std::string& db, const std::string& name,
                 std::vector<Row> rows);
  void RemoveFilter(const std::string& app, const std::string& db, const std::string& name);
  // Nullptr when the filter does not exist.
  std::unique_ptr<std::vector<Row>> Rows(const std::string& app, const std::string& db,
                                         const std::string& name);
  std::vector<std::string> FilterNames(const std::string& app, const std::string& db);

  void SetHook(Hook hook);
  // Every session ends: their next request is answered 401.
  void EndSessions();

  std::vector<Seen> Log();
  int Count(const std::string& method, const std::string& pathPart);
  int logins() const { return logins_; }
  int sessions() const { return sessions_; }
  int maxInFlight() const { return maxInFlight_; }
  int requests() const { return requests_; }
  // Waits until no request is being handled.
  void Quiet() const {
    while (inFlight_ > 0) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }

 private:
  struct Filter {
    std::string name;
    std::vector<Row> rows;
  };
  struct Db {
    std::string app, db;
    std::vector<Filter> filters;
  };
  void Handle(const httplib::Request& req, httplib::Response& res);
  bool Authenticated(const httplib::Request& req, httplib::Response& res);
  void Route(const httplib::Request& req, httplib::Response& res,
             const std::vector<std::string>& p);
  void Write(const httplib::Request& req, httplib::Response& res, Db& db,
             const std::string& pathName, bool create);
  Db* FindDb(const std::string& app, const std::string& db);
  Filter* FindFilter(Db& db, const std::string& name);
  template <class Item, class Make>
  void Page(const httplib::Request& req, httplib::Response& res, const std::vector<Item>& all,
            Make make);

  Options options_;
  std::unique_ptr<httplib::Server> server_;
  std::thread thread_;
  int port_ = 0;
  std::mutex mutex_;
  std::vector<std::pair<std::string, std::string>> apps_;  // name, status
  std::vector<Db> dbs_;
  std::set<std::string> sessionIds_;
  Hook hook_;
  std::vector<Seen> log_;
  std::atomic<int> logins_{0}, sessions_{0}, inFlight_{0}, maxInFlight_{0}, requests_{0};
};

// Splits a request's raw path below /essbase/rest/v1 into percent-decoded
// segments; false when it is not below it.
bool Segments(const std::string& target, std::vector<std::string>& out);

void Error(httplib::Response& res, int status, int code, const std::string& message);

}  // namespace resttest
