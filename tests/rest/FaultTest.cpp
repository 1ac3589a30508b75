// A server that answers late, stops, freezes, redirects or answers too much:
// the run ends within a bound the short timeout sets, a write whose answer
// never came may have been written, the writes not yet sent come back
// skipped, and a new login is tried once for the run, never per filter.
#include <gtest/gtest.h>

#include <condition_variable>
#include <future>
#include <set>
#include <thread>

#include "essbase/AccessWords.h"
#include "essbase/Constants.h"
#include "essbase/rest/RestServer.h"
#include "essbase/rest/RestStatus.h"
#include "essbase/rest/http/HttpClient.h"
#include "tests/rest/Support.h"
#include "tests/rest/TestServer.h"

namespace {

using namespace essbase;
using namespace essbase::rest;
using namespace resttest;
using Clock = std::chrono::steady_clock;

const Database kDb{"Sample", "Basic"};

// Holds the requests that come to it until released.
struct Gate {
  void Wait() {
    std::unique_lock<std::mutex> lock(mutex);
    opened.wait(lock, [&] { return open; });
  }
  void Open() {
    std::lock_guard<std::mutex> lock(mutex);
    open = true;
    opened.notify_all();
  }
  std::mutex mutex;
  std::condition_variable opened;
  bool open = false;
};

class Faults : public ::testing::Test {
 protected:
  explicit Faults(const char* timeout = "1") : env_("QUORVEL_HTTP_TIMEOUT", timeout) {
    Options o = PagedAt(2);
    o.latency = std::chrono::milliseconds(10);
    server = std::make_unique<TestServer>(o);
    server->AddApplication("Sample");
    server->AddDatabase("Sample", "Basic");
    rest = std::make_unique<RestServer>();
  }
  void TearDown() override { gate->Open(); }

  Credentials Login() const { return {server->Url(), "u", "pw"}; }
  void LogIn() { ASSERT_FALSE(rest->LogIn(Login())); }
  static Filter Named(const std::string& name) {
    return MakeFilter(name, {{AccessRead, "\"" + name + "\""}});
  }
  // Writes F0.. and returns how long the run took.
  Clock::duration WriteAll(int n) {
    const auto start = Clock::now();
    auto writes = rest->StartWrites(outcomes, {});
    for (int i = 0; i < n; ++i) writes->Write(kDb, Named("F" + std::to_string(i)));
    writes->Finish();
    return Clock::now() - start;
  }

  ScopedEnv env_;
  std::shared_ptr<Gate> gate = std::make_shared<Gate>();
  std::unique_ptr<TestServer> server;
  std::unique_ptr<RestServer> rest;
  Outcomes outcomes;
};

TEST_F(Faults, AWriteAnsweredAfterTheTimeoutMayHaveBeenWrittenAndTheRestAreSkipped) {
  server->SetHook([](const httplib::Request& req, httplib::Response&) {
    if (req.method == "POST") std::this_thread::sleep_for(std::chrono::seconds(2));
    return false;
  });
  LogIn();
  CountingAgain again(*rest, Login(), false);
  const auto took = WriteAll(12);
  EXPECT_LT(took, std::chrono::seconds(10));
  ASSERT_EQ(outcomes.all.size(), 12u);
  server->Quiet();
  const std::vector<std::string> written = server->FilterNames("Sample", "Basic");
  int late = 0, skipped = 0;
  for (const WriteOutcome& o : outcomes.all) {
    EXPECT_FALSE(o.done) << o.name;
    EXPECT_TRUE(o.failure.unreachable) << o.name;
    EXPECT_EQ(o.failure.status, RestStatusTimeout) << o.name;
    EXPECT_EQ(o.failure.detail, "the server at " + server->Url() + " did not answer in 1 s");
    EXPECT_EQ(o.failure.serverText, "");
    skipped += o.skipped;
    late += o.failure.unknownOutcome;
    // The answers came too late, not the writes: whatever the server holds
    // is told as "may have been written", never as not written.
    if (std::find(written.begin(), written.end(), o.name) != written.end()) {
      EXPECT_TRUE(o.failure.unknownOutcome) << o.name;
      EXPECT_FALSE(o.skipped) << o.name;
    }
    if (o.skipped) {
      EXPECT_FALSE(o.failure.unknownOutcome) << o.name << " was never sent";
    }
  }
  EXPECT_GE(late, 4);
  EXPECT_GE(skipped, 4);
  EXPECT_GE(written.size(), 4u);
  EXPECT_EQ(again.tries, 0);
}

TEST_F(Faults, AnAnswerThatNeverCameIsAskedAboutBeforeTheWriteIsMadeAgain) {
  std::atomic<int> posts{0};
  server->SetHook([&](const httplib::Request& req, httplib::Response&) {
    if (req.method == "POST" && posts++ == 0) std::this_thread::sleep_for(std::chrono::seconds(2));
    return false;
  });
  LogIn();
  CountingAgain again(*rest, Login(), true);
  WriteAll(1);
  ASSERT_EQ(outcomes.all.size(), 1u);
  EXPECT_TRUE(outcomes.all[0].done) << outcomes.all[0].failure.detail;
  EXPECT_FALSE(outcomes.all[0].failure.unknownOutcome);
  EXPECT_EQ(again.tries, 1);
  EXPECT_EQ(server->Count("GET", "/filters/F0"), 1) << "whether it exists, asked once";
  EXPECT_EQ(*server->Rows("Sample", "Basic", "F0"),
            (std::vector<TestServer::Row>{{"Read", "\"F0\""}}));
}

TEST_F(Faults, ASecondSilenceAfterANewLoginEndsTheRunWithoutAnother) {
  std::mutex mutex;
  std::set<std::string> slowed;
  server->SetHook([&](const httplib::Request& req, httplib::Response&) {
    if (req.method != "POST") return false;
    for (const char* name : {"\"F0\"", "\"F25\""}) {
      std::unique_lock<std::mutex> lock(mutex);
      if (req.body.find(name) != std::string::npos && slowed.insert(name).second) {
        lock.unlock();
        std::this_thread::sleep_for(std::chrono::seconds(2));
      }
    }
    return false;
  });
  LogIn();
  CountingAgain again(*rest, Login(), true);
  const auto took = WriteAll(30);
  EXPECT_LT(took, std::chrono::seconds(10));
  ASSERT_EQ(outcomes.all.size(), 30u);
  EXPECT_TRUE(outcomes.all[0].done) << "the first silence: logged in again, asked, written";
  const WriteOutcome& second = outcomes.all[25];
  EXPECT_FALSE(second.done);
  EXPECT_TRUE(second.failure.unreachable);
  EXPECT_TRUE(second.failure.unknownOutcome);
  EXPECT_EQ(again.tries, 1) << "one new login for the run";
}

TEST_F(Faults, AnExistenceCheckTheServerFailsFailsTheWriteNotReadAsAbsent) {
  std::atomic<int> posts{0};
  server->SetHook([&](const httplib::Request& req, httplib::Response& res) {
    if (req.method == "POST" && posts++ == 0) std::this_thread::sleep_for(std::chrono::seconds(2));
    if (req.method != "GET" || req.target.find("/filters/F0") == std::string::npos) return false;
    Error(res, 500, 0, "the filter store is locked");
    return true;
  });
  LogIn();
  CountingAgain again(*rest, Login(), true);
  WriteAll(1);
  ASSERT_EQ(outcomes.all.size(), 1u);
  const WriteOutcome& o = outcomes.all[0];
  EXPECT_FALSE(o.done);
  EXPECT_EQ(o.failure.status, RestStatusHttp);
  EXPECT_EQ(o.failure.call, "GET filter");
  EXPECT_EQ(o.failure.serverText, "HTTP 500: Essbase Error(0): the filter store is locked");
  EXPECT_TRUE(o.failure.unknownOutcome) << "the first answer never came";
  EXPECT_EQ(posts, 1) << "not created again on a guess";
}

TEST_F(Faults, ADeletionWhoseAnswerNeverCameIsDoneWhenTheFilterIsGone) {
  server->PutFilter("Sample", "Basic", "D", {{"None", "x"}});
  std::atomic<int> deletes{0};
  server->SetHook([&](const httplib::Request& req, httplib::Response& res) {
    if (req.method != "DELETE" || deletes++ > 0) return false;
    server->RemoveFilter("Sample", "Basic", "D");
    std::this_thread::sleep_for(std::chrono::seconds(2));
    res.status = 204;
    return true;
  });
  LogIn();
  CountingAgain again(*rest, Login(), true);
  {
    auto writes = rest->StartWrites(outcomes, {});
    writes->Delete(kDb, "D");
    writes->Finish();
  }
  ASSERT_EQ(outcomes.all.size(), 1u);
  EXPECT_TRUE(outcomes.all[0].done) << outcomes.all[0].failure.detail;
  EXPECT_EQ(deletes, 1);
  EXPECT_EQ(again.tries, 1);
  EXPECT_EQ(server->Count("GET", "/filters/D"), 1);
}

TEST_F(Faults, AServerThatStopsMidRunEndsItWithOneTryAtLoggingInAndTheRestSkipped) {
  std::atomic<int> posts{0};
  std::promise<void> tenth;
  server->SetHook([&](const httplib::Request& req, httplib::Response&) {
    if (req.method == "POST" && ++posts == 10) tenth.set_value();
    return false;
  });
  std::thread stopper([&] {
    tenth.get_future().wait();
    server->Stop();
  });
  LogIn();
  CountingAgain again(*rest, Login(), true);
  const auto took = WriteAll(40);
  stopper.join();
  EXPECT_LT(took, std::chrono::seconds(10));
  ASSERT_EQ(outcomes.all.size(), 40u);
  int done = 0, skipped = 0;
  for (const WriteOutcome& o : outcomes.all) {
    if (o.done) {
      ++done;
      continue;
    }
    EXPECT_TRUE(o.failure.unreachable) << o.name;
    if (o.skipped) {
      ++skipped;
      EXPECT_EQ(o.failure.detail, "the server at " + server->Url() + " refused the connection");
      EXPECT_FALSE(o.failure.unknownOutcome);
    }
  }
  EXPECT_GE(done, 9);
  EXPECT_GE(skipped, 20);
  EXPECT_EQ(again.tries, 1) << "one new login for the run, not one per filter";
  EXPECT_EQ(server->logins(), 1);
  // Every later call fails at once with what found the server gone.
  std::vector<std::string> names;
  const Failure f = rest->ListFilters(kDb, names);
  EXPECT_TRUE(f.unreachable);
  EXPECT_EQ(f.step, Step::ListFilters);
  EXPECT_EQ(f.detail, "the server at " + server->Url() + " refused the connection");
  EXPECT_EQ(again.tries, 1);
}

TEST_F(Faults, AServerThatFreezesMidRunEndsItWithinTheTimeoutsBound) {
  std::atomic<int> posts{0};
  std::shared_ptr<Gate> gate = this->gate;
  server->SetHook([&posts, gate](const httplib::Request& req, httplib::Response&) {
    if (posts >= 8 || (req.method == "POST" && ++posts > 8)) gate->Wait();
    return false;
  });
  LogIn();
  CountingAgain again(*rest, Login(), true);
  const auto took = WriteAll(30);
  EXPECT_LT(took, std::chrono::seconds(10));
  ASSERT_EQ(outcomes.all.size(), 30u);
  int frozen = 0, skipped = 0;
  for (const WriteOutcome& o : outcomes.all) {
    if (o.done) continue;
    EXPECT_TRUE(o.failure.unreachable) << o.name;
    EXPECT_EQ(o.failure.detail, "the server at " + server->Url() + " did not answer in 1 s");
    if (o.skipped)
      ++skipped;
    else if (o.failure.unknownOutcome)
      ++frozen;
  }
  EXPECT_GE(frozen, 1);
  EXPECT_GE(skipped, 10);
  EXPECT_EQ(again.tries, 1);
  // Nothing more is sent until the next login.
  const int sent = server->requests();
  bool loaded = false;
  EXPECT_TRUE(rest->ApplicationLoaded("Sample", loaded).unreachable);
  EXPECT_EQ(server->requests(), sent);
  gate->Open();
  LogIn();
  EXPECT_FALSE(rest->ApplicationLoaded("Sample", loaded));
}

TEST_F(Faults, ALoginToNothingIsRefusedConnectionAndSaysWhere) {
  const std::string url = server->Url();
  server->Stop();
  const Failure f = rest->LogIn({url, "u", "pw0rd"});
  EXPECT_EQ(f.status, RestStatusConnect);
  EXPECT_TRUE(f.unreachable);
  EXPECT_EQ(f.detail, "the server at " + url + " refused the connection");
  EXPECT_FALSE(Has(AllText(f), "pw0rd"));
}

TEST_F(Faults, ARedirectIsNeverFollowed) {
  TestServer elsewhere;
  const std::string target = elsewhere.Url() + "/steal";
  server->SetHook([&](const httplib::Request& req, httplib::Response& res) {
    if (req.target.find("/applications?") == std::string::npos) return false;
    res.status = 302;
    res.set_header("Location", target);
    return true;
  });
  LogIn();
  std::vector<Application> apps;
  const Failure f = rest->ListApplications(apps);
  EXPECT_EQ(f.status, RestStatusRedirect);
  EXPECT_TRUE(Has(f.detail, "redirects GET applications to " + target)) << f.detail;
  EXPECT_EQ(elsewhere.requests(), 0);
}

// 64 MiB take their time on a busy machine.
class BigAnswer : public Faults {
 protected:
  BigAnswer() : Faults("60") {}
};

TEST_F(BigAnswer, OverTheCapFailsItsFilterAndTheNextCallWorks) {
  server->PutFilter("Sample", "Basic", "Big", {{"Read", "x"}});
  server->PutFilter("Sample", "Basic", "Small", {{"Read", "x"}});
  server->SetHook([](const httplib::Request& req, httplib::Response& res) {
    if (req.target.find("/filters/Big/rows") == std::string::npos) return false;
    res.set_chunked_content_provider("application/json", [](size_t, httplib::DataSink& sink) {
      const std::string mib(1 << 20, ' ');
      for (int i = 0; i < 65; ++i)
        if (!sink.write(mib.data(), mib.size())) return false;
      sink.done();
      return true;
    });
    return true;
  });
  LogIn();
  Keep keep;
  const Failure f = rest->ReadFilters(kDb, {"Big"}, {}, keep);
  EXPECT_EQ(f.status, RestStatusTooLarge);
  EXPECT_EQ(f.detail, "the answer to GET filter rows passed the 64 MiB cap and was cut off");
  EXPECT_FALSE(f.unreachable);
  EXPECT_FALSE(rest->ReadFilters(kDb, {"Small"}, {}, keep));
  EXPECT_EQ(keep.Names(), std::vector<std::string>{"Small"});
}

class TimeoutSetting : public ::testing::TestWithParam<std::pair<const char*, long>> {};

TEST_P(TimeoutSetting, ReachesTheClientOrFallsBackToTheDefault) {
  ScopedEnv env("QUORVEL_HTTP_TIMEOUT", GetParam().first);
  EXPECT_EQ(http::MakeClient()->TimeoutSeconds(), GetParam().second) << GetParam().first;
}

INSTANTIATE_TEST_SUITE_P(Environment, TimeoutSetting,
                         ::testing::Values(std::make_pair("7", 7L), std::make_pair("0", 120L),
                                           std::make_pair("-3", 120L),
                                           std::make_pair("soon", 120L)));

}  // namespace
