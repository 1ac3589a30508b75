#pragma once
// What the REST backend's tests share: a LoginAgain that counts what it is
// asked, receivers that keep what they are given, the environment set for
// one test, and a backend logged in to a test server.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "essbase/Policy.h"
#include "essbase/Server.h"
#include "essbase/rest/RestServer.h"

namespace resttest {

using essbase::Credentials;
using essbase::Database;
using essbase::Failure;
using essbase::Filter;
using essbase::Step;
using essbase::WriteOutcome;

// The session's side of logging in again, counted: Again logs the backend
// in again with the stored credentials when the step is one to repeat;
// TryLogin does so where the command logs in again at all.
class CountingAgain final : public essbase::LoginAgain {
 public:
  CountingAgain(essbase::Server& server, Credentials credentials, bool logsIn = true,
                std::set<Step> repeats = {Step::ListApplications, Step::ListDatabases,
                                          Step::ListFilters, Step::ApplicationState, Step::Activate,
                                          Step::StopApplication, Step::ReadFilter,
                                          Step::WriteFilter, Step::DeleteFilter})
      : server_(server),
        credentials_(std::move(credentials)),
        logsIn_(logsIn),
        repeats_(std::move(repeats)) {
    server_.SetLoginAgain(this);
  }
  ~CountingAgain() override { server_.SetLoginAgain(nullptr); }

  bool Repeats(Step step) const override { return repeats_.count(step) > 0; }
  bool Again(Step step) override {
    steps.push_back(step);
    if (!Repeats(step)) return false;
    return !server_.LogIn(credentials_).failed();
  }
  bool LogsInAgain() const override { return logsIn_; }
  bool TryLogin() override {
    ++tries;
    return !server_.LogIn(credentials_).failed();
  }

  std::vector<Step> steps;  // each Again, in order
  int tries = 0;

 private:
  essbase::Server& server_;
  Credentials credentials_;
  bool logsIn_;
  std::set<Step> repeats_;
};

class Keep final : public essbase::FilterReceiver {
 public:
  explicit Keep(std::function<bool(const Filter&)> each = {}) : each_(std::move(each)) {}
  bool Receive(const Database&, Filter& filter) override {
    filters.push_back(filter);
    return each_ ? each_(filter) : true;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const Filter& f : filters) names.push_back(f.name);
    return names;
  }
  std::vector<Filter> filters;

 private:
  std::function<bool(const Filter&)> each_;
};

class Outcomes final : public essbase::WriteReceiver {
 public:
  void Outcome(WriteOutcome& outcome) override { all.push_back(outcome); }
  std::vector<WriteOutcome> all;
};

struct ScopedEnv {
  ScopedEnv(const char* name, const std::string& value) : name(name) {
    setenv(name, value.c_str(), 1);
  }
  ~ScopedEnv() { unsetenv(name); }
  const char* name;
};

inline bool Has(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

// Every text of a failure, for checks that hold of all of them.
inline std::string AllText(const Failure& f) {
  return f.serverText + "\n" + f.detail + "\n" + f.filter + "\n" + f.call;
}

inline Filter MakeFilter(const std::string& name, std::vector<essbase::FilterRow> rows) {
  Filter f;
  f.name = name;
  f.rows = std::move(rows);
  return f;
}

}  // namespace resttest
