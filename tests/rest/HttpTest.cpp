// RestApi through real HTTP: against `esbsim serve` (TLS, logins, faults,
// timeouts, stops, request counts) and against a hostile server of the test's
// own (malformed and oversized answers, a redirect to another host).
#include <gtest/gtest.h>
#include <httplib.h>
#include <stdlib.h>

#include <atomic>
#include <thread>

#include "essbase/rest/RestApi.h"
#include "essbase/rest/RestStatus.h"
#include "tests/support/ServeProcess.h"

namespace {

using namespace essbase;
using namespace essbase::rest;

const char* const kHeader =
    "server\tsrv\nuser\tu\tpw\t275\napp\tSample\tloaded\ndb\tSample\tBasic\n";

// A store of its own with the given lines after kHeader, served by esbsim.
struct Served {
  explicit Served(const std::string& lines, const std::vector<std::string>& options = {}) {
    support::WriteFile(dir / "d.txt", kHeader + lines);
    EXPECT_EQ(support::RunCaptured(ESBSIM_PATH, {"load", store, dir / "d.txt"}).status, 0);
    serve = std::make_unique<support::ServeProcess>(ESBSIM_PATH, store, options);
    EXPECT_FALSE(serve->url().empty()) << serve->errors();
  }
  std::string Dump() { return support::RunCaptured(ESBSIM_PATH, {"dump", store}).out; }
  support::TempDir dir{"rest-http"};
  std::string store = dir / "s.db";
  std::unique_ptr<support::ServeProcess> serve;
};

struct Client {
  int32_t Login(const std::string& url, const char* password = "pw") {
    if (!instance) {
      EXPECT_EQ(api.EsbInit(ApiInitRecord(ESB_API_VERSION_6, "C:\\"), instance), 0);
    }
    int16_t count = 0;
    return api.EsbLogin(instance, url.c_str(), "u", password, count, context);
  }
  std::vector<std::string> Rows(const char* filter) {
    int16_t active = 0, access = 0;
    std::vector<std::string> rows;
    if (api.EsbGetFilter(context, "Sample", "Basic", filter, active, access) != 0) return {"-"};
    std::string buffer(ESB_ROW_MAX + 1, '\0');
    while (api.EsbGetFilterRow(context, buffer, access) == 0 && buffer[0])
      rows.push_back(buffer.c_str());
    return rows;
  }
  RestApi api;
  Handle instance = 0, context = 0;
};

struct ScopedEnv {
  ScopedEnv(const char* name, const std::string& value) : name(name) {
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() { unsetenv(name); }
  const char* name;
};

bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST(OverHttp, HttpsTrustsAPrivateCaAddedToTheSystemsAndRefusesAnotherAsTls) {
  support::TempDir certs("rest-tls");
  const std::string d = certs.path();
  const std::string ec = " -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes ";
  support::WriteFile(d + "/ext.cnf", "subjectAltName=IP:127.0.0.1\n");
  const std::string script =
      "cd " + d + " && for ca in good other; do openssl req -x509" + ec +
      "-keyout $ca.key -out $ca.pem -days 2 -subj /CN=$ca; done && openssl req" + ec +
      "-keyout server.key -out server.csr -subj /CN=127.0.0.1 && openssl x509 -req -in "
      "server.csr -CA good.pem -CAkey good.key -CAcreateserial -out server.pem -days 2 "
      "-extfile ext.cnf";
  ASSERT_EQ(system((script + " 2>/dev/null").c_str()), 0);
  Served s("", {"--tls", d + "/server.pem", d + "/server.key"});
  ASSERT_EQ(s.serve->url().rfind("https://127.0.0.1:", 0), 0u);
  {
    ScopedEnv ca("QUORVEL_CA_FILE", d + "/good.pem");
    Client c;
    ASSERT_EQ(c.Login(s.serve->url()), 0) << c.api.FailureText(c.instance);
    int16_t count = 0;
    EXPECT_EQ(c.api.EsbListApplications(c.context, count), 0);
    EXPECT_EQ(count, 1);
  }
  ScopedEnv ca("QUORVEL_CA_FILE", d + "/other.pem");
  Client c;
  EXPECT_EQ(c.Login(s.serve->url()), RestStatusTls);
  EXPECT_TRUE(Has(c.api.FailureText(c.instance), "TLS/certificate"))
      << c.api.FailureText(c.instance);
}

TEST(OverHttp, WrongPasswordIsABadLoginWhoseTextNeverHoldsThePassword) {
  Served s("");
  Client c;
  EXPECT_EQ(c.Login(s.serve->url(), "Secret-99"), ESB_STS_BAD_LOGIN);
  const std::string text = c.api.FailureText(c.instance);
  EXPECT_TRUE(Has(text, "HTTP 401")) << text;
  EXPECT_FALSE(Has(text, "Secret-99")) << text;
}

TEST(OverHttp, SessionEndedByTheServerAsksForANewLoginThatWorks) {
  Served s(
      "filter\tSample\tBasic\tF\t1\t375\nrow\t273\t\"East\"\n"
      "fault\tEsbListFilters\t1051021\t0\t1\n");
  Client c;
  ASSERT_EQ(c.Login(s.serve->url()), 0);
  int16_t count = 0;
  EXPECT_EQ(c.api.EsbListFilters(c.context, "Sample", "Basic", count), ESB_STS_RELOGIN);
  EXPECT_TRUE(Has(c.api.FailureText(c.context), "HTTP 401"));
  EXPECT_EQ(c.api.EsbListApplications(c.context, count), ESB_STS_RELOGIN);
  const Handle ended = c.context;
  ASSERT_EQ(c.Login(s.serve->url()), 0);
  EXPECT_EQ(c.api.EsbListFilters(c.context, "Sample", "Basic", count), 0);
  EXPECT_EQ(c.Rows("F"), std::vector<std::string>{"\"East\""});
  EXPECT_EQ(c.api.EsbListApplications(ended, count), ESB_STS_RELOGIN);
}

TEST(OverHttp, SlowServerFailsTheCallWithATimeoutNamedSo) {
  ScopedEnv timeout("QUORVEL_HTTP_TIMEOUT", "1");
  Served s("", {"--latency-ms", "2000"});
  Client c;
  EXPECT_EQ(c.Login(s.serve->url()), RestStatusTimeout);
  EXPECT_TRUE(Has(c.api.FailureText(c.instance), "timeout")) << c.api.FailureText(c.instance);
}

TEST(OverHttp, ExportCostsTheListingAndOneRequestPerFilterAndNamesTravelIntact) {
  const std::string odd = "A b#c%d/e?f\xE9";  // Latin-1 as the C ABI passes it
  std::string lines;
  for (int i = 0; i < 12; ++i)
    lines += "filter\tSample\tBasic\tF" + std::to_string(i) + "\t1\t375\nrow\t273\t\"R" +
             std::to_string(i) + "\"\nrow\t280\t\"M\"\n";
  Served s(lines + "filter\tSample\tBasic\t" + odd + "\t1\t375\nrow\t275\t\"\xE9t\xE9\"\n",
           {"--latency-ms", "20"});
  Client c;
  ASSERT_EQ(c.Login(s.serve->url()), 0);
  int16_t count = 0;
  ASSERT_EQ(c.api.EsbListFilters(c.context, "Sample", "Basic", count), 0);
  ASSERT_EQ(count, 13);
  std::string field(FilterNameWidth, '\0');
  for (int i = 0; i < count; ++i) {
    ASSERT_EQ(c.api.EsbGetNextItem(c.context, ItemFilterName, field), 0);
    const std::string name = field.c_str();
    EXPECT_EQ(c.Rows(name.c_str()).size(), name == odd ? 1u : 2u) << name;
  }
  EXPECT_EQ(c.api.EsbLogout(c.context), 0);
  EXPECT_EQ(s.serve->Stop(), 0);
  // The session request, the listing, one rows request per filter.
  EXPECT_TRUE(Has(s.serve->errors(), "served 15 requests")) << s.serve->errors();
}

TEST(OverHttp, ServerStoppedWhileWritingLeavesEachFilterWholeOrAbsent) {
  Served s("", {"--latency-ms", "15"});
  Client c;
  ASSERT_EQ(c.Login(s.serve->url()), 0);
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    s.serve->Stop();
  });
  int failed = 0;
  for (int i = 0; i < 40; ++i) {
    const std::string name = "W" + std::to_string(i);
    int32_t status = c.api.EsbSetFilter(c.context, "Sample", "Basic", name.c_str(), 1, 375);
    for (const char* row : {"\"a\"", "\"b\"", "\"c\""})
      if (status == 0) status = c.api.EsbSetFilterRow(c.context, row, AccessRead);
    if (status == 0) status = c.api.EsbSetFilterRow(c.context, nullptr, 375);
    failed += status != 0;
  }
  stopper.join();
  EXPECT_GT(failed, 0);
  const std::string dump = s.Dump();
  for (int i = 0; i < 40; ++i) {
    const std::string head = "filter\tSample\tBasic\tW" + std::to_string(i) + "\t1\t375\n";
    if (Has(dump, head)) {
      EXPECT_TRUE(Has(dump, head + "row\t273\t\"a\"\nrow\t273\t\"b\"\nrow\t273\t\"c\"\n")) << i;
    }
  }
}

// A server that answers as no Essbase server should; every target it saw.
class Hostile : public ::testing::Test {
 protected:
  void SetUp() override {
    other_.Get(".*", [this](const httplib::Request&, httplib::Response&) { ++elsewhere_; });
    otherPort_ = other_.bind_to_any_port("127.0.0.2");
    server_.set_logger([this](const httplib::Request& req, const httplib::Response&) {
      std::lock_guard<std::mutex> lock(mutex_);
      targets_ += req.target + " " + req.get_header_value("Authorization") + "\n";
    });
    const std::string v1 = "/essbase/rest/v1";
    Answer(v1 + "/session", "{}");
    Answer(v1 + "/applications", "{\"items\": [");
    Answer(v1 + "/applications/A", R"({"name": "A", "status": "starting"})");
    server_.Get(v1 + "/applications/E", [](const httplib::Request&, httplib::Response& res) {
      res.status = 500;
      res.set_content(R"({"errorMessage": "cannot log in u with Secret-99"})", "application/json");
    });
    server_.Get(
        v1 + "/applications/A/databases", [this](const httplib::Request&, httplib::Response& res) {
          res.status = 302;
          res.set_header("Location", "http://127.0.0.2:" + std::to_string(otherPort_) + "/steal");
        });
    Answer(
        v1 + "/applications/A/databases/D/filters",
        R"({"items": [{"name": "Good"}, {"name": "\u20acuro"}, {"name": "Big"}, {"name": "Odd"}]})");
    Answer(v1 + "/applications/A/databases/D/filters/Good/rows",
           R"({"items": [{"access": "Read", "mbrSpec": "\"East\""}]})");
    Answer(v1 + "/applications/A/databases/D/filters/Odd/rows",
           R"({"items": [{"access": "Calc", "mbrSpec": "\"East\""}]})");
    server_.Get(v1 + "/applications/A/databases/D/filters/Big/rows", [](const httplib::Request&,
                                                                        httplib::Response& res) {
      res.set_chunked_content_provider("application/json", [](size_t, httplib::DataSink& sink) {
        const std::string mib(1 << 20, ' ');
        for (int i = 0; i < 65; ++i)
          if (!sink.write(mib.data(), mib.size())) return false;
        sink.done();
        return true;
      });
    });
    port_ = server_.bind_to_any_port("127.0.0.1");
    threads_.emplace_back([this] { server_.listen_after_bind(); });
    threads_.emplace_back([this] { other_.listen_after_bind(); });
    while (!server_.is_running() || !other_.is_running()) std::this_thread::yield();
  }
  void TearDown() override {
    server_.stop();
    other_.stop();
    for (auto& t : threads_) t.join();
  }
  void Answer(const std::string& path, const std::string& body) {
    server_.Get(path, [body](const httplib::Request&, httplib::Response& res) {
      res.set_content(body, "application/json");
    });
  }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(port_) + "/essbase"; }

  httplib::Server server_, other_;
  int port_ = 0, otherPort_ = 0;
  std::atomic<int> elsewhere_{0};
  std::mutex mutex_;
  std::string targets_;
  std::vector<std::thread> threads_;
};

TEST_F(Hostile, EveryFaultyAnswerFailsItsOwnCallWithAStatusAndATextNamingIt) {
  Client c;
  ASSERT_EQ(c.Login(Url(), "Secret-99"), 0);
  int16_t count = 0;
  EXPECT_EQ(c.api.EsbListApplications(c.context, count), RestStatusBadAnswer);
  EXPECT_TRUE(Has(c.api.FailureText(c.context), "not JSON"));
  std::vector<uint8_t> record(52);
  EXPECT_EQ(c.api.EsbGetApplicationInfo(c.context, "A", record, count), RestStatusBadAnswer);
  EXPECT_TRUE(Has(c.api.FailureText(c.context), "\"starting\""));
  EXPECT_EQ(c.api.EsbGetApplicationInfo(c.context, "E", record, count), RestStatusHttp);
  EXPECT_EQ(c.api.FailureText(c.context), "HTTP 500: cannot log in u with ****");
  EXPECT_EQ(c.api.EsbListDatabases(c.context, "A", count), RestStatusRedirect);
  EXPECT_TRUE(Has(c.api.FailureText(c.context), "/steal"));
  EXPECT_EQ(elsewhere_, 0);

  ASSERT_EQ(c.api.EsbListFilters(c.context, "A", "D", count), 0);
  ASSERT_EQ(count, 4);
  std::string field(FilterNameWidth, '#');
  EXPECT_EQ(c.api.EsbGetNextItem(c.context, ItemFilterName, field), 0);
  EXPECT_EQ(c.api.EsbGetNextItem(c.context, ItemFilterName, field), RestStatusNameNotServed);
  EXPECT_TRUE(Has(c.api.FailureText(c.context),
                  "\xE2\x82\xAC"
                  "uro"));
  int16_t active = 0, access = 0;
  EXPECT_EQ(c.api.EsbGetFilter(c.context, "A", "D", "Big", active, access), RestStatusTooLarge);
  EXPECT_EQ(c.api.EsbGetFilter(c.context, "A", "D", "Odd", active, access),
            RestStatusFilterNotServed);
  EXPECT_TRUE(Has(c.api.FailureText(c.context), "filter \"Odd\" row 1"));
  EXPECT_EQ(c.api.EsbGetFilter(c.context, "A", "D", "Good", active, access), 0);

  std::lock_guard<std::mutex> lock(mutex_);
  EXPECT_FALSE(Has(targets_, "Secret")) << "the password travels in the Authorization header only";
  EXPECT_TRUE(Has(targets_, "Basic dTpTZWNyZXQtOTk="));  // u:Secret-99
}

}  // namespace
