#pragma once
// The backup the desktop's Change, Delete, Import and Restore take before
// their first write call. Each returns the backup's outcome; when
// !mayWrite() the command shows msg::BackupFailed with the outcome's reason
// (critical icon, OK) and makes no write call.
#include <string>
#include <vector>

#include "backup/TakeBackup.h"
#include "desktop/change/RowStore.h"
#include "essbase/Session.h"

namespace desktop {

// Delete, Import and Restore: reads the targets from the server through the
// session (a dropped session logs in again and the read is repeated once).
backup::BackupOutcome BackupBeforeWrite(essbase::Session& session, const std::string& command,
                                        const std::vector<backup::Target>& targets,
                                        const backup::Place& place);
// Change: saves the filters its read pass already holds, each with its own
// active flag and access.
backup::BackupOutcome BackupBeforeChange(essbase::Session& session, const change::RowStore& rows,
                                         const backup::Place& place);
// Import: the target database's filters of the names `file` defines, and the
// names the import creates.
backup::BackupOutcome BackupBeforeImport(essbase::Session& session, const std::string& file,
                                         const std::string& application,
                                         const std::string& database, const backup::Place& place);

}  // namespace desktop
