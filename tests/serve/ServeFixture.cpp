#include "tests/serve/ServeFixture.h"

#include "tests/support/RunProgram.h"

namespace servetest {

std::string Answer::Header(const std::string& name) const {
  auto it = headers.find(name);
  return it == headers.end() ? std::string() : it->second;
}

nlohmann::json Answer::Json() const {
  nlohmann::json value = nlohmann::json::parse(body, nullptr, false);
  return value.is_discarded() ? nlohmann::json() : value;
}

Client::Client(const std::string& url) : http_(url.substr(0, url.find("/essbase"))) {
  // The tests' certificates are their own, made on the spot.
  http_.enable_server_certificate_verification(false);
}

Answer Client::Get(const std::string& path, const httplib::Headers& headers) {
  return Send("GET", path, {}, {}, headers);
}

Answer Client::Delete(const std::string& path) {
  return Send("DELETE", path, {}, {});
}

Answer Client::Post(const std::string& path, const std::string& body, const std::string& type) {
  return Send("POST", path, body, type);
}

Answer Client::Put(const std::string& path, const std::string& body, const std::string& type) {
  return Send("PUT", path, body, type);
}

Answer Client::Send(const std::string& method, const std::string& path, const std::string& body,
                    const std::string& type, httplib::Headers headers) {
  if (!user_.empty()) headers.insert(httplib::make_basic_authentication_header(user_, password_));
  if (!cookie_.empty()) headers.emplace("Cookie", "JSESSIONID=" + cookie_);
  httplib::Request req;
  req.method = method;
  req.path = path.rfind("/essbase", 0) == 0 ? path : kApi + path;
  req.headers = std::move(headers);
  if (!body.empty() || !type.empty()) {
    req.body = body;
    if (!type.empty()) req.set_header("Content-Type", type);
  }
  Answer a;
  httplib::Result r = http_.send(req);
  if (!r) return a;
  a.status = r->status;
  a.headers = r->headers;
  a.body = r->body;
  const std::string token = SetCookieToken(a);
  if (keep_ && !token.empty()) cookie_ = token;
  return a;
}

std::string SetCookieToken(const Answer& answer) {
  const std::string set = answer.Header("Set-Cookie");
  const std::string prefix = "JSESSIONID=";
  if (set.rfind(prefix, 0) != 0) return {};
  return set.substr(prefix.size(), set.find(';') - prefix.size());
}

std::string Description() {
  std::string d =
      "server\tsrv\n"
      "user\tu\tpw\t275\n"
      "user\tr\trpw\t273\n"
      "app\tSample\tloaded\n"
      "db\tSample\tBasic\n"
      "db\tSample\tSpare\n"
      "db\tSample\tThird\n"
      "app\tDemo\tunloaded\n"
      "db\tDemo\tBasic\n"
      "app\tZeta\tloaded\n";
  for (int f = 1; f <= 5; ++f) {
    d += "filter\tSample\tBasic\tF" + std::to_string(f) + "\t1\t375\n";
    for (int r = 1; r <= (f == 1 ? 5 : 1); ++r)
      d += "row\t273\t\"Member" + std::to_string(f) + "_" + std::to_string(r) + "\"\n";
  }
  return d;
}

void ServeTest::Load(const std::string& extra, const std::string& description) {
  const support::CapturedRun load =
      support::RunCaptured(ESBSIM_PATH, {"load", store(), "-"}, description + extra);
  ASSERT_EQ(load.status, 0) << load.err;
}

void ServeTest::Serve(const std::string& extra, const std::vector<std::string>& options,
                      const std::string& description) {
  ASSERT_NO_FATAL_FAILURE(Load(extra, description));
  serve_ = std::make_unique<support::ServeProcess>(ESBSIM_PATH, store(), options);
  ASSERT_FALSE(serve_->url().empty()) << serve_->errors();
}

std::unique_ptr<Client> ServeTest::Connect() {
  auto client = std::make_unique<Client>(serve_->url());
  client->Basic("u", "pw");
  return client;
}

}  // namespace servetest
