#include "backup/DefinedNames.h"

#include <map>
#include <set>

#include "filterfile/FilterFileReader.h"

namespace backup {

namespace {

class NameSink final : public filterfile::FilterSink {
 public:
  // Each filter once, named as the server will keep it.
  void OpenFilter(std::string_view name) override {
    name = filterfile::ServerFilterName(name);
    if (seen_.emplace(name).second) names.emplace_back(name);
  }
  void AddRow(std::string_view, int16_t) override {}
  void CloseFilter() override {}
  void PassedOver(uint64_t) override {}
  void RowLost() override {}

  std::vector<std::string> names;

 private:
  std::set<std::string, std::less<>> seen_;
};

}  // namespace

std::optional<std::vector<std::string>> NamesDefinedBy(std::istream& in, uint64_t* tooLongLine) {
  NameSink sink;
  uint64_t stoppedAt = 0;
  const filterfile::ReadOutcome read = filterfile::ReadFilterFile(in, sink, &stoppedAt);
  if (tooLongLine) *tooLongLine = read == filterfile::ReadOutcome::LineTooLong ? stoppedAt : 0;
  if (read != filterfile::ReadOutcome::Complete) return std::nullopt;
  return std::move(sink.names);
}

Request ImportRequest(const std::string& server, const std::string& application,
                      const std::string& database, std::vector<std::string> names) {
  return {"import", server, {{application, database, std::move(names), true}}};
}

Request RestoreRequest(const std::string& server, const BackupInfo& info) {
  Request request{"restore", server, {}};
  std::map<std::pair<std::string, std::string>, size_t> at;  // each database's target
  for (const DatabaseRange& d : info.databases) {
    at.emplace(std::pair{d.application, d.database}, request.targets.size());
    request.targets.push_back({d.application, d.database, std::vector<std::string>{}, true});
  }
  auto add = [&](const std::string& app, const std::string& db, const std::string& name) {
    if (const auto t = at.find({app, db}); t != at.end())
      request.targets[t->second].names->push_back(name);
  };
  for (const SavedFilter& f : info.filters) add(f.application, f.database, f.name);
  for (const CreatedName& c : info.created) add(c.application, c.database, c.name);
  return request;
}

}  // namespace backup
