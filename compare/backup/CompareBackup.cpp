#include "compare/backup/CompareBackup.h"

#include <fcntl.h>
#include <unistd.h>

#include "backup/RangeStream.h"

namespace compare {

namespace {

CompareOutcome CompareDatabase(essbase::EssbaseApi& api, const essbase::Handle& context, int fd,
                               const backup::BackupInfo& info, const backup::DatabaseRange& range,
                               const ServerRead& read, DifferenceSink& out) {
  CompareOutcome outcome;
  IncomingSet incoming;
  for (const backup::SavedFilter* f : backup::FiltersOf(info, range))
    incoming.Expect(f->name, {f->active, f->access});
  for (const backup::CreatedName& c : info.created)
    if (c.application == range.application && c.database == range.database) incoming.Delete(c.name);
  if (range.length > 0) {
    backup::RangeStream in(fd, range.offset, range.length);
    if (fd < 0 || filterfile::ReadFilterFile(in, incoming) != filterfile::ReadOutcome::Complete) {
      outcome.end = CompareEnd::FileUnreadable;
      return outcome;
    }
  }
  outcome.passedOver = incoming.passedOver();
  outcome.firstPassedOver = incoming.firstPassedOver();
  Comparison comparison(incoming, out, Scope::NamedFilters);
  outcome.end = incoming.spillError() != 0 ? CompareEnd::SpillFailed
                                           : CompareWithDatabase(api, context, range.application,
                                                                 range.database, read, comparison);
  outcome.tally = comparison.tally();
  outcome.spillError = incoming.spillError();
  return outcome;
}

}  // namespace

CompareOutcome CompareBackupWithServer(essbase::EssbaseApi& api, const essbase::Handle& context,
                                       const backup::LoadedBackup& backup, const ServerRead& read,
                                       BackupDifferenceSink& out) {
  CompareOutcome outcome;
  const int fd = ::open(backup.recordsPath.c_str(), O_RDONLY | O_CLOEXEC);
  for (const backup::DatabaseRange& range : backup.info.databases) {
    out.Database(range.application, range.database);
    const CompareOutcome one = CompareDatabase(api, context, fd, backup.info, range, read, out);
    outcome.tally += one.tally;
    outcome.passedOver += one.passedOver;
    if (outcome.firstPassedOver == 0) outcome.firstPassedOver = one.firstPassedOver;
    outcome.end = one.end;
    outcome.spillError = one.spillError;
    if (!one.ok()) break;
  }
  if (fd >= 0) ::close(fd);
  return outcome;
}

}  // namespace compare
