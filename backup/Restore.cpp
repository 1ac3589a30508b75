#include "backup/Restore.h"

#include <unistd.h>

#include <array>
#include <map>
#include <set>
#include <tuple>

#include "backup/RangeStream.h"
#include "backup/RegularFile.h"
#include "essbase/library/ByteOrder.h"
#include "filterfile/ApiFilterSink.h"
#include "filterfile/FilterFileReader.h"

namespace backup {

namespace {

using Key = std::tuple<std::string, std::string, std::string>;

// Which filter the calls are for, and each filter's first failure.
class Tracker {
 public:
  void Begin(const std::string& app, const std::string& db, const std::string& filter,
             bool created) {
    current_ = RestoreFailure{};
    current_.application = app;
    current_.database = db;
    current_.filter = filter;
    current_.created = created;
  }
  void Failed(std::string_view operation, int32_t status) {
    if (!failed_.emplace(current_.application, current_.database, current_.filter).second) return;
    RestoreFailure f = current_;
    f.operation = operation;
    f.status = status;
    failures_.push_back(std::move(f));
  }
  // The filter begun last is back on the server.
  void PutBack() { putBack_.emplace(current_.application, current_.database, current_.filter); }
  bool IsBack(const std::string& app, const std::string& db, const std::string& filter) const {
    return putBack_.contains({app, db, filter});
  }
  bool HasFailed(const std::string& app, const std::string& db, const std::string& filter) const {
    return failed_.contains({app, db, filter});
  }
  std::vector<RestoreFailure> failures() const { return failures_; }

 private:
  RestoreFailure current_;
  std::set<Key> failed_;
  std::set<Key> putBack_;
  std::vector<RestoreFailure> failures_;
};

// Lets the reader define the filters with rows of one database and puts the
// ones without rows in between, so all come back in the backup's order, each
// with its own active flag and access.
class RestoreSink final : public filterfile::FilterSink {
 public:
  RestoreSink(filterfile::ApiFilterSink& api, std::vector<const SavedFilter*> filters,
              Tracker& tracker)
      : api_(api), filters_(std::move(filters)), tracker_(tracker) {}

  void OpenFilter(std::string_view name) override {
    while (next_ < filters_.size() && !filterfile::SameFilterName(filters_[next_]->name, name))
      WithoutRows(*filters_[next_++]);
    opened_ = next_ < filters_.size();
    if (opened_) Open(*filters_[next_++]);  // else checked when the backup was loaded
  }
  void AddRow(std::string_view text, int16_t access) override {
    if (opened_) api_.AddRow(text, access);
  }
  void CloseFilter() override {
    if (!opened_) return;
    opened_ = false;
    Close();
  }
  void PassedOver(uint64_t) override { tracker_.Failed("read", 0); }
  void RowLost() override { api_.RowLost(); }

  // The filters without rows after the last one with rows.
  void Finish() {
    while (next_ < filters_.size()) WithoutRows(*filters_[next_++]);
  }
  // The filter the reader was at when the records failed, and all after it.
  void ReadFailed() {
    tracker_.Failed("read", 0);
    for (; next_ < filters_.size(); ++next_) {
      const SavedFilter& f = *filters_[next_];
      tracker_.Begin(f.application, f.database, f.name, false);
      tracker_.Failed("read", 0);
    }
  }

 private:
  void Open(const SavedFilter& f) {
    tracker_.Begin(f.application, f.database, f.name, false);
    api_.SetFilterValues(f.active, f.access);
    api_.OpenFilter(f.name);
  }
  void WithoutRows(const SavedFilter& f) {
    Open(f);
    Close();
  }
  void Close() {
    const uint64_t before = api_.committedCount();
    api_.CloseFilter();
    if (api_.committedCount() > before) tracker_.PutBack();
  }

  filterfile::ApiFilterSink& api_;
  std::vector<const SavedFilter*> filters_;
  Tracker& tracker_;
  size_t next_ = 0;
  bool opened_ = false;  // the reader's filter is one of the backup's
};

// Deletes the created names that the database holds now; a name the command
// never got to create is not there and needs nothing.
int DeleteCreated(essbase::EssbaseApi& api, const essbase::Handle& context,
                  const filterfile::CallHooks& hooks, const DatabaseRange& range,
                  const std::vector<const CreatedName*>& created, Tracker& tracker) {
  if (created.empty()) return 0;
  const char* app = range.application.c_str();
  const char* db = range.database.c_str();
  tracker.Begin(range.application, range.database, created.front()->name, true);
  int16_t count = 0;
  std::set<std::string, std::less<>> present;  // as the server names them
  int32_t status = filterfile::RunCall(hooks, {essbase::Operation::EsbListFilters},
                                       [&] { return api.EsbListFilters(context, app, db, count); });
  for (int i = 0; status == 0 && i < count; ++i) {
    std::array<char, essbase::FilterNameWidth> field{};
    status = filterfile::RunCall(hooks, {essbase::Operation::EsbGetNextItem}, [&] {
      return api.EsbGetNextItem(context, essbase::ItemFilterName, field);
    });
    if (status == 0)
      present.emplace(filterfile::ServerFilterName(essbase::GetFixed(field.data(), field.size())));
  }
  int deleted = 0;
  for (const CreatedName* c : created) {
    tracker.Begin(c->application, c->database, c->name, true);
    if (status != 0) {
      // Without the listing nothing is known of the name: reported, not deleted.
      tracker.Failed("EsbListFilters", status);
      continue;
    }
    if (!present.contains(filterfile::ServerFilterName(c->name))) continue;
    const int32_t s = filterfile::RunCall(hooks, {essbase::Operation::EsbDeleteFilter}, [&] {
      return api.EsbDeleteFilter(context, app, db, c->name.c_str());
    });
    if (s == 0) ++deleted;
  }
  return deleted;
}

}  // namespace

RestoreOutcome RestoreBackup(essbase::EssbaseApi& api, const essbase::Handle& context,
                             const filterfile::CallHooks& hooks, const LoadedBackup& backup) {
  RestoreOutcome outcome;
  Tracker tracker;
  filterfile::CallHooks tracked;
  tracked.onStatus = hooks.onStatus;
  tracked.definitions = hooks.definitions;
  // A call the caller's hook repeats has not failed yet: only the answer
  // that gives up on it makes the filter a failure.
  tracked.onFailure = [&](filterfile::ServerCall call, int32_t status) {
    const filterfile::AfterFailure after =
        hooks.onFailure ? hooks.onFailure(call, status) : filterfile::AfterFailure::GoOn;
    if (after == filterfile::AfterFailure::GoOn)
      tracker.Failed(essbase::OperationName(call.operation), status);
    return after;
  };
  std::string unopened;
  const int fd = OpenRegularFile(backup.recordsPath, unopened);
  const BackupInfo& info = backup.info;
  FiltersByDatabase filters = GroupFilters(info);
  std::map<std::pair<std::string, std::string>, std::vector<const CreatedName*>> created;
  for (const CreatedName& c : info.created) created[{c.application, c.database}].push_back(&c);
  for (const DatabaseRange& range : info.databases) {
    const std::pair<std::string, std::string> key{range.application, range.database};
    filterfile::ApiFilterSink api_sink(api, context, range.application, range.database, tracked);
    RestoreSink sink(api_sink, filters[key], tracker);
    if (range.length == 0) {
      sink.Finish();
    } else {
      RangeStream in(fd, range.offset, range.length);
      if (fd < 0 || filterfile::ReadFilterFile(in, sink) != filterfile::ReadOutcome::Complete) {
        sink.ReadFailed();
      } else {
        sink.Finish();
      }
    }
    outcome.deleted += DeleteCreated(api, context, tracked, range, created[key], tracker);
  }
  if (fd >= 0) ::close(fd);
  // A filter the backup holds counts as restored only once it is back; one
  // that neither came back nor failed a call was never reached in the records.
  for (const SavedFilter& f : info.filters) {
    if (tracker.IsBack(f.application, f.database, f.name)) {
      ++outcome.restored;
    } else if (!tracker.HasFailed(f.application, f.database, f.name)) {
      tracker.Begin(f.application, f.database, f.name, false);
      tracker.Failed("read", 0);
    }
  }
  outcome.failures = tracker.failures();
  return outcome;
}

}  // namespace backup
