#pragma once
// What a backup holds besides its row records. A backup is two files with one
// name stem:
//   STEM.txt   the row records, byte for byte a filter export file (each
//              record names its own application and database), so it also
//              imports anywhere with the ordinary Import;
//   STEM.info  this description, LF-ended lines of TAB-separated fields:
//     quorvel-backup  1
//     command   import|change|delete|restore
//     time      2026-12-08 08:38:25 +0100      (local time of the backup)
//     server    NAME
//     database  APP  DB  OFFSET  LENGTH        (its records: a byte range of STEM.txt)
//     filter    APP  DB  NAME  ACTIVE  ACCESS  ROWS   (listing order)
//     created   APP  DB  NAME                  (a name the command was to create)
//     end
// The records of one database stand together, so a restore reads each
// database's range with the ordinary reader and never merges two filters of
// one name from different databases. A filter without rows has no record;
// its `filter` line alone brings it back. The closing `end` line tells a
// complete description from a cut one. No login name, no password.
#include <cstdint>
#include <istream>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace backup {

struct DatabaseRange {
  std::string application;
  std::string database;
  uint64_t offset = 0;
  uint64_t length = 0;
  bool operator==(const DatabaseRange&) const = default;
};

struct SavedFilter {
  std::string application;
  std::string database;
  std::string name;
  int16_t active = 1;
  int16_t access = 0;
  uint64_t rows = 0;
  bool operator==(const SavedFilter&) const = default;
};

struct CreatedName {
  std::string application;
  std::string database;
  std::string name;
  bool operator==(const CreatedName&) const = default;
};

struct BackupInfo {
  std::string command;
  std::string time;
  std::string server;
  std::vector<DatabaseRange> databases;
  std::vector<SavedFilter> filters;
  std::vector<CreatedName> created;
  bool operator==(const BackupInfo&) const = default;
};

void WriteBackupInfo(std::ostream& out, const BackupInfo& info);

// The description, or nothing with `reason` set when the text is not a whole
// description of this version.
std::optional<BackupInfo> ParseBackupInfo(std::istream& in, std::string& reason);

// Whether a backup's server is the one logged in to: server names are
// host names, compared ignoring ASCII letter case; a URL is compared in its
// normal form (essbase::NormalServer), so another spelling of it matches.
bool SameServer(std::string_view a, std::string_view b);

}  // namespace backup
