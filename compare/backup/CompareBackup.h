#pragma once
// A backup against the server: what restoring it now would change, database
// by database. Each database's records (a byte range of the backup) are the
// incoming side, every filter with its own active flag and access from the
// description, those without rows included; the names the backed-up command
// created are the ones a restore deletes. The rest of each database is no
// concern of a restore and is not reported.
#include <string>

#include "backup/LoadBackup.h"
#include "compare/DatabaseSide.h"

namespace compare {

class BackupDifferenceSink : public DifferenceSink {
 public:
  // The differences that follow are this database's.
  virtual void Database(const std::string& application, const std::string& database) = 0;
};

// Stops at the first database that cannot be compared.
CompareOutcome CompareBackupWithServer(essbase::Server& server, const backup::LoadedBackup& backup,
                                       const ServerRead& read, BackupDifferenceSink& out);

}  // namespace compare
