#include "tests/desktop/change/EngineTestSupport.h"

#include <algorithm>

#include "essbase/library/AppInfoRecord.h"

namespace desktop::change::testing {

bool ScriptedQuestions::RetryAfterWriteFailure() {
  log.push_back("RetryOrCancel");
  if (retry.empty()) return true;
  const bool answer = retry.front();
  retry.pop_front();
  return answer;
}

bool ScriptedQuestions::TryLoginAgain() {
  log.push_back("StillCannotLogin");
  if (loginAgain.empty()) return true;
  const bool answer = loginAgain.front();
  loginAgain.pop_front();
  return answer;
}

void ScriptedQuestions::WriteFailedUnexpectedly(std::string_view description) {
  log.push_back("Unexpected(" + std::string(description) + ")");
}

void ScriptedQuestions::ProcessEvents() {
  log.push_back("ProcessEvents");
  if (onProcessEvents) onProcessEvents();
}

void ScriptedQuestions::Progress(const ChangeProgress& p) {
  progress.push_back(p);
  if (onProgress) onProgress(p);
}

int ScriptedQuestions::Count(const std::string& line) const {
  return static_cast<int>(std::count(log.begin(), log.end(), line));
}

void EngineTest::SetUp() {
  session.Initialize();
  ASSERT_TRUE(session.LogIn());
  fake.ClearCalls();
}

ChangeScope EngineTest::OneDb(std::vector<std::string> filters, std::string app,
                              std::string db) const {
  ChangeScope scope;
  scope.databases.push_back({std::move(app), std::move(db)});
  scope.filters = std::move(filters);
  return scope;
}

ChangeScope EngineTest::AllDbs(std::vector<DatabaseName> databases) const {
  ChangeScope scope;
  scope.allDatabases = true;
  scope.databases = std::move(databases);
  return scope;
}

ChangeOutcome EngineTest::Run(const ChangeScope& scope, const std::string& search, int16_t access) {
  return ChangeEngine(session, questions).Run(scope, {access, search}, rows);
}

std::string EngineTest::Calls(const std::vector<std::string>& only) const {
  std::string out;
  for (const auto& c : fake.calls)
    if (only.empty() || std::find(only.begin(), only.end(), c.name) != only.end())
      out += c.text() + "\n";
  return out;
}

bool EngineTest::Wrote() const {
  return fake.CountCalls("EsbSetFilter") + fake.CountCalls("EsbSetFilterRow") > 0;
}

std::string EngineTest::Rows(const std::string& app, const std::string& db,
                             const std::string& filter) {
  const essbase::testing::FakeFilter* f = fake.FindFilter(app, db, filter);
  if (!f) return "(no filter)";
  std::string out = std::to_string(f->active) + "/" + std::to_string(f->access) + "\n";
  for (const auto& r : f->rows) out += std::to_string(r.access) + ":" + r.text + "\n";
  return out;
}

std::string AppInfoCall(const std::string& app) {
  return "EsbGetApplicationInfo(" + app + "," +
         std::to_string(essbase::AppInfoSize(essbase::Generation::V6)) + ")";
}

}  // namespace desktop::change::testing
