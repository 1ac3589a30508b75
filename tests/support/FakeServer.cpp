#include "tests/support/FakeServer.h"

#include <algorithm>

namespace essbase::testing {

namespace {

std::string Trimmed(std::string_view s) {
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return std::string(s);
}

std::string Of(const Database& db) {
  return db.application + "," + db.database;
}

class FakeWrites final : public Writes {
 public:
  FakeWrites(FakeServer& server, WriteReceiver& receiver) : server_(server), receiver_(receiver) {}

  void Write(const Database& db, Filter filter, bool lostRows) override {
    Give(gone_ ? Skipped(WriteOutcome::Kind::Write, db, filter.name)
               : server_.WriteNow(db, filter, lostRows));
  }
  void Delete(const Database& db, std::string name) override {
    Give(gone_ ? Skipped(WriteOutcome::Kind::Delete, db, name) : server_.DeleteNow(db, name));
  }
  void Finish() override {
    for (WriteOutcome& o : held_) receiver_.Outcome(o);
    held_.clear();
  }

 private:
  WriteOutcome Skipped(WriteOutcome::Kind kind, const Database& db, const std::string& name) {
    WriteOutcome o;
    o.kind = kind;
    o.db = db;
    o.name = name;
    o.skipped = true;
    o.failure = *gone_;
    o.failure.filter = name;
    return o;
  }
  void Give(WriteOutcome o) {
    if (o.failure.unreachable && !gone_) gone_ = o.failure;
    if (server_.holdOutcomes)
      held_.push_back(std::move(o));
    else
      receiver_.Outcome(o);
  }

  FakeServer& server_;
  WriteReceiver& receiver_;
  std::optional<Failure> gone_;  // the failure that found the server gone
  std::vector<WriteOutcome> held_;
};

}  // namespace

FakeServer::App& FakeServer::AddApplication(const std::string& name, bool loaded) {
  applications.push_back({name, loaded, {}});
  return applications.back();
}

FakeServer::Db& FakeServer::AddDatabase(const std::string& app, const std::string& db) {
  App* a = FindApplication(app);
  if (!a) a = &AddApplication(app);
  a->databases.push_back({db, {}});
  return a->databases.back();
}

Filter& FakeServer::AddFilter(const std::string& app, const std::string& db,
                              const std::string& name, std::vector<FilterRow> rows) {
  Db* d = FindDatabase(app, db);
  if (!d) d = &AddDatabase(app, db);
  d->filters.push_back({Trimmed(name), FilterActive, FilterAccess, std::move(rows)});
  return d->filters.back();
}

FakeServer::App* FakeServer::FindApplication(const std::string& app) {
  for (App& a : applications)
    if (a.name == app) return &a;
  return nullptr;
}

FakeServer::Db* FakeServer::FindDatabase(const std::string& app, const std::string& db) {
  App* a = FindApplication(app);
  if (!a) return nullptr;
  for (Db& d : a->databases)
    if (d.name == db) return &d;
  return nullptr;
}

Filter* FakeServer::FindFilter(const std::string& app, const std::string& db,
                               const std::string& name) {
  Db* d = FindDatabase(app, db);
  if (!d) return nullptr;
  for (Filter& f : d->filters)
    if (f.name == Trimmed(name)) return &f;
  return nullptr;
}

std::string FakeServer::ContentText() const {
  std::string out;
  for (const App& a : applications)
    for (const Db& d : a.databases)
      for (const Filter& f : d.filters) {
        out += a.name + "/" + d.name + "/" + f.name + " " + std::to_string(f.active) + " " +
               std::to_string(f.access) + "\n";
        for (const FilterRow& r : f.rows)
          out += "  " + std::to_string(r.access) + " " + r.text + "\n";
      }
  return out;
}

void FakeServer::Fail(Step step, Failure failure, int after, int times) {
  faults_.push_back({step, std::move(failure), after, times});
}

void FakeServer::Fail(Step step, int32_t status, int after, int times) {
  Fail(step, FailureOf(step, status), after, times);
}

std::string FakeServer::CallsText() const {
  std::string out;
  for (const std::string& c : calls) out += c + "\n";
  return out;
}

int FakeServer::Count(const std::string& prefix) const {
  return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& c) {
    return c.compare(0, prefix.size(), prefix) == 0;
  }));
}

Failure FakeServer::Enter(Step step, std::string line, const std::string& filter) {
  calls.push_back(std::move(line));
  Failure f = FailureOf(step, 0);
  f.filter = filter;
  const bool onLogin = step != Step::Start && step != Step::LogIn;
  if (ended_ && onLogin) {
    f.status = ReloginStatus;
    return f;
  }
  for (Fault& fault : faults_) {
    if (fault.step != step || successes_[step] < fault.after) continue;
    if (fault.times != 0 && fault.fired >= fault.times) continue;
    ++fault.fired;
    Failure out = fault.failure;
    out.step = step;
    if (out.filter.empty()) out.filter = filter;
    if (out.status == ReloginStatus && onLogin) ended_ = true;
    return out;
  }
  return f;
}

template <class Body>
Failure FakeServer::Once(Step step, const std::string& line, const std::string& filter,
                         Body body) {
  Failure f = Enter(step, line, filter);
  if (!f) f.status = body();
  if (!f) ++successes_[step];
  return f;
}

template <class Body>
Failure FakeServer::Repeating(Step step, const std::string& line, const std::string& filter,
                              Body body) {
  Failure f = Once(step, line, filter, body);
  if (f.status == ReloginStatus && again().Again(step)) f = Once(step, line, filter, body);
  return f;
}

Failure FakeServer::Start(Generation, std::string_view) {
  return Once(Step::Start, "Start", {}, [] { return 0; });
}

void FakeServer::End() {
  calls.push_back("End");
}

Failure FakeServer::LogIn(const Credentials& c) {
  Failure f = Once(Step::LogIn, "LogIn(" + c.server + "," + c.user + ")", {}, [&] {
    if (account && c.server != account->server) return ESB_STS_UNKNOWN_SERVER;
    if (account && (c.user != account->user || c.password != account->password))
      return ESB_STS_BAD_LOGIN;
    return 0;
  });
  if (!f) ended_ = false;
  return f;
}

Failure FakeServer::LogOut() {
  calls.push_back("LogOut");
  return {};
}

Failure FakeServer::ListApplications(std::vector<Application>& out) {
  out.clear();
  return Once(Step::ListApplications, "ListApplications", {}, [&] {
    // Only the REST API's listing tells whether each is loaded.
    for (const App& a : applications)
      out.push_back({a.name, overRest ? std::optional<bool>(a.loaded) : std::nullopt});
    return 0;
  });
}

Failure FakeServer::ApplicationLoaded(const std::string& application, bool& loaded) {
  return Once(Step::ApplicationState, "ApplicationLoaded(" + application + ")", {}, [&] {
    const App* a = FindApplication(application);
    if (!a) return ESB_STS_UNKNOWN_APPLICATION;
    loaded = a->loaded;
    return 0;
  });
}

Failure FakeServer::ListDatabases(const std::string& application,
                                  std::vector<Database>& databases) {
  databases.clear();
  return Once(Step::ListDatabases, "ListDatabases(" + application + ")", {}, [&] {
    const App* a = FindApplication(application);
    if (!a) return ESB_STS_UNKNOWN_APPLICATION;
    for (const Db& d : a->databases) databases.push_back({a->name, d.name});
    return 0;
  });
}

Failure FakeServer::ListFilters(const Database& db, std::vector<std::string>& names) {
  return Repeating(Step::ListFilters, "ListFilters(" + Of(db) + ")", {}, [&] {
    names.clear();
    const Db* d = FindDatabase(db.application, db.database);
    if (!d) return ESB_STS_UNKNOWN_DATABASE;
    for (const Filter& f : d->filters) names.push_back(f.name);
    return 0;
  });
}

Failure FakeServer::Activate(const Database& db) {
  return Repeating(Step::Activate, "Activate(" + Of(db) + ")", {}, [&] {
    if (!FindDatabase(db.application, db.database)) return ESB_STS_UNKNOWN_DATABASE;
    FindApplication(db.application)->loaded = true;
    return 0;
  });
}

Failure FakeServer::StopApplication(const std::string& application) {
  return Once(Step::StopApplication, "StopApplication(" + application + ")", {}, [&] {
    App* a = FindApplication(application);
    if (!a) return ESB_STS_UNKNOWN_APPLICATION;
    a->loaded = false;
    return 0;
  });
}

Failure FakeServer::ReadEach(const Database& db, const std::vector<std::string>& names,
                             const std::vector<bool>& wanted, FilterReceiver& receiver) {
  for (size_t i = 0; i < names.size(); ++i) {
    Filter filter;
    Failure f = Repeating(Step::ReadFilter, "ReadFilter(" + Of(db) + "," + names[i] + ")",
                          names[i], [&] {
                            const Filter* held = FindFilter(db.application, db.database, names[i]);
                            if (!held) return ESB_STS_UNKNOWN_FILTER;
                            filter = *held;
                            filter.name = names[i];
                            return 0;
                          });
    if (f) {
      // The rows a failure says were read before it, as the client
      // library's path hands them over.
      const Filter* held = FindFilter(db.application, db.database, names[i]);
      if (wanted[i] && held && f.rows > 0) {
        filter = *held;
        filter.name = names[i];
        filter.rows.resize(std::min<size_t>(f.rows, filter.rows.size()));
        receiver.Partial(db, filter);
      }
      return f;
    }
    if (wanted[i] && !receiver.Receive(db, filter)) break;
  }
  return {};
}

Failure FakeServer::ReadFilters(const Database& db, const std::vector<std::string>& names,
                                const ReadOptions&, FilterReceiver& receiver) {
  return ReadEach(db, names, std::vector<bool>(names.size(), true), receiver);
}

Failure FakeServer::ReadDatabase(const Database& db, const Wanted& wanted,
                                 const ReadOptions& options, FilterReceiver& receiver) {
  std::vector<std::string> listed;
  if (Failure f = ListFilters(db, listed)) return f;
  std::vector<std::string> names;
  std::vector<bool> isWanted;
  for (const std::string& name : listed) {
    const bool w = !wanted || wanted(name);
    // Over REST a filter nobody wants is never fetched.
    if (!w && (!options.readUnwanted || overRest)) continue;
    names.push_back(name);
    isWanted.push_back(w);
  }
  return ReadEach(db, names, isWanted, receiver);
}

std::unique_ptr<Writes> FakeServer::StartWrites(WriteReceiver& receiver,
                                                const WriteOptions& options) {
  writeRuns.push_back(options);
  return std::make_unique<FakeWrites>(*this, receiver);
}

WriteOutcome FakeServer::WriteNow(const Database& db, const Filter& filter, bool lostRows) {
  WriteOutcome o;
  o.db = db;
  o.name = filter.name;
  const std::string line = "WriteFilter(" + Of(db) + "," + filter.name + "," +
                           std::to_string(filter.active) + "," + std::to_string(filter.access) +
                           "," + std::to_string(filter.rows.size()) + " rows" +
                           (lostRows ? ",lost" : "") + ")";
  o.failure = Repeating(Step::WriteFilter, line, filter.name, [&] {
    Db* d = FindDatabase(db.application, db.database);
    if (!d) return ESB_STS_UNKNOWN_DATABASE;
    if (lostRows) return 0;  // never committed
    Filter stored = filter;
    stored.name = Trimmed(filter.name);
    if (Filter* held = FindFilter(db.application, db.database, stored.name))
      *held = std::move(stored);
    else
      d->filters.push_back(std::move(stored));
    return 0;
  });
  o.done = !o.failure && !lostRows;
  return o;
}

WriteOutcome FakeServer::DeleteNow(const Database& db, const std::string& name) {
  WriteOutcome o;
  o.kind = WriteOutcome::Kind::Delete;
  o.db = db;
  o.name = name;
  o.failure = Repeating(Step::DeleteFilter, "DeleteFilter(" + Of(db) + "," + name + ")", name, [&] {
    Db* d = FindDatabase(db.application, db.database);
    if (!d) return ESB_STS_UNKNOWN_DATABASE;
    const auto it = std::find_if(d->filters.begin(), d->filters.end(),
                                 [&](const Filter& f) { return f.name == Trimmed(name); });
    if (it == d->filters.end()) return ESB_STS_UNKNOWN_FILTER;
    d->filters.erase(it);
    return 0;
  });
  o.done = !o.failure;
  return o;
}

}  // namespace essbase::testing
