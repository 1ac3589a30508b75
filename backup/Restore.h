#pragma once
// Puts every filter of a backup back into its own application and database
// as it was (rows, row access, its own active flag and access), through the
// same sink as Import, and deletes the filters the backed-up command created.
// A failing call is reported and the other filters are still restored.
#include <string>
#include <vector>

#include "backup/LoadBackup.h"
#include "essbase/library/EssbaseApi.h"
#include "filterfile/ServerCall.h"

namespace backup {

struct RestoreFailure {
  std::string application;
  std::string database;
  std::string filter;
  bool created = false;   // a filter that was to be deleted
  std::string operation;  // the call that failed, or "read" for the backup itself
  int32_t status = 0;
};

struct RestoreOutcome {
  int restored = 0;                      // filters put back whole
  int deleted = 0;                       // created filters deleted
  std::vector<RestoreFailure> failures;  // one per filter, its first failure
  bool ok() const { return failures.empty(); }
};

// `context` is read at every call, so a hook that logs in again can renew it.
RestoreOutcome RestoreBackup(essbase::EssbaseApi& api, const essbase::Handle& context,
                             const filterfile::CallHooks& hooks, const LoadedBackup& backup);

}  // namespace backup
