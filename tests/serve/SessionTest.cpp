// Server sessions as a real server keeps them: opened by basic credentials,
// named by a cookie, ended by a logout or by a dropped login (1051021).
#include <gtest/gtest.h>

#include <regex>
#include <set>

#include "tests/serve/ServeFixture.h"

namespace servetest {
namespace {

using nlohmann::json;

class Sessions : public ServeTest {
 protected:
  // The live sessions, counted through a session of their own (which the
  // count leaves out).
  size_t Live() {
    Client admin(url());
    admin.Basic("r", "rpw");
    const Answer a = admin.Get("/sessions");
    EXPECT_EQ(a.status, 200) << a.body;
    size_t others = 0;
    for (const json& s : a.Json())
      if (s["userId"] != "r") ++others;
    return others;
  }
};

TEST_F(Sessions, LoginSetsAnUnguessableHttpOnlyCookie) {
  Serve();
  const Answer a = Connect()->Get("/session");
  ASSERT_EQ(a.status, 200);
  EXPECT_TRUE(std::regex_match(a.Header("Set-Cookie"),
                               std::regex("JSESSIONID=[0-9a-f]{32}; Path=/essbase; HttpOnly")))
      << a.Header("Set-Cookie");
  EXPECT_EQ(a.Json()["name"], "u");
}

TEST_F(Sessions, RequestsCarryingTheCookieStayInOneSession) {
  Serve();
  auto client = Connect();
  ASSERT_EQ(client->Get("/session").status, 200);
  const std::string cookie = client->cookie();
  client->NoBasic();
  for (int i = 0; i < 5; ++i) {
    const Answer a = client->Get("/applications/Sample/databases/Basic/filters");
    ASSERT_EQ(a.status, 200) << a.body;
    EXPECT_EQ(a.Header("Set-Cookie"), "") << "request " << i;
  }
  EXPECT_EQ(client->cookie(), cookie);
  EXPECT_EQ(Live(), 1u);
}

TEST_F(Sessions, EachRequestWithoutACookieOpensASessionOfItsOwn) {
  Serve();
  auto client = Connect();
  client->KeepCookies(false);
  std::set<std::string> tokens;
  for (int i = 0; i < 4; ++i) {
    const Answer a = client->Get("/applications");
    ASSERT_EQ(a.status, 200);
    tokens.insert(SetCookieToken(a));
  }
  EXPECT_EQ(tokens.size(), 4u);
  EXPECT_EQ(tokens.count(""), 0u);
  EXPECT_EQ(Live(), 4u);
}

TEST_F(Sessions, SessionsListEachWithItsUserAndANumber) {
  Serve();
  Connect()->Get("/session");
  Client reader(url());
  reader.Basic("r", "rpw");
  const json all = reader.Get("/sessions").Json();
  ASSERT_EQ(all.size(), 2u);
  EXPECT_EQ(all[0]["userId"], "u");
  EXPECT_EQ(all[1]["userId"], "r");
  EXPECT_NE(all[0]["sessionId"], all[1]["sessionId"]);
  EXPECT_TRUE(std::regex_match(all[0]["sessionId"].get<std::string>(), std::regex("[0-9]+")));
  const json mine = reader.Get("/sessions?userId=r").Json();
  ASSERT_EQ(mine.size(), 1u);
  EXPECT_EQ(mine[0]["userId"], "r");
}

TEST_F(Sessions, LogoutEndsTheSession) {
  Serve();
  auto client = Connect();
  ASSERT_EQ(client->Get("/session").status, 200);
  ASSERT_EQ(client->Delete("/session").status, 200);
  EXPECT_EQ(Live(), 0u);
  const Answer after = client->Get("/applications");
  EXPECT_EQ(after.status, 401);
  EXPECT_EQ(after.Header("WWW-Authenticate"), "Basic realm=\"essbase\"");
}

TEST_F(Sessions, DroppedLoginEndsTheSessionUntilTheClientLogsInAgain) {
  Serve("fault\tEsbListFilters\t1051021\t0\t1\n");
  auto client = Connect();
  ASSERT_EQ(client->Get("/session").status, 200);
  const std::string dropped = client->cookie();
  const Answer failed = client->Get("/applications/Sample/databases/Basic/filters");
  EXPECT_EQ(failed.status, 401) << failed.body;
  EXPECT_EQ(failed.Header("WWW-Authenticate"), "Basic realm=\"essbase\"");
  // Its cookie is refused, credentials or not: no session is made behind the client's back.
  const Answer again = client->Get("/applications");
  EXPECT_EQ(again.status, 401);
  EXPECT_EQ(again.Header("Set-Cookie"), "");
  EXPECT_EQ(Live(), 0u);
  client->Cookie("");
  ASSERT_EQ(client->Get("/session").status, 200);
  EXPECT_NE(client->cookie(), dropped);
  EXPECT_EQ(client->Get("/applications/Sample/databases/Basic/filters").status, 200);
}

TEST_F(Sessions, UnknownCookieIsRefusedEvenWithCredentials) {
  Serve();
  auto client = Connect();
  client->Cookie("0123456789abcdef0123456789abcdef");
  const Answer a = client->Get("/applications");
  EXPECT_EQ(a.status, 401);
  EXPECT_EQ(a.Header("Set-Cookie"), "");
  EXPECT_EQ(a.Json().contains("errorCode"), false) << a.body;
}

TEST_F(Sessions, RefusedCredentialsOpenNoSession) {
  Serve();
  Client client(url());
  for (const auto& [user, password] : {std::pair{"u", "wrong"}, std::pair{"nobody", "pw"}}) {
    client.Basic(user, password);
    const Answer a = client.Get("/applications");
    EXPECT_EQ(a.status, 401) << user;
    EXPECT_EQ(a.Header("Set-Cookie"), "") << user;
    EXPECT_EQ(a.Header("WWW-Authenticate"), "Basic realm=\"essbase\"");
  }
  client.NoBasic();
  EXPECT_EQ(client.Get("/applications").status, 401);
  EXPECT_EQ(Live(), 0u);
}

TEST_F(Sessions, LoginFaultFailsTheRequestThatWouldOpenTheSession) {
  Serve("fault\tEsbLogin\t1030030\t0\t1\n");
  auto client = Connect();
  const Answer a = client->Get("/session");
  EXPECT_EQ(a.status, 500);
  EXPECT_EQ(a.Json()["errorCode"], 1030030);
  EXPECT_EQ(a.Header("Set-Cookie"), "");
  EXPECT_EQ(client->Get("/session").status, 200);
}

TEST_F(Sessions, OverHttpsTheCookieIsSecureAndLinksAreHttps) {
  const std::string d = dir_.path();
  const std::string make = "cd " + d +
                           " && openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1"
                           " -nodes -keyout key.pem -out cert.pem -days 2 -subj /CN=127.0.0.1"
                           " 2>/dev/null";
  ASSERT_EQ(system(make.c_str()), 0);
  Serve({}, {"--tls", d + "/cert.pem", d + "/key.pem"});
  ASSERT_EQ(url().rfind("https://", 0), 0u) << url();
  const Answer a = Connect()->Get("/session");
  ASSERT_EQ(a.status, 200) << a.body;
  EXPECT_TRUE(
      std::regex_match(a.Header("Set-Cookie"),
                       std::regex("JSESSIONID=[0-9a-f]{32}; Path=/essbase; HttpOnly; Secure")))
      << a.Header("Set-Cookie");
  const std::string href = a.Json()["links"][0]["href"];
  EXPECT_EQ(href.rfind(url() + "/rest/v1/", 0), 0u) << href;
}

}  // namespace
}  // namespace servetest
