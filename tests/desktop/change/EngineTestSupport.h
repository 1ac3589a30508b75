#pragma once
// The change engine over the recording fake, with a user whose answers are
// scripted and whose every question is recorded.
#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "desktop/change/ChangeEngine.h"
#include "essbase/library/LibraryServer.h"
#include "tests/support/FakeEssbaseApi.h"

namespace desktop::change::testing {

class ScriptedQuestions : public ChangeQuestions {
 public:
  std::deque<bool> retry;       // default: Retry
  std::deque<bool> loginAgain;  // default: Yes
  // Run inside the calls of the same name (e.g. to fail the run-time there).
  std::function<void()> onProcessEvents;
  std::function<void(const ChangeProgress&)> onProgress;

  std::vector<std::string> log;  // questions and yields, in order
  std::vector<ChangeProgress> progress;

  bool RetryAfterWriteFailure() override;
  bool TryLoginAgain() override;
  void WriteFailedUnexpectedly(std::string_view description) override;
  void ProcessEvents() override;
  void Progress(const ChangeProgress& p) override;
  int Count(const std::string& line) const;
};

class NoListener : public essbase::SessionListener {
 public:
  void LoginFailed(const essbase::Failure&) override { ++loginFailures; }
  void LoggedInAgain() override { ++loggedInAgain; }
  int loginFailures = 0;
  int loggedInAgain = 0;
};

class EngineTest : public ::testing::Test {
 protected:
  EngineTest() : library(fake, conn), session(library, conn, essbase::Generation::V6, listener) {}
  // Logged in, the call record emptied.
  void SetUp() override;

  ChangeScope OneDb(std::vector<std::string> filters, std::string app = "Sample",
                    std::string db = "Basic") const;
  ChangeScope AllDbs(std::vector<DatabaseName> databases) const;
  ChangeOutcome Run(const ChangeScope& scope, const std::string& search, int16_t access);
  // The calls made, one per line, from the first of `from` (all when empty).
  std::string Calls(const std::vector<std::string>& only = {}) const;
  bool Wrote() const;
  // A filter's rows as "access:text" lines.
  std::string Rows(const std::string& app, const std::string& db, const std::string& filter);

  essbase::testing::FakeEssbaseApi fake;
  essbase::ConnectionState conn;
  essbase::LibraryServer library;
  NoListener listener;
  essbase::Session session;
  ScriptedQuestions questions;
  RowStore rows;
};

std::string AppInfoCall(const std::string& app);

}  // namespace desktop::change::testing
