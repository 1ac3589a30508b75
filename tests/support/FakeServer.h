#pragma once
// A stand-in for the server interface at the level of filters, for module
// tests whose subject is not the client library's calls: a small server in
// memory, every step recorded as one compact line, and failures on cue.
//
// As both backends do, a step answered with 1051021 ends the login (every
// later step answers it too until LogIn), and the fake asks the command's
// LoginAgain whether to make the step once more: a whole filter read, write
// or deletion, a listing of filters, an activation. Writes are made at once,
// each outcome reported before Write returns, as on the client library's
// path. Names are compared exactly, trailing blanks dropped as the server
// drops them.
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "essbase/Server.h"

namespace essbase::testing {

class FakeServer : public Server {
 public:
  struct Db {
    std::string name;
    std::vector<Filter> filters;  // in creation order
  };
  struct App {
    std::string name;
    bool loaded = true;
    std::vector<Db> databases;
  };

  // Content.
  App& AddApplication(const std::string& name, bool loaded = true);
  Db& AddDatabase(const std::string& app, const std::string& db);
  Filter& AddFilter(const std::string& app, const std::string& db, const std::string& name,
                    std::vector<FilterRow> rows = {});
  App* FindApplication(const std::string& app);
  Db* FindDatabase(const std::string& app, const std::string& db);
  Filter* FindFilter(const std::string& app, const std::string& db, const std::string& name);
  // Every filter with its values and rows, one line each, rows indented.
  std::string ContentText() const;
  std::vector<App> applications;
  // When set, the only login LogIn accepts.
  std::optional<Credentials> account;
  bool overRest = false;
  // Outcomes are held until Finish, as a backend that answers several
  // writes at once gives them.
  bool holdOutcomes = false;

  // After `after` successes of `step`, the next `times` of them (0: all)
  // fail as `failure` says (its step and, when empty, its filter are filled
  // in). Over the whole filters of a write run: once a failure says the
  // server is unreachable, the rest of the run is skipped.
  void Fail(Step step, Failure failure, int after = 0, int times = 1);
  void Fail(Step step, int32_t status, int after = 0, int times = 1);

  // Record.
  std::vector<std::string> calls;
  std::string CallsText() const;  // one call per line
  int Count(const std::string& prefix) const;
  void ClearCalls() { calls.clear(); }
  // The options of each write run, in order.
  std::vector<WriteOptions> writeRuns;
  bool loggedIn() const { return !ended_; }

  bool OverRest() const override { return overRest; }
  Failure Start(Generation generation, std::string_view localPath) override;
  void End() override;
  Failure LogIn(const Credentials& credentials) override;
  Failure LogOut() override;
  Failure ListApplications(std::vector<Application>& applications) override;
  Failure ApplicationLoaded(const std::string& application, bool& loaded) override;
  Failure ListDatabases(const std::string& application, std::vector<Database>& databases) override;
  Failure ListFilters(const Database& db, std::vector<std::string>& names) override;
  Failure Activate(const Database& db) override;
  Failure StopApplication(const std::string& application) override;
  Failure ReadFilters(const Database& db, const std::vector<std::string>& names,
                      const ReadOptions& options, FilterReceiver& receiver) override;
  Failure ReadDatabase(const Database& db, const Wanted& wanted, const ReadOptions& options,
                       FilterReceiver& receiver) override;
  std::unique_ptr<Writes> StartWrites(WriteReceiver& receiver,
                                      const WriteOptions& options) override;

  // For the fake's write run.
  WriteOutcome WriteNow(const Database& db, const Filter& filter, bool lostRows);
  WriteOutcome DeleteNow(const Database& db, const std::string& name);

 private:
  struct Fault {
    Step step;
    Failure failure;
    int after;
    int times;
    int fired = 0;
  };

  // Records the call; its fault, the ended login's answer or no failure.
  Failure Enter(Step step, std::string line, const std::string& filter = {});
  // Enter, then `body` when nothing failed; counts the success.
  template <class Body>
  Failure Once(Step step, const std::string& line, const std::string& filter, Body body);
  // Once, and once more after a new login when the command's policy says so.
  template <class Body>
  Failure Repeating(Step step, const std::string& line, const std::string& filter, Body body);
  // Reads the names in order; only the wanted ones reach the receiver.
  Failure ReadEach(const Database& db, const std::vector<std::string>& names,
                   const std::vector<bool>& wanted, FilterReceiver& receiver);

  std::vector<Fault> faults_;
  std::map<Step, int> successes_;
  bool ended_ = false;
};

}  // namespace essbase::testing
