#pragma once
// Saving the current definitions of exactly the filters a command is about to
// rewrite or delete, before its first write call. Either from the server,
// through the same record producer as Export, or from rows the command has
// already read. A backup that is not whole on disk is no backup: the outcome
// then says why, and the command must make no write call.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "backup/Place.h"
#include "essbase/Server.h"

namespace backup {

// The filters of one database a command will touch.
struct Target {
  std::string application;
  std::string database;
  // The names; unset: every filter of the database.
  std::optional<std::vector<std::string>> names;
  // Whether a name the server does not have is one the command creates (an
  // import): the restore then deletes it again.
  bool missingAreCreated = false;
};

struct Request {
  std::string command;  // import, change, delete, restore
  std::string server;
  std::vector<Target> targets;
};

struct RowCopy {
  int16_t access = 0;
  std::string text;
};

// A filter as the command read it: its own active flag and access, its rows
// in the server's order.
struct FilterCopy {
  std::string application;
  std::string database;
  std::string name;
  int16_t active = 1;
  int16_t access = 0;
  std::vector<RowCopy> rows;
};

enum class BackupResult {
  Written,
  NothingToBackUp,    // no filter to save: no file, and the command may go on
  FolderUnavailable,  // the backups folder cannot be made or written
  WriteFailed,        // a byte did not reach the disk (a full disk, say)
  ServerFailure,      // reading a filter failed (failure says how)
};

struct BackupOutcome {
  BackupResult result = BackupResult::Written;
  std::string path;    // Written: the records file
  std::string reason;  // otherwise: why, in words
  int32_t status = 0;  // ServerFailure: the failed step's status
  essbase::Failure failure;
  bool mayWrite() const {
    return result == BackupResult::Written || result == BackupResult::NothingToBackUp;
  }
};

// Reads the targets from the server: each database is listed, and only the
// named filters are read and saved, rows of any length whole. Logging in
// again follows the caller's session policy.
BackupOutcome TakeBackup(essbase::Server& server, const Request& request, const Place& place);

// Saves filters already read (Change keeps them in its row store). The
// request's targets are not used.
BackupOutcome SaveCopies(const Request& request, const std::vector<FilterCopy>& filters,
                         const Place& place);

}  // namespace backup
