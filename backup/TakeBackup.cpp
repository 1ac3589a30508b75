#include "backup/TakeBackup.h"

#include <map>
#include <set>
#include <string_view>

#include "backup/BackupWriter.h"
#include "filterfile/FilterFileReader.h"
#include "essbase/Constants.h"
#include "filterfile/RecordWriter.h"
#include "filterfile/RowRecord.h"

namespace backup {

namespace {

// One target per database, in first-named order: a database named twice
// would have its filters saved twice.
std::vector<Target> Merged(const std::vector<Target>& targets) {
  std::vector<Target> out;
  std::map<std::pair<std::string, std::string>, size_t> at;  // where each database went
  for (const Target& t : targets) {
    const auto [place, first] = at.try_emplace({t.application, t.database}, out.size());
    if (first) {
      out.push_back(t);
      continue;
    }
    Target* same = &out[place->second];
    same->missingAreCreated = same->missingAreCreated || t.missingAreCreated;
    if (!same->names || !t.names) {
      same->names.reset();
    } else {
      same->names->insert(same->names->end(), t.names->begin(), t.names->end());
    }
  }
  return out;
}

}  // namespace

BackupOutcome TakeBackup(essbase::Server& server, const Request& request, const Place& place) {
  BackupWriter writer(request, place);
  if (!writer.Open()) return writer.outcome();
  essbase::ReadOptions options;
  // A row of any length the server allows reaches the backup whole.
  options.rowBuffer = essbase::MaxRowLength + 1;
  // Only the filters the command touches are read: one it leaves alone that
  // cannot be read must not block it.
  options.readUnwanted = false;

  for (const Target& target : Merged(request.targets)) {
    // No name: nothing of this database to save, and no call to make.
    if (target.names && target.names->empty()) continue;
    // Names compare as the server compares them: "Tb " in a file is the
    // server's "Tb", to be saved, not a name the command creates.
    std::set<std::string, std::less<>> wanted;
    if (target.names)
      for (const std::string& name : *target.names)
        wanted.emplace(filterfile::ServerFilterName(name));
    std::set<std::string, std::less<>> found;
    filterfile::RecordWriter& records = writer.records();
    records.onFilter = [&](const essbase::Database& db, const essbase::Filter& f) {
      found.emplace(filterfile::ServerFilterName(f.name));
      writer.AddFilter({db.application, db.database, f.name, f.active, f.access, f.rows.size()});
    };
    writer.BeginDatabase(target.application, target.database);
    const essbase::Failure failed = server.ReadDatabase(
        {target.application, target.database},
        [&](std::string_view name) {
          return !target.names || wanted.contains(filterfile::ServerFilterName(name));
        },
        options, records);
    writer.EndDatabase();
    records.onFilter = nullptr;
    if (records.result() != filterfile::RecordWriter::Result::Written) return writer.WriteFailed();
    if (failed) return writer.ServerFailed(failed);
    if (!target.missingAreCreated || !target.names) continue;
    for (const std::string& named : *target.names) {
      const std::string name(filterfile::ServerFilterName(named));
      if (found.insert(name).second) writer.AddCreated({target.application, target.database, name});
    }
  }
  return writer.Commit();
}

BackupOutcome SaveCopies(const Request& request, const std::vector<FilterCopy>& filters,
                         const Place& place) {
  BackupWriter writer(request, place);
  if (!writer.Open()) return writer.outcome();
  // Database by database, in first-met order, each filter once.
  std::vector<std::pair<std::string, std::string>> databases;
  for (const FilterCopy& f : filters) {
    std::pair<std::string, std::string> key{f.application, f.database};
    if (std::find(databases.begin(), databases.end(), key) == databases.end())
      databases.push_back(std::move(key));
  }
  for (const auto& [application, database] : databases) {
    std::set<std::string, std::less<>> saved;
    writer.BeginDatabase(application, database);
    for (const FilterCopy& f : filters) {
      if (f.application != application || f.database != database) continue;
      if (!saved.insert(f.name).second) continue;
      essbase::Filter copy{f.name, f.active, f.access, {}};
      for (const RowCopy& row : f.rows) copy.rows.push_back({row.access, row.text});
      if (writer.records().Write({application, database}, copy) !=
          filterfile::RecordWriter::Result::Written)
        return writer.WriteFailed();
      writer.AddFilter({application, database, f.name, f.active, f.access, f.rows.size()});
    }
    writer.EndDatabase();
  }
  return writer.Commit();
}

}  // namespace backup
