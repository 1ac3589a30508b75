#include "cli/BatchBackup.h"

#include <fstream>

#include "backup/DefinedNames.h"
#include "backup/LoadBackup.h"
#include "backup/Restore.h"
#include "backup/TakeBackup.h"
#include "cli/Messages.h"
#include "platform/Path.h"

namespace cli {

namespace {

// No description covers these steps: a filter read, written or deleted is
// made again, whole, once after a new login with the run's credentials.
essbase::Policy Whole() {
  return essbase::policy::WholeFilters(essbase::Policy::Login::Quiet);
}

bool Backup(RunState& state, const backup::Request& request, std::string_view failureLine) {
  auto policed = state.session.Under(Whole());
  const backup::BackupOutcome outcome =
      backup::TakeBackup(state.server(), request, backup::PlaceFromEnvironment());
  if (outcome.mayWrite()) return true;
  state.Log(std::string(failureLine) + Text(outcome.reason));
  return false;
}

std::string Where(const backup::RestoreFailure& f) {
  return Text(f.application + "/" + f.database + "/" + f.filter);
}

}  // namespace

bool BackupBeforeImport(RunState& state, const BatchArguments& args) {
  if (backup::BackupTurnedOff()) return true;
  std::ifstream in(platform::PathOf(args.file), std::ios::binary);
  // The import reports a file it cannot open, and then writes nothing.
  if (!in.is_open()) return true;
  uint64_t tooLong = 0;
  std::optional<std::vector<std::string>> names = backup::NamesDefinedBy(in, &tooLong);
  if (!names) {
    state.Log(std::string(msg::NoBackupBeforeImport) +
              (tooLong ? msg::ImportLineTooLong(tooLong) : std::string(msg::ImportFileUnreadable)));
    return false;
  }
  return Backup(
      state, backup::ImportRequest(args.server, args.application, args.database, std::move(*names)),
      msg::NoBackupBeforeImport);
}

bool BatchRestore(RunState& state, const BatchArguments& args) {
  std::string reason;
  const std::optional<backup::LoadedBackup> loaded = backup::LoadBackup(args.file, reason);
  if (!loaded) {
    state.Log(std::string(msg::BackupNotRestored) + args.file + ": " + Text(reason));
    return false;
  }
  // Restoring another server's filters here would replace this one's.
  if (!backup::SameServer(loaded->info.server, args.server)) {
    state.Log(std::string(msg::BackupOfOtherServer) + Text(loaded->info.server) +
              std::string(msg::BackupOfOtherServerEnd));
    return false;
  }
  if (!backup::BackupTurnedOff() &&
      !Backup(state, backup::RestoreRequest(args.server, loaded->info), msg::NoBackupBeforeRestore))
    return false;

  backup::RestoreOutcome outcome;
  {
    auto policed = state.session.Under(Whole());
    outcome = backup::RestoreBackup(state.server(), *loaded);
  }
  for (const backup::RestoreFailure& f : outcome.failures) {
    const std::string what = f.operation == "read" ? std::string(msg::BackupUnreadable)
                                                   : f.operation + std::string(msg::CallReturned) +
                                                         std::to_string(f.status);
    state.Log(std::string(f.created ? msg::CreatedNotDeleted : msg::FilterNotRestored) + Where(f) +
              ", " + what);
    state.LogFailure(f.failure);
  }
  state.Log(std::string(msg::RestoreSummaryStart) + args.file +
            std::string(msg::RestoreSummaryRestored) + std::to_string(outcome.restored) +
            std::string(msg::RestoreSummaryDeleted) + std::to_string(outcome.deleted) +
            std::string(msg::RestoreSummaryFailed) + std::to_string(outcome.failures.size()));
  return outcome.ok();
}

}  // namespace cli
