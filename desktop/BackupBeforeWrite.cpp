#include "desktop/BackupBeforeWrite.h"

#include <fstream>

#include "backup/DefinedNames.h"
#include "desktop/Messages.h"
#include "desktop/ReloginHooks.h"

namespace desktop {

backup::BackupOutcome BackupBeforeWrite(essbase::Session& session, const std::string& command,
                                        const std::vector<backup::Target>& targets) {
  // Backups only read: every call may be repeated after a login again.
  const filterfile::CallHooks hooks =
      ReloginHooks(session, [](filterfile::ServerCall) { return true; });
  return backup::TakeBackup(session.api(), session.conn().ContextHandle, hooks,
                            {command, session.conn().Server, targets},
                            backup::PlaceFromEnvironment());
}

backup::BackupOutcome BackupBeforeWrite(essbase::Session& session, const std::string& command,
                                        const std::vector<backup::FilterCopy>& filters) {
  return backup::SaveCopies({command, session.conn().Server, {}}, filters,
                            backup::PlaceFromEnvironment());
}

backup::BackupOutcome BackupBeforeImport(essbase::Session& session, const std::string& file,
                                         const std::string& application,
                                         const std::string& database) {
  std::ifstream in(file, std::ios::binary);
  // The import reports a file it cannot open, and then writes nothing.
  if (!in.is_open()) return {backup::BackupResult::NothingToBackUp, {}, {}, 0};
  std::optional<std::vector<std::string>> names = backup::NamesDefinedBy(in);
  if (!names)
    return {backup::BackupResult::WriteFailed, {}, std::string(msg::ImportFileUnreadable), 0};
  const backup::Request request =
      backup::ImportRequest(session.conn().Server, application, database, std::move(*names));
  return BackupBeforeWrite(session, request.command, request.targets);
}

std::string BackupFailedMessage(const backup::BackupOutcome& outcome) {
  return std::string(msg::BackupFailed) + outcome.reason + ".";
}

}  // namespace desktop
