#include "compare/backup/CompareBackup.h"

#include <map>

#include "backup/RangeStream.h"
#include "backup/RegularFile.h"
#include "platform/Descriptor.h"

namespace compare {

namespace {

using Created = std::map<std::pair<std::string, std::string>, std::vector<std::string>>;

CompareOutcome CompareDatabase(essbase::Server& server, int fd, filterfile::FileEncoding encoding,
                               const std::vector<const backup::SavedFilter*>& filters,
                               const std::vector<std::string>& created,
                               const backup::DatabaseRange& range, const ServerRead& read,
                               DifferenceSink& out) {
  CompareOutcome outcome;
  IncomingSet incoming;
  for (const backup::SavedFilter* f : filters) incoming.Expect(f->name, {f->active, f->access});
  for (const std::string& name : created) incoming.Delete(name);
  if (range.length > 0) {
    backup::RangeStream in(fd, range.offset, range.length);
    if (fd < 0 || filterfile::ReadFilterFile(in, incoming, nullptr, encoding) !=
                      filterfile::ReadOutcome::Complete) {
      outcome.end = CompareEnd::FileUnreadable;
      return outcome;
    }
  }
  outcome.passedOver = incoming.passedOver();
  outcome.firstPassedOver = incoming.firstPassedOver();
  Comparison comparison(incoming, out, Scope::NamedFilters);
  outcome.end = incoming.spillError() != 0
                    ? CompareEnd::SpillFailed
                    : CompareWithDatabase(server, {range.application, range.database}, read,
                                          comparison, outcome.failure);
  outcome.tally = comparison.tally();
  outcome.spillError = incoming.spillError();
  return outcome;
}

}  // namespace

CompareOutcome CompareBackupWithServer(essbase::Server& server, const backup::LoadedBackup& backup,
                                       const ServerRead& read, BackupDifferenceSink& out) {
  CompareOutcome outcome;
  std::string unopened;
  const int fd = backup::OpenRegularFile(backup.recordsPath, unopened);
  const filterfile::FileEncoding encoding = backup::RecordsEncoding(fd);
  backup::FiltersByDatabase filters = backup::GroupFilters(backup.info);
  Created created;
  for (const backup::CreatedName& c : backup.info.created)
    created[{c.application, c.database}].push_back(c.name);
  for (const backup::DatabaseRange& range : backup.info.databases) {
    out.Database(range.application, range.database);
    const std::pair<std::string, std::string> key{range.application, range.database};
    const CompareOutcome one =
        CompareDatabase(server, fd, encoding, filters[key], created[key], range, read, out);
    outcome.tally += one.tally;
    outcome.passedOver += one.passedOver;
    if (outcome.firstPassedOver == 0) outcome.firstPassedOver = one.firstPassedOver;
    outcome.end = one.end;
    outcome.spillError = one.spillError;
    outcome.failure = one.failure;
    if (!one.ok()) break;
  }
  if (fd >= 0) platform::CloseFile(fd);
  return outcome;
}

}  // namespace compare
