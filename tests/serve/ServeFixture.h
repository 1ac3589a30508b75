#pragma once
// `esbsim serve` on a store of the test's own, and a small client that keeps
// the session cookie the way a browser would (or sends none, the way a
// client without a cookie store does).
#include <gtest/gtest.h>
#include <httplib.h>

#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "tests/support/ServeProcess.h"
#include "tests/support/TestFiles.h"

namespace servetest {

inline constexpr const char* kApi = "/essbase/rest/v1";

struct Answer {
  int status = -1;  // -1: no answer at all
  httplib::Headers headers;
  std::string body;

  std::string Header(const std::string& name) const;
  // The body as JSON; null when it is not JSON.
  nlohmann::json Json() const;
};

class Client {
 public:
  explicit Client(const std::string& url);  // http://127.0.0.1:PORT/essbase

  void Basic(const std::string& user, const std::string& password) {
    user_ = user;
    password_ = password;
  }
  void NoBasic() { user_.clear(); }
  // Off: set cookies are not kept (each request then stands alone).
  void KeepCookies(bool keep) { keep_ = keep; }
  void Cookie(const std::string& value) { cookie_ = value; }
  const std::string& cookie() const { return cookie_; }

  // path: under /essbase/rest/v1, or absolute when it starts with /essbase.
  Answer Get(const std::string& path, const httplib::Headers& headers = {});
  Answer Delete(const std::string& path);
  Answer Post(const std::string& path, const std::string& body,
              const std::string& type = "application/json");
  Answer Put(const std::string& path, const std::string& body,
             const std::string& type = "application/json");
  Answer Send(const std::string& method, const std::string& path, const std::string& body,
              const std::string& type, httplib::Headers headers = {});

 private:
  httplib::Client http_;
  std::string user_, password_, cookie_;
  bool keep_ = true;
};

// The session token an answer's Set-Cookie names; empty when none.
std::string SetCookieToken(const Answer& answer);

// A store with three applications, Sample's three databases, five filters in
// Sample.Basic and five rows in F1, and the users u/pw (write) and r/rpw (read).
std::string Description();

class ServeTest : public ::testing::Test {
 protected:
  // The store: the description plus extra lines (such as faults).
  void Load(const std::string& extra = {}, const std::string& description = Description());
  std::string store() const { return dir_ / "server.db"; }
  // Loads the store and starts the server on it.
  void Serve(const std::string& extra = {}, const std::vector<std::string>& options = {},
             const std::string& description = Description());
  // A client with u/pw as basic credentials.
  std::unique_ptr<Client> Connect();
  const std::string& url() const { return serve_->url(); }

  support::TempDir dir_{"serve-test"};
  std::unique_ptr<support::ServeProcess> serve_;
};

}  // namespace servetest
