// The pieces the REST front reads a request with, and the session table.
#include <gtest/gtest.h>

#include <set>

#include "sim/serve/HttpParts.h"
#include "sim/serve/SessionTable.h"

namespace servetest {
namespace {

using namespace esbsim::serve;

TEST(SessionCookieTest, IsFoundAmongOtherCookies) {
  EXPECT_EQ(SessionCookie("JSESSIONID=abc"), "abc");
  EXPECT_EQ(SessionCookie("a=1; JSESSIONID=abc; b=2"), "abc");
  EXPECT_EQ(SessionCookie("a=1;JSESSIONID = abc ;b=2"), "abc");
  EXPECT_EQ(SessionCookie("JSESSIONID="), "");
  EXPECT_EQ(SessionCookie("XJSESSIONID=abc; JSESSIONIDX=def"), std::nullopt);
  EXPECT_EQ(SessionCookie(""), std::nullopt);
}

TEST(MediaTypeTest, OnlyJsonIsJson) {
  EXPECT_TRUE(IsJson("application/json"));
  EXPECT_TRUE(IsJson(" Application/Json ; charset=UTF-8"));
  EXPECT_FALSE(IsJson(""));
  EXPECT_FALSE(IsJson("text/plain"));
  EXPECT_FALSE(IsJson("application/jsonx"));
  EXPECT_FALSE(IsJson("application/xml"));
}

TEST(SegmentsTest, AreDecodedEachAlone) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Segments("/essbase/rest/v1/applications/A%2FB/databases?x=%2F"),
            (V{"applications", "A/B", "databases"}));
  EXPECT_EQ(Segments("/essbase/rest/v1"), V{});
  EXPECT_EQ(Segments("/essbase/rest/v1/a%C3%A9"), V{"a\xC3\xA9"});
  EXPECT_EQ(Segments("/essbase/rest/v1x/applications"), std::nullopt);
  EXPECT_EQ(Segments("/essbase/rest/v2/applications"), std::nullopt);
  EXPECT_EQ(Segments("/essbase/rest/v1/a%4"), std::nullopt);
  EXPECT_EQ(Segments("/essbase/rest/v1/a%g0"), std::nullopt);
}

TEST(BasicCredentialsTest, AreDecodedOrRefused) {
  const auto who = BasicCredentials("Basic dTpwOnc=");  // u:p:w
  ASSERT_TRUE(who);
  EXPECT_EQ(who->user, "u");
  EXPECT_EQ(who->password, "p:w");
  EXPECT_FALSE(BasicCredentials("Bearer dTpwOnc="));
  EXPECT_FALSE(BasicCredentials("Basic dXNlcg=="));  // "user": no colon
  EXPECT_FALSE(BasicCredentials("Basic d*o="));
}

TEST(SessionTableTest, TokensAndNumbersAreUniqueAndEndedSessionsAreGone) {
  SessionTable table;
  std::set<std::string> tokens;
  std::set<uint32_t> numbers;
  for (int i = 0; i < 200; ++i) {
    const LiveSession& s = table.Add("u" + std::to_string(i), 275, "here", 100 + i);
    EXPECT_EQ(s.token.size(), 32u);
    EXPECT_EQ(s.token.find_first_not_of("0123456789abcdef"), std::string::npos);
    tokens.insert(s.token);
    numbers.insert(s.number);
  }
  EXPECT_EQ(tokens.size(), 200u);
  EXPECT_EQ(numbers.size(), 200u);
  const std::vector<LiveSession> all = table.All();
  ASSERT_EQ(all.size(), 200u);
  EXPECT_EQ(all.front().user, "u0");
  EXPECT_EQ(all.back().user, "u199");
  const std::string second = all[1].token;
  table.End(second);
  EXPECT_EQ(table.Find(second), nullptr);
  ASSERT_NE(table.Find(all[2].token), nullptr);
  EXPECT_EQ(table.Find(all[2].token)->context, 102u);
  EXPECT_EQ(table.All().size(), 199u);
  EXPECT_EQ(table.All()[1].user, "u2");
}

}  // namespace
}  // namespace servetest
