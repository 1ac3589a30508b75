// Writing and deleting over REST: several in flight, outcomes in the order
// asked, create or replace told by the database's listing, two requests of
// one filter never at once, and an ended session met once for the run.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "essbase/AccessWords.h"
#include "essbase/Constants.h"
#include "essbase/rest/RestServer.h"
#include "essbase/rest/RestStatus.h"
#include "tests/rest/Support.h"
#include "tests/rest/TestServer.h"

namespace {

using namespace essbase;
using namespace essbase::rest;
using namespace resttest;

const Database kDb{"Sample", "Basic"};

Options Slow(int ms = 20) {
  Options o = PagedAt(2);
  o.latency = std::chrono::milliseconds(ms);
  return o;
}

class Writing : public ::testing::Test {
 protected:
  explicit Writing(Options options = Slow()) : server(options) {
    server.AddApplication("Sample");
    server.AddDatabase("Sample", "Basic");
  }
  Credentials Login() const { return {server.Url(), "u", "pw"}; }
  void LogIn() { ASSERT_FALSE(rest.LogIn(Login())); }
  static Filter Named(const std::string& name, const std::string& text = "\"East\"") {
    return MakeFilter(name, {{AccessRead, text}, {AccessWrite, text + "2"}});
  }
  std::vector<std::string> OutcomeNames() const {
    std::vector<std::string> names;
    for (const WriteOutcome& o : outcomes.all) names.push_back(o.name);
    return names;
  }

  TestServer server;
  RestServer rest;
  Outcomes outcomes;
};

TEST_F(Writing, ThirtyFiltersInFlightOneRefusedEveryOtherWrittenOutcomesInOrder) {
  server.SetHook([](const httplib::Request& req, httplib::Response& res) {
    if (req.method != "POST" || req.body.find("\"F17\"") == std::string::npos) return false;
    Error(res, 400, ESB_STS_BAD_ROW, "row 2 is not valid: unknown member \"East2\"");
    return true;
  });
  LogIn();
  std::vector<std::string> names;
  {
    auto writes = rest.StartWrites(outcomes, {});
    for (int i = 0; i < 30; ++i) {
      names.push_back("F" + std::to_string(i));
      writes->Write(kDb, Named(names.back(), "\"M" + std::to_string(i) + "\""));
    }
    writes->Finish();
    EXPECT_EQ(outcomes.all.size(), 30u);
  }
  EXPECT_EQ(OutcomeNames(), names);
  for (const WriteOutcome& o : outcomes.all) {
    EXPECT_EQ(o.kind, WriteOutcome::Kind::Write);
    EXPECT_EQ(o.db, kDb);
    EXPECT_FALSE(o.skipped);
    if (o.name == "F17") continue;
    EXPECT_TRUE(o.done) << o.name << ": " << o.failure.detail << o.failure.serverText;
    const auto rows = server.Rows("Sample", "Basic", o.name);
    ASSERT_TRUE(rows) << o.name;
    const std::string text = "\"M" + o.name.substr(1) + "\"";
    EXPECT_EQ(*rows, (std::vector<TestServer::Row>{{"Read", text}, {"Write", text + "2"}}));
  }
  const WriteOutcome& refused = outcomes.all[17];
  EXPECT_FALSE(refused.done);
  EXPECT_EQ(refused.failure.status, ESB_STS_BAD_ROW);
  EXPECT_EQ(refused.failure.serverText,
            "HTTP 400: Essbase Error(1051048): row 2 is not valid: unknown member \"East2\"");
  EXPECT_EQ(refused.failure.step, Step::WriteFilter);
  EXPECT_EQ(refused.failure.filter, "F17");
  EXPECT_EQ(refused.failure.call, "POST filters");
  EXPECT_FALSE(refused.failure.unknownOutcome);
  EXPECT_FALSE(server.Rows("Sample", "Basic", "F17"));
  EXPECT_LE(server.maxInFlight(), 8);
  EXPECT_GE(server.maxInFlight(), 4) << "writes go side by side";
}

TEST_F(Writing, ReplaceOrCreateFollowsTheListingNeverAnError) {
  server.PutFilter("Sample", "Basic", "E1", {{"None", "old"}});
  server.PutFilter("Sample", "Basic", "E2", {{"None", "old"}});
  server.PutFilter("Sample", "Basic", "E3", {{"None", "old"}});
  LogIn();
  auto writes = rest.StartWrites(outcomes, {});
  for (const char* name : {"E1", "N1", "E3", "N2", "E2"}) writes->Write(kDb, Named(name));
  writes->Finish();
  for (const WriteOutcome& o : outcomes.all) EXPECT_TRUE(o.done) << o.name << o.failure.serverText;
  EXPECT_EQ(server.Count("PUT", "/filters/E1"), 1);
  EXPECT_EQ(server.Count("PUT", "/filters/E2"), 1);
  EXPECT_EQ(server.Count("PUT", "/filters/E3"), 1);
  EXPECT_EQ(server.Count("POST", "/filters"), 2);
  // The database is listed once, whole (two pages of two and one).
  EXPECT_EQ(server.Count("GET", "/filters?offset=0"), 1);
  EXPECT_EQ(server.Count("GET", "/filters?offset=2"), 1);
  EXPECT_EQ(server.Count("GET", "/filters/"), 0) << "no filter is asked for one by one";
}

TEST_F(Writing, AFilterWrittenSeveralTimesEndsWithItsLastDefinitionNeverTwoAtOnce) {
  std::mutex mutex;
  std::map<std::string, int> busy;
  int overlaps = 0;
  server.SetHook([&](const httplib::Request& req, httplib::Response&) {
    if (req.method == "GET") return false;
    const std::string key = req.method == "POST" ? req.body.substr(0, 12) : req.target;
    {
      std::lock_guard<std::mutex> lock(mutex);
      overlaps += busy[key]++ > 0;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    std::lock_guard<std::mutex> lock(mutex);
    --busy[key];
    return false;
  });
  LogIn();
  auto writes = rest.StartWrites(outcomes, {});
  writes->Write(kDb, Named("X", "v1"));
  writes->Write(kDb, Named("Y", "y"));
  writes->Write(kDb, Named("X", "v2"));
  writes->Delete(kDb, "Y");
  writes->Write(kDb, Named("X", "v3"));
  writes->Write(kDb, Named("Y", "y2"));
  writes->Finish();
  ASSERT_EQ(outcomes.all.size(), 6u);
  for (const WriteOutcome& o : outcomes.all) EXPECT_TRUE(o.done) << o.name << o.failure.serverText;
  EXPECT_EQ(outcomes.all[3].kind, WriteOutcome::Kind::Delete);
  EXPECT_EQ(*server.Rows("Sample", "Basic", "X"),
            (std::vector<TestServer::Row>{{"Read", "v3"}, {"Write", "v32"}}));
  EXPECT_EQ(*server.Rows("Sample", "Basic", "Y"),
            (std::vector<TestServer::Row>{{"Read", "y2"}, {"Write", "y22"}}));
  EXPECT_EQ(overlaps, 0);
  // Created once, then replaced: what the run did kept its knowledge current.
  EXPECT_EQ(server.Count("PUT", "/filters/X"), 2);
  EXPECT_EQ(server.Count("POST", "/filters"), 3);
}

TEST_F(Writing, AListingTheServerFailsFailsTheWritesItWouldDecideNotReadAsAbsent) {
  server.SetHook([](const httplib::Request& req, httplib::Response& res) {
    if (req.method != "GET" || req.target.find("/filters?") == std::string::npos) return false;
    Error(res, 500, 0, "the filter store is locked");
    return true;
  });
  LogIn();
  auto writes = rest.StartWrites(outcomes, {});
  writes->Write(kDb, Named("A"));
  writes->Write(kDb, Named("B"));
  writes->Finish();
  ASSERT_EQ(outcomes.all.size(), 2u);
  for (const WriteOutcome& o : outcomes.all) {
    EXPECT_FALSE(o.done);
    EXPECT_EQ(o.failure.status, RestStatusHttp);
    EXPECT_EQ(o.failure.serverText, "HTTP 500: Essbase Error(0): the filter store is locked");
    EXPECT_EQ(o.failure.call, "GET filters");
    EXPECT_EQ(o.failure.filter, o.name);
    EXPECT_EQ(o.failure.step, Step::WriteFilter);
  }
  EXPECT_EQ(server.Count("POST", "/"), 0);
  EXPECT_EQ(server.Count("PUT", "/"), 0);
  EXPECT_EQ(server.Count("GET", "/filters?"), 1);
}

TEST_F(Writing, DeletionsNeedNoListingAndKeepTheKnowledgeCurrent) {
  server.PutFilter("Sample", "Basic", "E", {{"None", "old"}});
  LogIn();
  auto writes = rest.StartWrites(outcomes, {});
  writes->Write(kDb, Named("Other"));
  writes->Delete(kDb, "E");
  writes->Write(kDb, Named("E", "new"));
  writes->Delete(kDb, "Gone");
  writes->Finish();
  ASSERT_EQ(outcomes.all.size(), 4u);
  EXPECT_TRUE(outcomes.all[1].done);
  EXPECT_TRUE(outcomes.all[2].done) << outcomes.all[2].failure.serverText;
  EXPECT_EQ(server.Count("POST", "/filters"), 2) << "E is created anew after its deletion";
  EXPECT_FALSE(outcomes.all[3].done);
  EXPECT_EQ(outcomes.all[3].failure.status, ESB_STS_UNKNOWN_FILTER);
  EXPECT_EQ(outcomes.all[3].failure.step, Step::DeleteFilter);
  EXPECT_EQ(outcomes.all[3].failure.call, "DELETE filter");
}

TEST_F(Writing, AFilterThatLostRowsIsNotSent) {
  LogIn();
  auto writes = rest.StartWrites(outcomes, {});
  writes->Write(kDb, Named("Partial"), true);
  writes->Finish();
  ASSERT_EQ(outcomes.all.size(), 1u);
  EXPECT_FALSE(outcomes.all[0].done);
  EXPECT_FALSE(outcomes.all[0].skipped);
  EXPECT_EQ(outcomes.all[0].failure.status, 0);
  EXPECT_EQ(server.requests(), 1) << "the login alone";
}

TEST_F(Writing, WhatTheServerCannotHoldIsRefusedBeforeAnyRequest) {
  LogIn();
  auto writes = rest.StartWrites(outcomes, {});
  writes->Write(kDb, MakeFilter("Code", {{AccessRead, "a"}, {FilterAccess, "b"}}));
  writes->Write(kDb, MakeFilter("Break", {{AccessRead, "a\nb"}}));
  writes->Write(kDb, MakeFilter("Empty", {{AccessRead, ""}}));
  writes->Write(kDb, MakeFilter("Bytes", {{AccessRead, "\xFF"}}));
  writes->Write(kDb, MakeFilter("", {{AccessRead, "a"}}));
  writes->Delete(kDb, "bad\x1b");
  writes->Finish();
  const std::pair<int32_t, const char*> expected[] = {
      {RestStatusNoAccessWord, "row 2 of the filter \"Code\" has the access code 375"},
      {ESB_STS_BAD_ROW, "row 1 of the filter \"Break\" holds a CR, LF or NUL"},
      {ESB_STS_BAD_ROW, "row 1 of the filter \"Empty\" is empty"},
      {ESB_STS_BAD_ROW, "row 1 of the filter \"Bytes\" is not UTF-8"},
      {ESB_STS_BAD_NAME, "the filter name \"\" is empty"},
      {ESB_STS_BAD_NAME, "the filter name \"bad\\x1b\" holds a control character"},
  };
  ASSERT_EQ(outcomes.all.size(), 6u);
  for (size_t i = 0; i < 6; ++i) {
    EXPECT_EQ(outcomes.all[i].failure.status, expected[i].first) << i;
    EXPECT_TRUE(Has(outcomes.all[i].failure.detail, expected[i].second))
        << outcomes.all[i].failure.detail;
    EXPECT_FALSE(outcomes.all[i].done);
  }
  EXPECT_EQ(server.requests(), 1) << "the login alone";
}

TEST_F(Writing, RequestsSayJsonAndSpellAccessAsTheReferenceDoes) {
  server.PutFilter("Sample", "Basic", "Old", {{"None", "x"}});
  LogIn();
  auto writes = rest.StartWrites(outcomes, {});
  writes->Write(
      kDb, MakeFilter(
               "New \xE2\x82\xAC",
               {{AccessNone, "a"}, {AccessRead, "b"}, {AccessWrite, "c"}, {AccessMetaRead, "d"}}));
  writes->Write(kDb, Named("Old"));
  writes->Delete(kDb, "Old");
  writes->Finish();
  int withBody = 0;
  for (const Seen& s : server.Log()) {
    EXPECT_EQ(s.accept, "application/json") << s.method << " " << s.target;
    if (s.method == "POST" || (s.method == "PUT" && !s.body.empty())) {
      ++withBody;
      EXPECT_EQ(s.contentType, "application/json") << s.target;
    } else {
      EXPECT_EQ(s.contentType, "") << s.method << " " << s.target;
    }
  }
  EXPECT_EQ(withBody, 2);
  const std::vector<Seen> log = server.Log();
  const auto post =
      std::find_if(log.begin(), log.end(), [](const Seen& s) { return s.method == "POST"; });
  ASSERT_NE(post, log.end());
  const nlohmann::json body = nlohmann::json::parse(post->body);
  EXPECT_EQ(body["name"], "New \xE2\x82\xAC");
  std::vector<std::string> words;
  for (const auto& r : body["rows"]) words.push_back(r["access"]);
  EXPECT_EQ(words, (std::vector<std::string>{"None", "Read", "Write", "MetaRead"}));
}

TEST_F(Writing, AnEndedSessionIsLoggedInAgainOnceAndTheStoppedFiltersWrittenOnce) {
  LogIn();
  CountingAgain again(rest, Login());
  std::atomic<int> posts{0};
  server.SetHook([&](const httplib::Request& req, httplib::Response&) {
    if (req.method == "POST" && ++posts == 6) server.EndSessions();
    return false;
  });
  auto writes = rest.StartWrites(outcomes, {});
  for (int i = 0; i < 20; ++i) writes->Write(kDb, Named("F" + std::to_string(i)));
  writes->Finish();
  ASSERT_EQ(outcomes.all.size(), 20u);
  for (const WriteOutcome& o : outcomes.all) EXPECT_TRUE(o.done) << o.name << o.failure.serverText;
  EXPECT_EQ(again.steps, std::vector<Step>{Step::WriteFilter});
  EXPECT_EQ(again.tries, 0);
  EXPECT_EQ(server.logins(), 2);
  EXPECT_EQ(server.FilterNames("Sample", "Basic").size(), 20u);
  // Those the ended session refused were sent once more, and no others.
  const int refused = server.Count("POST", "/filters") - 20;
  EXPECT_GE(refused, 1);
  EXPECT_LE(refused, 8);
}

TEST_F(Writing, OneLoginAgainServesWritesAndDeletionsStoppedTogether) {
  for (int i = 0; i < 10; ++i)
    server.PutFilter("Sample", "Basic", "D" + std::to_string(i), {{"None", "x"}});
  LogIn();
  CountingAgain again(rest, Login());
  std::atomic<int> changes{0};
  server.SetHook([&](const httplib::Request& req, httplib::Response&) {
    if (req.method != "GET" && ++changes == 5) server.EndSessions();
    return false;
  });
  auto writes = rest.StartWrites(outcomes, {});
  for (int i = 0; i < 10; ++i) {
    writes->Write(kDb, Named("W" + std::to_string(i)));
    writes->Delete(kDb, "D" + std::to_string(i));
  }
  writes->Finish();
  ASSERT_EQ(outcomes.all.size(), 20u);
  for (const WriteOutcome& o : outcomes.all)
    EXPECT_TRUE(o.done) << o.name << ": " << o.failure.status << " " << o.failure.call << " "
                        << o.failure.serverText << o.failure.detail;
  EXPECT_EQ(again.steps.size(), 1u);
  EXPECT_EQ(server.logins(), 2);
  EXPECT_EQ(server.FilterNames("Sample", "Basic").size(), 10u);
}

TEST_F(Writing, AServerThatEndsEverySessionIsLoggedInAgainOnceNotPerFilter) {
  LogIn();
  CountingAgain again(rest, Login());
  // Every change is refused as from an ended session, burst after burst.
  server.SetHook([](const httplib::Request& req, httplib::Response& res) {
    if (req.method == "GET") return false;
    Error(res, 401, 0, "no session");
    return true;
  });
  auto writes = rest.StartWrites(outcomes, {});
  for (int i = 0; i < 20; ++i) writes->Write(kDb, Named("F" + std::to_string(i)));
  writes->Finish();
  ASSERT_EQ(outcomes.all.size(), 20u);
  for (const WriteOutcome& o : outcomes.all) EXPECT_EQ(o.failure.status, ESB_STS_RELOGIN) << o.name;
  EXPECT_EQ(again.steps, std::vector<Step>{Step::WriteFilter});
  EXPECT_EQ(server.logins(), 2);
  EXPECT_EQ(server.Count("POST", "/filters"), 20 + 8) << "the first ones stopped, sent twice";
}

TEST_F(Writing, AnEndedSessionTheCommandDoesNotRepeatFailsItsWritesAskingOnce) {
  LogIn();
  CountingAgain again(rest, Login(), true, {});
  server.EndSessions();
  auto writes = rest.StartWrites(outcomes, {});
  for (int i = 0; i < 12; ++i) writes->Write(kDb, Named("F" + std::to_string(i)));
  writes->Finish();
  ASSERT_EQ(outcomes.all.size(), 12u);
  for (const WriteOutcome& o : outcomes.all) {
    EXPECT_FALSE(o.done);
    EXPECT_EQ(o.failure.status, ESB_STS_RELOGIN) << o.name;
  }
  EXPECT_EQ(again.steps.size(), 1u);
  EXPECT_EQ(server.logins(), 1);
}

}  // namespace
