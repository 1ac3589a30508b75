// RestServer's logins, listings and single calls through real HTTP, against
// a test server that pages every list at 2 and keeps sessions by cookie.
#include <gtest/gtest.h>

#include "essbase/Constants.h"
#include "essbase/rest/RestServer.h"
#include "essbase/rest/RestStatus.h"
#include "tests/rest/Support.h"
#include "tests/rest/TestServer.h"

namespace {

using namespace essbase;
using namespace essbase::rest;
using namespace resttest;

class Served : public ::testing::Test {
 protected:
  explicit Served(Options options = PagedAt(2)) : server(options) {
    server.AddApplication("Sample", "started");
    server.AddApplication("Demo", "Stopped");
    server.AddApplication("ASOsamp", "STARTED");
    server.AddApplication("Odd", "starting");
    server.AddApplication("Last", "stopped");
    server.AddDatabase("Sample", "Basic");
    server.AddDatabase("Sample", "Interntl");
    server.AddDatabase("Sample", "Xchgrate");
    for (const char* f : {"F1", "F2", "F3", "F4", "F5"})
      server.PutFilter("Sample", "Basic", f, {{"Read", std::string("\"") + f + "\""}});
  }
  Credentials Login() const { return {server.Url(), "u", "pw"}; }
  void LogIn() { ASSERT_FALSE(rest.LogIn(Login())) << rest.LogIn(Login()).detail; }

  TestServer server;
  RestServer rest;
};

TEST_F(Served, OneLoginIsOneSessionWhoseCookieEveryLaterRequestCarries) {
  LogIn();
  std::vector<Application> apps;
  std::vector<Database> dbs;
  std::vector<std::string> names;
  Keep keep;
  ASSERT_FALSE(rest.ListApplications(apps));
  ASSERT_FALSE(rest.ListDatabases("Sample", dbs));
  ASSERT_FALSE(rest.ListFilters({"Sample", "Basic"}, names));
  ASSERT_FALSE(rest.ReadFilters({"Sample", "Basic"}, names, {}, keep));
  EXPECT_EQ(server.logins(), 1);
  EXPECT_EQ(server.sessions(), 1);
  const std::vector<Seen> log = server.Log();
  ASSERT_GT(log.size(), 10u);
  EXPECT_TRUE(log[0].basic);
  for (size_t i = 1; i < log.size(); ++i) {
    EXPECT_TRUE(log[i].cookie) << log[i].target;
    EXPECT_FALSE(log[i].basic) << log[i].target;
  }
}

TEST_F(Served, OneConnectionServesCallAfterCall) {
  LogIn();
  std::vector<Application> apps;
  std::vector<std::string> names;
  bool loaded = false;
  for (int i = 0; i < 3; ++i) {
    ASSERT_FALSE(rest.ListApplications(apps));
    ASSERT_FALSE(rest.ListFilters({"Sample", "Basic"}, names));
    ASSERT_FALSE(rest.ApplicationLoaded("Sample", loaded));
  }
  std::set<int> ports;
  for (const Seen& s : server.Log()) ports.insert(s.port);
  EXPECT_EQ(ports.size(), 1u) << server.Log().size() << " requests";
}

TEST_F(Served, ANewLoginReplacesThePreviousLoginsCookie) {
  LogIn();
  TestServer other(PagedAt(0, false));
  other.AddApplication("Else");
  ASSERT_FALSE(rest.LogIn({other.Url(), "u", "pw"}));
  std::vector<Application> apps;
  ASSERT_FALSE(rest.ListApplications(apps));
  ASSERT_EQ(apps.size(), 1u);
  // The first server's cookie (same host) never reaches the second server;
  // a server that keeps no session gets the credentials each time.
  for (const Seen& s : other.Log()) {
    EXPECT_FALSE(s.cookie) << s.target;
    EXPECT_TRUE(s.basic) << s.target;
  }
  // And back: a fresh session, not the old cookie.
  server.EndSessions();
  LogIn();
  ASSERT_FALSE(rest.ListApplications(apps));
  EXPECT_EQ(server.sessions(), 2);
}

TEST_F(Served, AnAddressWithAPathEndingAnywayGivesTheSameBase) {
  for (const char* suffix : {"", "/", "/rest/v1", "/rest/v1/", "   "}) {
    ASSERT_FALSE(rest.LogIn({server.Url() + suffix, "u", "pw"})) << suffix;
    EXPECT_EQ(server.Log().back().target, "/essbase/rest/v1/session") << suffix;
  }
}

TEST_F(Served, AWrongPasswordIsABadLoginWhoseTextsNeverHoldIt) {
  server.SetHook([](const httplib::Request& req, httplib::Response& res) {
    if (req.get_header_value("Authorization").empty()) return false;
    // A server that quotes what it was sent.
    Error(res, 401, 0, "no user u with password Secret-99 (Basic dTpTZWNyZXQtOTk=)");
    return true;
  });
  const Failure f = rest.LogIn({server.Url(), "u", "Secret-99"});
  EXPECT_EQ(f.status, ESB_STS_BAD_LOGIN);
  EXPECT_EQ(f.step, Step::LogIn);
  EXPECT_TRUE(Has(f.serverText, "HTTP 401: ")) << f.serverText;
  EXPECT_FALSE(Has(AllText(f), "Secret")) << AllText(f);
  EXPECT_FALSE(Has(AllText(f), "dTpTZWNyZXQ")) << AllText(f);
}

TEST_F(Served, AnAddressCarryingCredentialsIsRefusedWithoutRepeatingAnyOfThem) {
  std::string url = server.Url();
  url.insert(url.find("//") + 2, "admin:Secret-99@");
  const Failure f = rest.LogIn({url, "admin", "Secret-99"});
  EXPECT_EQ(f.status, ESB_STS_UNKNOWN_SERVER);
  for (const char* part : {"Secret", "admin", "127.0.0.1", "@"})
    EXPECT_FALSE(Has(AllText(f), part)) << AllText(f);
  EXPECT_EQ(server.requests(), 0);
}

TEST_F(Served, WithoutALoginEveryCallFailsAtOnce) {
  EXPECT_EQ(rest.LogIn({"srv", "u", "pw"}).status, ESB_STS_UNKNOWN_SERVER);
  EXPECT_EQ(rest.LogIn({"https://h/" + std::string(3000, 'x'), "u", "pw"}).status,
            ESB_STS_UNKNOWN_SERVER);
  EXPECT_EQ(rest.LogIn({server.Url(), "a:b", "pw"}).status, ESB_STS_BAD_LOGIN);
  std::vector<Application> apps;
  const Failure f = rest.ListApplications(apps);
  EXPECT_EQ(f.status, ESB_STS_BAD_CONTEXT);
  EXPECT_EQ(f.step, Step::ListApplications);
  EXPECT_EQ(server.requests(), 0);
}

TEST_F(Served, LogOutEndsTheSessionAndTheLogin) {
  LogIn();
  EXPECT_FALSE(rest.LogOut());
  EXPECT_EQ(server.Count("DELETE", "/session"), 1);
  std::vector<Application> apps;
  EXPECT_EQ(rest.ListApplications(apps).status, ESB_STS_BAD_CONTEXT);
  EXPECT_EQ(server.requests(), 2);
}

TEST_F(Served, ListingsAreReadWholeAndInOrderPageByPage) {
  LogIn();
  std::vector<Application> apps;
  ASSERT_FALSE(rest.ListApplications(apps));
  ASSERT_EQ(apps.size(), 5u);
  const std::pair<const char*, std::optional<bool>> expected[] = {
      {"Sample", true}, {"Demo", false}, {"ASOsamp", true}, {"Odd", std::nullopt}, {"Last", false}};
  for (size_t i = 0; i < apps.size(); ++i) {
    EXPECT_EQ(apps[i].name, expected[i].first);
    EXPECT_EQ(apps[i].loaded, expected[i].second) << apps[i].name;
  }
  std::vector<Database> dbs;
  ASSERT_FALSE(rest.ListDatabases("Sample", dbs));
  EXPECT_EQ(dbs, (std::vector<Database>{
                     {"Sample", "Basic"}, {"Sample", "Interntl"}, {"Sample", "Xchgrate"}}));
  std::vector<std::string> names;
  ASSERT_FALSE(rest.ListFilters({"Sample", "Basic"}, names));
  EXPECT_EQ(names, (std::vector<std::string>{"F1", "F2", "F3", "F4", "F5"}));
  EXPECT_EQ(server.Count("GET", "/applications?offset="), 3);
  EXPECT_EQ(server.Count("GET", "/filters?offset=4&limit="), 1);
}

TEST_F(Served, ApplicationStateIsStartedOrStoppedInAnyCaseAndNothingElse) {
  LogIn();
  bool loaded = false;
  ASSERT_FALSE(rest.ApplicationLoaded("ASOsamp", loaded));
  EXPECT_TRUE(loaded);
  ASSERT_FALSE(rest.ApplicationLoaded("Demo", loaded));
  EXPECT_FALSE(loaded);
  const Failure f = rest.ApplicationLoaded("Odd", loaded);
  EXPECT_EQ(f.status, RestStatusBadAnswer);
  EXPECT_TRUE(Has(f.detail, "the status \"starting\" is neither started nor stopped")) << f.detail;
  const Failure gone = rest.ApplicationLoaded("Nope", loaded);
  EXPECT_EQ(gone.status, ESB_STS_UNKNOWN_APPLICATION);
  EXPECT_EQ(gone.serverText, "HTTP 400: Essbase Error(1051030): Application Nope does not exist");
}

TEST_F(Served, ActivateStartsTheDatabaseAndStopStopsTheApplication) {
  LogIn();
  ASSERT_FALSE(rest.Activate({"Sample", "Basic"}));
  ASSERT_FALSE(rest.StopApplication("Sample"));
  const std::vector<Seen> log = server.Log();
  ASSERT_EQ(log.size(), 3u);
  EXPECT_EQ(log[1].method + " " + log[1].target,
            "PUT /essbase/rest/v1/applications/Sample/databases/Basic?action=start");
  EXPECT_EQ(log[2].method + " " + log[2].target,
            "PUT /essbase/rest/v1/applications/Sample?action=stop");
  for (const Seen& s : log) {
    EXPECT_EQ(s.accept, "application/json");
    EXPECT_EQ(s.contentType, "") << "a request without a body names no type";
    // Brotli costs a server most of a second for a large page.
    EXPECT_EQ(s.encodings, "gzip, deflate");
  }
  EXPECT_EQ(rest.Activate({"Sample", "Nope"}).status, ESB_STS_UNKNOWN_DATABASE);
}

// Lists whose pages do not add up, each kind of list in turn.
struct BadPages {
  const char* what;
  std::vector<std::string> pages;  // the answers, one per request in order
  const char* why;
};

struct ListKind {
  const char* path;  // as the request's target holds it
  std::function<Failure(RestServer&)> list;
};

const ListKind kKinds[] = {
    {"/applications?",
     [](RestServer& r) {
       std::vector<Application> a;
       return r.ListApplications(a);
     }},
    {"/applications/Sample/databases?",
     [](RestServer& r) {
       std::vector<Database> d;
       return r.ListDatabases("Sample", d);
     }},
    {"/databases/Basic/filters?",
     [](RestServer& r) {
       std::vector<std::string> n;
       return r.ListFilters({"Sample", "Basic"}, n);
     }},
};

const BadPages kBadPages[] = {
    {"ignores offset",
     {R"({"items": [{"name": "A"}, {"name": "B"}], "hasMore": true, "offset": 0})",
      R"({"items": [{"name": "A"}, {"name": "B"}], "hasMore": true, "offset": 0})"},
     "the page at offset 2 came as offset 0: the server ignores offset"},
    {"the same page again",
     {R"({"items": [{"name": "A"}, {"name": "B"}], "hasMore": true})",
      R"({"items": [{"name": "A"}, {"name": "B"}], "hasMore": true})"},
     "the page at offset 2 repeats the page before it"},
    {"a total that does not match",
     {R"({"items": [{"name": "A"}, {"name": "B"}], "hasMore": true, "totalResults": 5})",
      R"({"items": [{"name": "C"}], "hasMore": false, "totalResults": 5})"},
     "the pages give 3 items, but totalResults says 5"},
    {"a name twice",
     {R"({"items": [{"name": "A"}, {"name": "B"}], "hasMore": true})",
      R"({"items": [{"name": "C"}, {"name": "B"}], "hasMore": false})"},
     "the name \"B\" comes twice"},
    {"more announced, none given",
     {R"({"items": [{"name": "A"}, {"name": "B"}], "hasMore": true})",
      R"({"items": [], "hasMore": true})"},
     "the page at offset 2 is empty, though the one before said there were more"},
};

class ListingPages : public Served,
                     public ::testing::WithParamInterface<std::tuple<size_t, size_t>> {};

TEST_P(ListingPages, ThatDoNotAddUpFailTheCallSayingSo) {
  const ListKind& kind = kKinds[std::get<0>(GetParam())];
  const BadPages& bad = kBadPages[std::get<1>(GetParam())];
  auto served = std::make_shared<std::atomic<size_t>>(0);
  server.SetHook([&, served](const httplib::Request& req, httplib::Response& res) {
    if (req.target.find(kind.path) == std::string::npos) return false;
    const size_t n = (*served)++;
    res.set_content(bad.pages[std::min(n, bad.pages.size() - 1)], "application/json");
    return true;
  });
  LogIn();
  const Failure f = kind.list(rest);
  EXPECT_EQ(f.status, RestStatusBadAnswer) << bad.what;
  EXPECT_TRUE(Has(f.detail, bad.why)) << bad.what << ": " << f.detail;
  EXPECT_EQ(f.serverText, "");
  EXPECT_EQ(*served, bad.pages.size()) << bad.what;
}

INSTANTIATE_TEST_SUITE_P(EveryList, ListingPages,
                         ::testing::Combine(::testing::Range<size_t>(0, 3),
                                            ::testing::Range<size_t>(0, 5)));

TEST_F(Served, AListedNameThatCannotBeUsedFailsTheListingNamingItEscaped) {
  server.SetHook([](const httplib::Request& req, httplib::Response& res) {
    if (req.target.find("/filters?") == std::string::npos) return false;
    res.set_content(R"({"items": [{"name": "ok"}, {"name": "evil\u001b[2J"}]})",
                    "application/json");
    return true;
  });
  LogIn();
  std::vector<std::string> names;
  const Failure f = rest.ListFilters({"Sample", "Basic"}, names);
  EXPECT_EQ(f.status, RestStatusNameNotServed);
  EXPECT_EQ(f.step, Step::ListFilters);
  EXPECT_TRUE(Has(f.detail, "the name \"evil\\x1b[2J\" holds a control character")) << f.detail;
  EXPECT_FALSE(Has(AllText(f), "\x1b"));
  EXPECT_EQ(names, std::vector<std::string>{"ok"});
}

TEST_F(Served, AServerErrorPartWayFailsTheListingKeepingWhatCameBefore) {
  server.SetHook([](const httplib::Request& req, httplib::Response& res) {
    if (req.target.find("/filters?offset=2") == std::string::npos) return false;
    Error(res, 500, 1030030, "the store cannot be read");
    return true;
  });
  LogIn();
  std::vector<std::string> names;
  const Failure f = rest.ListFilters({"Sample", "Basic"}, names);
  EXPECT_EQ(f.status, 1030030);
  EXPECT_EQ(f.serverText, "HTTP 500: Essbase Error(1030030): the store cannot be read");
  EXPECT_EQ(f.call, "GET filters");
  EXPECT_EQ(names, (std::vector<std::string>{"F1", "F2"}));
}

TEST_F(Served, AnEndedSessionIsLoggedInAgainOnceAndTheWholeListingRepeated) {
  LogIn();
  CountingAgain again(rest, Login());
  std::atomic<int> pages{0};
  server.SetHook([&](const httplib::Request& req, httplib::Response&) {
    if (req.target.find("/filters?offset=2") != std::string::npos && pages++ == 0)
      server.EndSessions();
    return false;
  });
  std::vector<std::string> names;
  ASSERT_FALSE(rest.ListFilters({"Sample", "Basic"}, names));
  EXPECT_EQ(names, (std::vector<std::string>{"F1", "F2", "F3", "F4", "F5"}));
  EXPECT_EQ(again.steps, std::vector<Step>{Step::ListFilters});
  EXPECT_EQ(server.logins(), 2);
  EXPECT_EQ(server.Count("GET", "/filters?offset=0"), 2);
}

TEST_F(Served, AnEndedSessionTheCommandDoesNotRepeatFailsAsItIs) {
  LogIn();
  CountingAgain again(rest, Login(), true, {});
  server.EndSessions();
  std::vector<std::string> names;
  const Failure f = rest.ListFilters({"Sample", "Basic"}, names);
  EXPECT_EQ(f.status, ESB_STS_RELOGIN);
  EXPECT_TRUE(Has(f.serverText, "HTTP 401")) << f.serverText;
  EXPECT_EQ(again.steps, std::vector<Step>{Step::ListFilters});
  EXPECT_EQ(server.logins(), 1);
}

}  // namespace
