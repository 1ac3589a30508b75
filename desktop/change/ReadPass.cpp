#include "desktop/change/ReadPass.h"

#include <exception>

namespace desktop::change {

namespace {

ChangeOutcome Ended(ChangeEnd end, int32_t status = 0) {
  ChangeOutcome o;
  o.end = end;
  o.status = status;
  return o;
}

ChangeOutcome Failed(ChangeEnd end, const essbase::Failure& failure) {
  ChangeOutcome o = Ended(end, failure.status);
  o.failure = failure;
  return o;
}

// Every row of each filter read goes to the store, with its filter's own
// active flag and access for the backup before the write.
class StoreRows final : public essbase::FilterReceiver {
 public:
  StoreRows(RowStore& rows, ChangeQuestions& questions, ChangeProgress progress)
      : rows_(rows), questions_(questions), progress_(progress) {}

  bool Receive(const essbase::Database& db, essbase::Filter& filter) override {
    for (essbase::FilterRow& row : filter.rows)
      if (!rows_.Add({db.database, db.application, filter.name, row.access, std::move(row.text),
                      filter.active, filter.access})) {
        full = true;
        return false;
      }
    ++progress_.filters;
    questions_.Progress(progress_);
    return true;
  }
  bool full = false;
  int filters() const { return progress_.filters; }

 private:
  RowStore& rows_;
  ChangeQuestions& questions_;
  ChangeProgress progress_;
};

}  // namespace

ReadPass::ReadPass(essbase::Session& session, ChangeQuestions& questions, RowStore& rows)
    : session_(session), questions_(questions), rows_(rows) {}

ChangeOutcome ReadPass::Run(const ChangeScope& scope) {
  rows_.Clear();
  ChangeOutcome o;
  try {
    o = scope.allDatabases ? ReadMarkedDatabases(scope) : ReadOneDatabase(scope);
  } catch (const std::exception& e) {
    // Whatever was read is incomplete: nothing may be written from it.
    o = Ended(ChangeEnd::ReadFailed);
    o.description = e.what();
  }
  o.rows = rows_.Count();
  return o;
}

ChangeOutcome ReadPass::ReadEnded(const essbase::Failure& failure, bool full) {
  if (full) return Ended(ChangeEnd::TooManyRows);
  if (!failure) return Ended(ChangeEnd::Read);
  if (failure.step == essbase::Step::ListFilters) return Failed(ChangeEnd::ListingFailed, failure);
  // Opening a filter or reading its first row, or a later row.
  const bool later = failure.call != "EsbGetFilter" && failure.rows > 0;
  return Failed(later ? ChangeEnd::LaterRowFailed : ChangeEnd::FilterOpenFailed, failure);
}

ChangeOutcome ReadPass::ReadOneDatabase(const ChangeScope& scope) {
  // The run's application is the selected node's parent: an application
  // node, or no node, names no database to work in.
  if (scope.databases.empty()) return Ended(ChangeEnd::NoDatabase);
  const DatabaseName& name = scope.databases.front();
  const essbase::Database db{name.application, name.database};
  if (essbase::Failure f = session_.server().Activate(db))
    return Failed(ChangeEnd::ActivationFailed, f);
  const int total = static_cast<int>(scope.filters.size());
  StoreRows store(rows_, questions_, {ChangeProgress::Phase::Reading, 0, total, 1, 1});
  const essbase::Failure f =
      session_.server().ReadFilters(db, scope.filters, essbase::ReadOptions{}, store);
  return ReadEnded(f, store.full);
}

ChangeOutcome ReadPass::ReadMarkedDatabases(const ChangeScope& scope) {
  std::vector<std::string> appsToUnload;
  int marked = 0;
  ChangeOutcome o;
  try {
    o = ReadEachMarked(scope, appsToUnload, marked);
  } catch (const std::exception& e) {
    o = Ended(ChangeEnd::ReadFailed);
    o.description = e.what();
  }
  // Every way out, not only a complete read: the run loaded these itself.
  // Their outcomes tell nothing the run could act on.
  for (const std::string& app : appsToUnload) session_.server().StopApplication(app);
  if (o.end == ChangeEnd::Read && marked == 0) o.end = ChangeEnd::NoDatabasesMarked;
  return o;
}

ChangeOutcome ReadPass::ReadEachMarked(const ChangeScope& scope,
                                       std::vector<std::string>& appsToUnload, int& marked) {
  const int databases = static_cast<int>(scope.databases.size());
  int filtersRead = 0;
  for (const DatabaseName& name : scope.databases) {
    ++marked;
    const essbase::Database db{name.application, name.database};
    // A failed look-up says nothing about the load state: an application is
    // unloaded only when the server said it was not loaded.
    bool loaded = true;
    session_.server().ApplicationLoaded(db.application, loaded);
    if (!loaded) {
      if (static_cast<int>(appsToUnload.size()) >= MaxAppsToUnload) {
        ChangeOutcome o = Ended(ChangeEnd::TooManyApplications);
        o.applications = MaxAppsToUnload + 1;
        return o;
      }
      appsToUnload.push_back(db.application);
    }
    if (essbase::Failure f = session_.server().Activate(db))
      return Failed(ChangeEnd::ActivationFailed, f);
    // A listing cut short would leave filters out while the count message
    // reports success: it fails the run.
    StoreRows store(rows_, questions_,
                    {ChangeProgress::Phase::Reading, filtersRead, 0, marked, databases});
    const essbase::Failure f =
        session_.server().ReadDatabase(db, nullptr, essbase::ReadOptions{}, store);
    if (ChangeOutcome o = ReadEnded(f, store.full); o.end != ChangeEnd::Read) return o;
    filtersRead = store.filters();
  }
  return Ended(ChangeEnd::Read);
}

}  // namespace desktop::change
