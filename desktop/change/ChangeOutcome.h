#pragma once
// What a change run was asked to work on, and how it ended: the caller turns
// the outcome into its own messages.
#include <cstdint>
#include <string>
#include <vector>

#include "essbase/Failure.h"

namespace desktop::change {

struct DatabaseName {
  std::string application;
  std::string database;
};

struct ChangeScope {
  bool allDatabases = false;
  // One database: the tree's selected database, none when no database node
  // is selected. All databases: every marked database in tree order.
  std::vector<DatabaseName> databases;
  // One database: the ticked filters in list order. Not used for all
  // databases, whose filters the run lists itself.
  std::vector<std::string> filters;
};

enum class ChangeEnd {
  // Ends before anything is written.
  NoDatabase,           // one database, but no database node selected
  ActivationFailed,     // status: after one login again on ReloginStatus
  FilterOpenFailed,     // status: opening a filter or reading its first row
  LaterRowFailed,       // status: reading a later row
  ListingFailed,        // status: listing a marked database's filters
  TooManyRows,          // rows: more than RowStore::MaxRows in all
  TooManyApplications,  // applications: more than MaxAppsToUnload to unload
  ReadFailed,           // description: a failure of the run-time while reading
  NoDatabasesMarked,    // all databases, none marked
  NoRows,               // nothing read, nothing written
  BackupFailed,         // description: why the rows read could not be saved
  Read,                 // the read pass completed (Preview ends here)
  // Ends in the write pass.
  Cancelled,  // Cancel in the retry question: no further call
  Changed,    // changedFilters
};

struct ChangeOutcome {
  ChangeEnd end = ChangeEnd::Read;
  int32_t status = 0;
  int rows = 0;  // rows read
  int applications = 0;
  int changedFilters = 0;  // filters given the new access on at least one row
  std::string description;
  essbase::Failure failure;  // the failed step, where one ended the run
};

}  // namespace desktop::change
