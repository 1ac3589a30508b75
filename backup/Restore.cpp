#include "backup/Restore.h"

#include <map>
#include <set>
#include <tuple>

#include "backup/RangeStream.h"
#include "backup/RegularFile.h"
#include "filterfile/FilterFileReader.h"
#include "platform/Descriptor.h"

namespace backup {

namespace {

using Key = std::tuple<std::string, std::string, std::string>;

// Each filter's first failure, and which filters are back.
class Tracker {
 public:
  void Failed(const std::string& app, const std::string& db, const std::string& filter,
              bool created, std::string operation, int32_t status,
              const essbase::Failure& failure = {}) {
    if (!failed_.emplace(app, db, filter).second) return;
    failures_.push_back({app, db, filter, created, std::move(operation), status, failure});
  }
  void PutBack(const std::string& app, const std::string& db, const std::string& filter) {
    putBack_.emplace(app, db, filter);
  }
  bool IsBack(const std::string& app, const std::string& db, const std::string& filter) const {
    return putBack_.contains({app, db, filter});
  }
  bool HasFailed(const std::string& app, const std::string& db, const std::string& filter) const {
    return failed_.contains({app, db, filter});
  }
  std::vector<RestoreFailure> failures() const { return failures_; }

 private:
  std::set<Key> failed_;
  std::set<Key> putBack_;
  std::vector<RestoreFailure> failures_;
};

std::string CallOf(const essbase::Failure& f) {
  return f.call.empty() ? std::string(essbase::StepName(f.step)) : f.call;
}

// The outcomes of one database's writes and deletions.
class Outcomes final : public essbase::WriteReceiver {
 public:
  explicit Outcomes(Tracker& tracker) : tracker_(tracker) {}
  void Outcome(essbase::WriteOutcome& o) override {
    const bool deletion = o.kind == essbase::WriteOutcome::Kind::Delete;
    const std::string& app = o.db.application;
    const std::string& db = o.db.database;
    if (o.done) {
      if (deletion)
        ++deleted;
      else
        tracker_.PutBack(app, db, o.name);
    } else if (o.failure) {
      tracker_.Failed(app, db, o.name, deletion, CallOf(o.failure), o.failure.status, o.failure);
    } else {
      // A filter that lost a row of the backup is never written.
      tracker_.Failed(app, db, o.name, deletion, "read", 0);
    }
  }
  int deleted = 0;

 private:
  Tracker& tracker_;
};

// Turns the records of one database into whole filters, with the ones
// without rows in between, so all come back in the backup's order, each
// with its own active flag and access.
class RestoreSink final : public filterfile::FilterSink {
 public:
  RestoreSink(essbase::Writes& writes, essbase::Database db,
              std::vector<const SavedFilter*> filters, Tracker& tracker)
      : writes_(writes), db_(std::move(db)), filters_(std::move(filters)), tracker_(tracker) {}

  void OpenFilter(std::string_view name) override {
    while (next_ < filters_.size() && !filterfile::SameFilterName(filters_[next_]->name, name))
      Write(*filters_[next_++], false);
    opened_ = next_ < filters_.size();  // else checked when the backup was loaded
    if (!opened_) return;
    const SavedFilter& f = *filters_[next_++];
    open_ = {f.name, f.active, f.access, {}};
    lost_ = false;
  }
  void AddRow(std::string_view text, int16_t access) override {
    if (opened_) open_.rows.push_back({access, std::string(text)});
  }
  void CloseFilter() override {
    if (!opened_) return;
    opened_ = false;
    writes_.Write(db_, std::move(open_), lost_);
  }
  void PassedOver(uint64_t) override {
    if (opened_) tracker_.Failed(db_.application, db_.database, open_.name, false, "read", 0);
  }
  void RowLost() override { lost_ = true; }

  // The filters without rows after the last one with rows.
  void Finish() {
    while (next_ < filters_.size()) Write(*filters_[next_++], false);
  }
  // The filter the reader was at when the records failed, and all after it.
  void ReadFailed() {
    for (; next_ < filters_.size(); ++next_)
      tracker_.Failed(db_.application, db_.database, filters_[next_]->name, false, "read", 0);
  }

 private:
  void Write(const SavedFilter& f, bool lost) {
    writes_.Write(db_, essbase::Filter{f.name, f.active, f.access, {}}, lost);
  }

  essbase::Writes& writes_;
  essbase::Database db_;
  std::vector<const SavedFilter*> filters_;
  Tracker& tracker_;
  size_t next_ = 0;
  bool opened_ = false;  // the reader's filter is one of the backup's
  essbase::Filter open_;
  bool lost_ = false;
};

// Deletes the created names that the database holds now; a name the command
// never got to create is not there and needs nothing.
int DeleteCreated(essbase::Server& server, const essbase::Database& db,
                  const std::vector<const CreatedName*>& created, Tracker& tracker) {
  if (created.empty()) return 0;
  std::vector<std::string> listed;
  const essbase::Failure failed = server.ListFilters(db, listed);
  std::set<std::string, std::less<>> present;  // as the server names them
  for (const std::string& name : listed) present.emplace(filterfile::ServerFilterName(name));
  Outcomes outcomes(tracker);
  std::unique_ptr<essbase::Writes> writes = server.StartWrites(outcomes, {});
  for (const CreatedName* c : created) {
    if (failed) {
      // Without the listing nothing is known of the name: reported, not deleted.
      tracker.Failed(c->application, c->database, c->name, true, CallOf(failed), failed.status,
                     failed);
      continue;
    }
    if (present.contains(filterfile::ServerFilterName(c->name))) writes->Delete(db, c->name);
  }
  writes->Finish();
  return outcomes.deleted;
}

}  // namespace

RestoreOutcome RestoreBackup(essbase::Server& server, const LoadedBackup& backup) {
  RestoreOutcome outcome;
  Tracker tracker;
  std::string unopened;
  const int fd = OpenRegularFile(backup.recordsPath, unopened);
  const filterfile::FileEncoding encoding = RecordsEncoding(fd);
  const BackupInfo& info = backup.info;
  FiltersByDatabase filters = GroupFilters(info);
  std::map<std::pair<std::string, std::string>, std::vector<const CreatedName*>> created;
  for (const CreatedName& c : info.created) created[{c.application, c.database}].push_back(&c);
  for (const DatabaseRange& range : info.databases) {
    const std::pair<std::string, std::string> key{range.application, range.database};
    const essbase::Database db{range.application, range.database};
    {
      Outcomes outcomes(tracker);
      std::unique_ptr<essbase::Writes> writes = server.StartWrites(outcomes, {});
      RestoreSink sink(*writes, db, filters[key], tracker);
      if (range.length == 0) {
        sink.Finish();
      } else {
        RangeStream in(fd, range.offset, range.length);
        if (fd < 0 || filterfile::ReadFilterFile(in, sink, nullptr, encoding) !=
                          filterfile::ReadOutcome::Complete) {
          sink.ReadFailed();
        } else {
          sink.Finish();
        }
      }
      writes->Finish();
    }
    outcome.deleted += DeleteCreated(server, db, created[key], tracker);
  }
  if (fd >= 0) platform::CloseFile(fd);
  // A filter the backup holds counts as restored only once it is back; one
  // that neither came back nor failed a call was never reached in the records.
  for (const SavedFilter& f : info.filters) {
    if (tracker.IsBack(f.application, f.database, f.name))
      ++outcome.restored;
    else if (!tracker.HasFailed(f.application, f.database, f.name))
      tracker.Failed(f.application, f.database, f.name, false, "read", 0);
  }
  outcome.failures = tracker.failures();
  return outcome;
}

}  // namespace backup
