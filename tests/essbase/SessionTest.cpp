// The session chooses the backend at login by the server's name and carries
// the command's policy for logging in again.
#include <gtest/gtest.h>

#include <deque>

#include "essbase/Session.h"
#include "essbase/library/LibraryServer.h"
#include "tests/support/FakeEssbaseApi.h"

namespace essbase {
namespace {

using testing::FakeEssbaseApi;

// A REST backend as the session sees it: logins answered from a script.
class ScriptedRest final : public Server {
 public:
  std::deque<Failure> logins;  // answers in turn; none left: success
  std::vector<Credentials> tried;
  int* made = nullptr;

  bool OverRest() const override { return true; }
  Failure Start(Generation, std::string_view) override { return {}; }
  void End() override {}
  Failure LogIn(const Credentials& c) override {
    tried.push_back(c);
    if (logins.empty()) return {};
    Failure f = logins.front();
    logins.pop_front();
    return f;
  }
  Failure LogOut() override { return {}; }
  Failure ListApplications(std::vector<Application>&) override { return {}; }
  Failure ApplicationLoaded(const std::string&, bool&) override { return {}; }
  Failure ListDatabases(const std::string&, std::vector<Database>&) override { return {}; }
  Failure ListFilters(const Database&, std::vector<std::string>&) override { return {}; }
  Failure Activate(const Database&) override { return {}; }
  Failure StopApplication(const std::string&) override { return {}; }
  Failure ReadFilters(const Database&, const std::vector<std::string>&, const ReadOptions&,
                      FilterReceiver&) override {
    return {};
  }
  Failure ReadDatabase(const Database&, const Wanted&, const ReadOptions&,
                       FilterReceiver&) override {
    return {};
  }
  std::unique_ptr<Writes> StartWrites(WriteReceiver&, const WriteOptions&) override {
    return nullptr;
  }
};

class RecordingListener final : public SessionListener {
 public:
  void LoginFailed(const Failure& f) override { failures.push_back(f); }
  void LoggedInAgain() override { ++again; }
  std::vector<Failure> failures;
  int again = 0;
};

// A library whose prompt is the host's, as the simulated one lends it.
class PromptLibrary final : public FakeEssbaseApi {
 public:
  bool SetLoginPrompt(EsbSimLoginPrompt prompt, void* data) override {
    prompt_ = prompt;
    data_ = data;
    return true;
  }
  int32_t EsbAutoLogin(Handle instance, std::span<char> s, std::span<char> u, std::span<char> p,
                       std::span<char> a, std::span<char> d, int16_t o, int16_t& access,
                       Handle& context) override {
    const int32_t answer = prompt_(data_, s.data(), u.data(), p.data());
    if (answer != 0) return answer;
    loginAnswers.push_back({0, s.data(), u.data(), p.data(), AccessWrite});
    return FakeEssbaseApi::EsbAutoLogin(instance, s, u, p, a, d, o, access, context);
  }

 private:
  EsbSimLoginPrompt prompt_ = nullptr;
  void* data_ = nullptr;
};

class SessionTest : public ::testing::Test {
 protected:
  SessionTest() {
    session.SetLoginPrompt([this](std::string& s, std::string& u, std::string& p) {
      offered.push_back(s);
      if (answers.empty()) return LoginCancelled;
      const Credentials c = answers.front();
      answers.pop_front();
      s = c.server;
      u = c.user;
      p = c.password;
      return 0;
    });
  }
  RestMaker Maker() {
    return [this] {
      auto rest = std::make_unique<ScriptedRest>();
      rest->logins = restLogins;
      restLogins.clear();
      rests.push_back(rest.get());
      return rest;
    };
  }

  PromptLibrary api;
  ConnectionState conn;
  LibraryServer library{api, conn};
  RecordingListener listener;
  std::deque<Failure> restLogins;
  std::vector<ScriptedRest*> rests;
  Session session{library, conn, Generation::V6, listener, Maker()};
  std::deque<Credentials> answers;
  std::vector<std::string> offered;
};

const char* const Url = "https://essbase.example.com:9001/essbase";

TEST_F(SessionTest, NameAnsweredLogsInThroughTheLibrary) {
  answers.push_back({"essdemo", "demo", "demo"});
  session.Initialize();
  EXPECT_TRUE(session.LogIn());
  EXPECT_FALSE(session.OverRest());
  EXPECT_EQ(&session.server(), &library);
  EXPECT_TRUE(rests.empty());
}

TEST_F(SessionTest, UrlAnsweredLogsInOverRestWithTheAnswers) {
  answers.push_back({Url, "admin", "secret"});
  session.Initialize();
  EXPECT_TRUE(session.LogIn());
  EXPECT_TRUE(session.OverRest());
  ASSERT_EQ(rests.size(), 1u);
  ASSERT_EQ(rests[0]->tried.size(), 1u);
  EXPECT_EQ(rests[0]->tried[0].server, Url);
  EXPECT_EQ(rests[0]->tried[0].user, "admin");
  EXPECT_EQ(conn.Server, Url);
  EXPECT_EQ(conn.Status, 0);
  EXPECT_TRUE(listener.failures.empty());
}

TEST_F(SessionTest, RefusedRestLoginIsReportedWithWhatTheServerSaidAndTheUserOfferedAgain) {
  Failure refused = FailureOf(Step::LogIn, ESB_STS_BAD_LOGIN);
  refused.serverText = "HTTP 401: Invalid credentials";
  restLogins.push_back(refused);
  answers.push_back({Url, "admin", "wrong"});
  session.Initialize();
  EXPECT_FALSE(session.LogIn());
  EXPECT_FALSE(session.OverRest());
  ASSERT_EQ(listener.failures.size(), 1u);
  EXPECT_EQ(listener.failures[0].serverText, "HTTP 401: Invalid credentials");
  EXPECT_EQ(conn.Status, ESB_STS_BAD_LOGIN);
  EXPECT_EQ(conn.User, "admin");
}

TEST_F(SessionTest, AfterTheRestSessionEndedThePromptOffersItsUrl) {
  answers.push_back({Url, "admin", "secret"});
  session.Initialize();
  ASSERT_TRUE(session.LogIn());
  Server* before = &session.server();
  answers.push_back({Url, "admin", "secret"});
  session.Reconnect();
  ASSERT_EQ(offered.size(), 2u);
  EXPECT_EQ(offered[1], Url);
  EXPECT_EQ(listener.again, 1);
  EXPECT_TRUE(session.OverRest());
  // Logged in again on the backend at work, not a new one under a command.
  EXPECT_EQ(&session.server(), before);
  EXPECT_EQ(rests.size(), 1u);
  EXPECT_EQ(rests[0]->tried.size(), 2u);
}

TEST_F(SessionTest, LibraryThatDidNotStartStillServesUrlsAndRefusesNames) {
  api.Fail("EsbInit", ESB_STS_LIBRARY_UNAVAILABLE);
  session.Initialize();
  answers.push_back({"essdemo", "demo", "demo"});
  EXPECT_FALSE(session.LogIn());
  ASSERT_EQ(listener.failures.size(), 1u);
  EXPECT_EQ(listener.failures[0].status, ESB_STS_LIBRARY_UNAVAILABLE);
  EXPECT_EQ(api.CountCalls("EsbAutoLogin"), 0);
  answers.push_back({Url, "admin", "secret"});
  EXPECT_TRUE(session.LogIn());
  EXPECT_TRUE(session.OverRest());
}

TEST_F(SessionTest, CancelledPromptIsSilent) {
  session.Initialize();
  EXPECT_FALSE(session.LogIn());
  EXPECT_TRUE(listener.failures.empty());
  EXPECT_EQ(conn.Status, LoginCancelled);
}

// Over REST a login again that failed is not tried once more in the same
// command: a server refusing it would be asked once per filter.
TEST_F(SessionTest, FailedLoginAgainOverRestEndsTheTriesUntilTheNextCommand) {
  answers.push_back({Url, "admin", "secret"});
  session.Initialize();
  ASSERT_TRUE(session.LogIn());
  ScriptedRest* rest = rests.back();
  {
    auto policed = session.Under(policy::WholeFilters(Policy::Login::Quiet));
    rest->logins.push_back(FailureOf(Step::LogIn, ESB_STS_BAD_LOGIN));
    EXPECT_FALSE(session.Again(Step::WriteFilter));
    EXPECT_FALSE(session.Again(Step::WriteFilter));
    EXPECT_FALSE(session.TryLogin());
    EXPECT_EQ(rest->tried.size(), 2u);  // one login tried
  }
  auto policed = session.Under(policy::WholeFilters(Policy::Login::Quiet));
  EXPECT_TRUE(session.Again(Step::WriteFilter));
  EXPECT_EQ(rest->tried.size(), 3u);
  // A command in the middle of its calls keeps its backend.
  EXPECT_EQ(&session.server(), rest);
  EXPECT_EQ(rests.size(), 1u);
}

TEST_F(SessionTest, LoginAgainFollowsThePolicysKindOfLogin) {
  answers.push_back({"essdemo", "demo", "demo"});
  session.Initialize();
  ASSERT_TRUE(session.LogIn());
  {
    auto never = session.Under(policy::None());
    EXPECT_FALSE(session.LogsInAgain());
    EXPECT_FALSE(session.TryLogin());
    EXPECT_FALSE(session.Again(Step::ListFilters));
  }
  {
    auto quiet = session.Under(policy::WholeFilters(Policy::Login::Quiet));
    EXPECT_TRUE(session.Again(Step::ReadFilter));
    EXPECT_EQ(api.CountCalls("EsbLogin"), 1);
    EXPECT_EQ(offered.size(), 1u);  // no prompt
    EXPECT_FALSE(session.Again(Step::ListFilters));  // not a whole filter
    EXPECT_TRUE(session.TryLogin());
    EXPECT_EQ(api.CountCalls("EsbLogin"), 2);
  }
  auto prompt = session.Under(policy::Listing());
  answers.push_back({"essdemo", "demo", "demo"});
  EXPECT_TRUE(session.Again(Step::ListFilters));
  EXPECT_EQ(offered.size(), 2u);
  // A server that stopped answering is tried with the stored credentials,
  // never with a prompt.
  EXPECT_TRUE(session.TryLogin());
  EXPECT_EQ(offered.size(), 2u);
}

}  // namespace
}  // namespace essbase
