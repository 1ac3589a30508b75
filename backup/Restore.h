#pragma once
// Puts every filter of a backup back into its own application and database
// as it was (rows, row access, its own active flag and access), each written
// whole, and deletes the filters the backed-up command created. A failing
// step is reported and the other filters are still restored.
#include <string>
#include <vector>

#include "backup/LoadBackup.h"
#include "essbase/Server.h"

namespace backup {

struct RestoreFailure {
  std::string application;
  std::string database;
  std::string filter;
  bool created = false;   // a filter that was to be deleted
  std::string operation;  // the call that failed, or "read" for the backup itself
  int32_t status = 0;
  essbase::Failure failure;  // the server's or the client's words, when any
};

struct RestoreOutcome {
  int restored = 0;                      // filters put back whole
  int deleted = 0;                       // created filters deleted
  std::vector<RestoreFailure> failures;  // one per filter, its first failure
  bool ok() const { return failures.empty(); }
};

// Logging in again follows the caller's session policy.
RestoreOutcome RestoreBackup(essbase::Server& server, const LoadedBackup& backup);

}  // namespace backup
