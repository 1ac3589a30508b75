#pragma once
// The backup the desktop's Change, Delete and Import take before their first
// write call. Each returns the backup's outcome; when !mayWrite() the command
// shows BackupFailedMessage (critical icon, OK) and makes no write call.
#include <string>
#include <vector>

#include "backup/TakeBackup.h"
#include "essbase/Session.h"

namespace desktop {

// Delete and Import: reads the targets from the server through the session
// (a dropped session logs in again and the read is repeated once).
backup::BackupOutcome BackupBeforeWrite(essbase::Session& session, const std::string& command,
                                        const std::vector<backup::Target>& targets);
// Change: saves the filters its read pass already holds.
backup::BackupOutcome BackupBeforeWrite(essbase::Session& session, const std::string& command,
                                        const std::vector<backup::FilterCopy>& filters);
// Import: the target database's filters of the names `file` defines, and the
// names the import creates.
backup::BackupOutcome BackupBeforeImport(essbase::Session& session, const std::string& file,
                                         const std::string& application,
                                         const std::string& database);

std::string BackupFailedMessage(const backup::BackupOutcome& outcome);

}  // namespace desktop
